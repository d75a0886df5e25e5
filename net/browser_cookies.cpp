#include "net/browser_cookies.h"

#include "net/cookies.h"
#include "net/url.h"
#include "text/search.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

namespace quorvane {
namespace {

constexpr DWORD kStoreTextLimit = 7500;

bool beginsWithHttps(std::string_view text) {
    return text.size() >= 8 && findLeft(text.substr(0, 8), "https://", 1, true) == 1;
}

}  // namespace

std::string readBrowserCookies(std::string_view addressOrDomain, std::string_view name) {
    const std::string address = "http://" + stripHttpsScheme(addressOrDomain);
    std::string buffer(kStoreTextLimit, ' ');
    DWORD length = kStoreTextLimit;
    if (!InternetGetCookieA(address.c_str(), nullptr, buffer.data(), &length)) return {};
    buffer.resize(std::min<std::size_t>(buffer.find('\0'), length));
    if (name.empty()) return buffer;
    return cookieValue(buffer, name);
}

void writeBrowserCookies(std::string_view addressOrDomain, std::string_view cookieList) {
    const std::string address =
        (beginsWithHttps(addressOrDomain) ? "https://" : "http://") + stripHttpsScheme(addressOrDomain);
    for (const CookieItem& item : cookieItems(cookieList)) {
        // The whole value goes in, "=" and all.
        if (item.value.empty()) continue;
        InternetSetCookieA(address.c_str(), item.name.c_str(), item.value.c_str());
    }
}

std::string storeCookiesFor(const std::string& address) {
    DWORD length = 0;
    if (!InternetGetCookieA(address.c_str(), nullptr, nullptr, &length) || length == 0) return {};
    std::string buffer(length, '\0');
    if (!InternetGetCookieA(address.c_str(), nullptr, buffer.data(), &length)) return {};
    return buffer.substr(0, buffer.find('\0'));
}

void storeAnswerCookies(const std::string& address, std::string_view headers) {
    for (const std::string& line : splitText(headers, "\r\n")) {
        if (auto cookie = storeCookieOfSetCookieLine(line))
            InternetSetCookieA(address.c_str(), cookie->name.c_str(), cookie->data.c_str());
    }
}

}  // namespace quorvane
