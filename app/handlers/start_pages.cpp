#include "app/handlers/start_pages.h"

#include "app/handlers/stored_pages.h"
#include "net/host_map.h"
#include "text/extract.h"

namespace quorvane {

void showStartPages(ui::Window& main) {
    // Like every request, the pages follow the host table.
    main["超文本浏览框2"].navigate(routedBrowserAddress(storedPageAddress(kHelpPage)));
    main["超文本浏览框1"].navigate(routedBrowserAddress(storedPageAddress(kStartPage)));
}

std::string startPageComment(std::string_view pageSource) { return textBetween(pageSource, "<!--", "-->"); }

}  // namespace quorvane
