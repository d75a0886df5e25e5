#include "net/browser_cookies.h"

#include "net/cookies.h"
#include "net/url.h"
#include "text/codepage.h"
#include "text/search.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <optional>

namespace quorvane {
namespace {

constexpr DWORD kStoreTextLimit = 7500;
// Most hosts' cookies fit; more take a second read of the size the first reports.
constexpr DWORD kFirstReadChars = 4096;

// The store's cookies for the address, read once: the narrow
// call reads the store twice (for the size, then the text), and each read
// maps the store's index once for every domain and folder level of the
// address, which under Wine made the cookie store a large share of a
// request's processor time.
std::optional<std::string> storeText(const std::string& address) {
    const std::wstring url = gbkToWide(address);
    std::wstring text(kFirstReadChars, L'\0');
    DWORD size = static_cast<DWORD>(text.size());
    if (!InternetGetCookieW(url.c_str(), nullptr, text.data(), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
        // The size may come in bytes or in characters: enough for either.
        text.assign(size + 1, L'\0');
        size = static_cast<DWORD>(text.size());
        if (!InternetGetCookieW(url.c_str(), nullptr, text.data(), &size)) return std::nullopt;
    }
    text.resize(std::min<std::size_t>(text.find(L'\0'), text.size()));
    return wideToGbk(text);
}

bool beginsWithHttps(std::string_view text) {
    return text.size() >= 8 && findLeft(text.substr(0, 8), "https://", 1, true) == 1;
}

}  // namespace

std::string readBrowserCookies(std::string_view addressOrDomain, std::string_view name) {
    const std::optional<std::string> cookies = storeText("http://" + stripHttpsScheme(addressOrDomain));
    // The limit counts the text's closing zero.
    if (!cookies || cookies->size() >= kStoreTextLimit) return {};
    if (name.empty()) return *cookies;
    return cookieValue(*cookies, name);
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

std::string storeCookiesFor(const std::string& address) { return storeText(address).value_or(std::string()); }

void storeAnswerCookies(const std::string& address, std::string_view headers) {
    for (const std::string& line : splitText(headers, "\r\n")) {
        if (auto cookie = storeCookieOfSetCookieLine(line))
            InternetSetCookieA(address.c_str(), cookie->name.c_str(), cookie->data.c_str());
    }
}

}  // namespace quorvane
