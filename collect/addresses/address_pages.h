#pragma once
// Fetching the pages the address analysis reads, as the system's text.
#include <string>

namespace quorvane {

// The plain page request with its defaults (GET, 60 s, redirects followed),
// taken as page text.
std::string fetchPageText(std::string address);

// An item page; when the plain request brings nothing, it is asked once more
// with the browser's cookies, which a page behind a login needs.
std::string fetchItemPageText(std::string address);

}  // namespace quorvane
