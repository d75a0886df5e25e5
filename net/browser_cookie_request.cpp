#include "net/browser_cookies.h"
#include "net/com_request.h"
#include "net/cookies.h"
#include "net/request_lines.h"
#include "net/request_object.h"
#include "net/url.h"
#include "text/search.h"

namespace quorvane {
namespace {

constexpr int kDefaultTimeoutMs = 15000;

std::string valueOr(const std::string* variable) { return variable ? *variable : std::string(); }

void store(std::string* variable, const std::string& value) {
    if (variable) *variable = value;
}

// The value of the answer's Location line; only a line named Location counts,
// so a Content-Location line is no redirect.
std::string locationOf(std::string_view headers) {
    std::string location;
    for (const std::string& line : splitText(headers, "\r\n")) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = trimText(line.substr(0, colon));
        if (name.size() == 8 && findLeft(name, "Location", 1, true) == 1) location = trimText(line.substr(colon + 1));
    }
    return location;
}

}  // namespace

Bytes comRequestWithBrowserCookies(const BrowserCookieRequest& request) {
    return comRequestWithBrowserCookies(request, kRequestObjects);
}

Bytes comRequestWithBrowserCookies(const BrowserCookieRequest& request,
                                   std::span<const wchar_t* const> requestObjects) {
    const ComScope com;
    std::string& address = *request.address;
    if (!address.starts_with("http")) address = "http://" + address;
    RequestObject object = RequestObject::create(requestObjects);
    if (!object) return {};

    std::string method = upperText(valueOr(request.method));
    if (method.empty()) method = "GET";
    store(request.method, method);
    if (request.timeLimit != 1) {
        object.setTimeouts(request.timeLimit < 1 ? kDefaultTimeoutMs : request.timeLimit * 1000);
    }
    const std::string proxy = valueOr(request.proxy);
    if (!proxy.empty()) {
        object.setProxy(proxy);
        const std::string userName = valueOr(request.proxyUserName);
        if (!userName.empty()) object.setProxyCredentials(userName, valueOr(request.proxyPassword));
    }
    object.open(method, address);
    if (request.noRedirects != 0) object.disableRedirects();

    std::string headerLines = valueOr(request.headerLines);
    if (headerLines.empty()) headerLines = defaultBrowserHeaderBlock(address);
    store(request.headerLines, headerLines);

    // The caller's cookies replace the store's cookies of the same name.
    const std::string domain = domainOfUrl(address, true);
    std::string cookies = readBrowserCookies(domain);
    std::string given = valueOr(request.cookies);
    mergeCookies(cookies, given);
    if (!cookies.empty()) object.setRequestHeader("Cookie", cookies);
    for (const auto& [name, value] : headerPairs(headerLines)) object.setRequestHeader(name, value);

    if (request.bodyBytes && !request.bodyBytes->empty()) {
        object.send(*request.bodyBytes);
    } else {
        object.send(valueOr(request.body));
    }

    Bytes body = object.responseBody();
    const std::string headers = object.allResponseHeaders();
    store(request.responseHeaders, headers);
    std::string answerCookies = cookieList(headers);
    mergeCookies(cookies, answerCookies);
    store(request.cookies, cookies);
    store(request.answerCookies, answerCookies);
    writeBrowserCookies(domain, cookies);
    if (request.redirectAddress) {
        const std::string location = locationOf(headers);
        if (!location.empty()) {
            *request.redirectAddress = location;
        } else if (request.redirectAddress->empty()) {
            *request.redirectAddress = headers;
        }
    }
    return body;
}

}  // namespace quorvane
