#pragma once
// The system cookie store (the one the login browser fills), by domain.
#include <string>
#include <string_view>

namespace quorvane {

// The store's "a=1; b=2" for the host, or one cookie's value; empty when the
// store has none (or more than 7500 bytes of them).
std::string readBrowserCookies(std::string_view addressOrDomain, std::string_view name = {});

// Every item of the list that has a value goes into the store.
void writeBrowserCookies(std::string_view addressOrDomain, std::string_view cookieList);

// The store's cookies for a request to the address, path and scheme counted,
// as WinINet's own cookie handling would send them: "a=1; b=2", or empty.
std::string storeCookiesFor(const std::string& address);

// Every Set-Cookie line of a raw response header block goes into the store
// for the address, with its attributes (path, expiry, domain).
void storeAnswerCookies(const std::string& address, std::string_view headers);

}  // namespace quorvane
