#include "collect/addresses/address_pages.h"

#include "collect/item/page_text.h"
#include "net/com_request.h"
#include "net/page_request.h"

namespace quorvane {

std::string fetchPageText(std::string address) { return pageText(fetchWebPage({.address = &address})); }

std::string fetchItemPageText(std::string address) {
    std::string plain = address;
    std::string text = spacedPageText(fetchWebPage({.address = &plain}));
    if (text.empty()) text = spacedPageText(comRequestWithBrowserCookies({.address = &address}));
    return gbkPageText(std::move(text));
}

}  // namespace quorvane
