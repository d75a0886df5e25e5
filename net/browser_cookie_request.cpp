#include "net/browser_cookies.h"
#include "net/com_request.h"
#include "net/com_request_thread.h"
#include "net/cookies.h"
#include "net/request_limit.h"
#include "net/request_lines.h"
#include "net/url.h"
#include "text/search.h"

#include <optional>

namespace quorvane {
namespace {

constexpr int kDefaultTimeoutMs = 15000;
// The object's own time-outs are ignored under Wine; the wait is bounded by
// the longest of WinHttp's own finite ones, its connect time-out.
constexpr int kObjectsOwnLimitMs = 60000;

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
    std::string address = *request.address;
    if (!address.starts_with("http")) address = "http://" + address;
    std::string method = upperText(valueOr(request.method));
    if (method.empty()) method = "GET";
    // Nothing set: the object keeps its own time-outs.
    std::optional<int> timeoutMs;
    if (const std::optional<int> processLimit = processRequestLimitMs()) {
        timeoutMs = processLimit;
    } else if (request.timeLimit != 1) {
        timeoutMs = request.timeLimit < 1 ? kDefaultTimeoutMs : request.timeLimit * 1000;
    }
    std::string headerLines = valueOr(request.headerLines);
    if (headerLines.empty()) headerLines = defaultBrowserHeaderBlock(address);

    // The caller's cookies replace the store's cookies of the same name.
    const std::string domain = domainOfUrl(address, true);
    std::string cookies = readBrowserCookies(domain);
    std::string given = valueOr(request.cookies);
    mergeCookies(cookies, given);

    const auto answer = runComRequest(
        requestObjects, timeoutMs.value_or(kObjectsOwnLimitMs), true, request.maxBodyBytes,
        // Copies only: none of the caller's variables may be reached from there.
        [address, method, timeoutMs, headerLines, cookies, noRedirects = request.noRedirects != 0,
         body = valueOr(request.body), bodyBytes = request.bodyBytes ? *request.bodyBytes : Bytes(),
         proxy = valueOr(request.proxy), userName = valueOr(request.proxyUserName),
         password = valueOr(request.proxyPassword)](RequestObject& object) {
            if (timeoutMs) object.setTimeouts(*timeoutMs);
            if (!proxy.empty()) {
                object.setProxy(proxy);
                if (!userName.empty()) object.setProxyCredentials(userName, password);
            }
            object.open(method, address);
            if (noRedirects) object.disableRedirects();
            if (!cookies.empty()) object.setRequestHeader("Cookie", cookies);
            for (const auto& [name, value] : headerPairs(headerLines)) object.setRequestHeader(name, value);
            return bodyBytes.empty() ? object.send(body) : object.send(bodyBytes);
        });
    // A request abandoned at its limit changes neither the caller's variables
    // nor the system store.
    if (!answer) return {};
    *request.address = address;
    if (answer->noObject) return {};
    if (answer->pastBound) {
        logOversizedAnswer(address, request.maxBodyBytes);
        return {};
    }

    store(request.method, method);
    store(request.headerLines, headerLines);
    const std::string& headers = answer->responseHeaders;
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
    return answer->body;
}

}  // namespace quorvane
