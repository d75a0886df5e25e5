#include "net/com_request.h"

#include "net/com_request_thread.h"
#include "net/cookies.h"
#include "net/request_limit.h"
#include "text/codepage.h"

namespace quorvane {
namespace {

constexpr int kDefaultTimeoutMs = 15000;
constexpr unsigned kWarningIcon = 0x30;  // MB_ICONWARNING

}  // namespace

void showNoticeBox(std::string_view text, std::string_view title, unsigned style) {
    MessageBoxW(nullptr, gbkToWide(text).c_str(), gbkToWide(title).c_str(), style);
}

Bytes comHttpRequest(const ComRequest& request) { return comHttpRequest(request, kRequestObjects, showNoticeBox); }

Bytes comHttpRequest(const ComRequest& request, std::span<const wchar_t* const> requestObjects, NoticeBox notice) {
    const std::string address = *request.address;
    std::string method = request.method ? *request.method : std::string();
    if (method.empty()) method = "GET";
    std::string referrer = request.referrer ? *request.referrer : std::string();
    if (referrer.empty()) referrer = address;
    // A limit below one second would be no limit or an instant failure.
    const int limitMs =
        processRequestLimitMs().value_or(request.timeLimit > 0 ? request.timeLimit * 1000 : kDefaultTimeoutMs);

    auto answer = runComRequest(
        requestObjects, limitMs, false, request.maxBodyBytes,
        // Copies only: none of the caller's variables may be reached from there.
        [address, method, referrer, limitMs, body = request.body, cookies = request.cookies, proxy = request.proxy,
         userName = request.proxyUserName, password = request.proxyPassword](RequestObject& object) {
            if (!proxy.empty()) {
                object.setProxy(proxy);
                if (!userName.empty()) object.setProxyCredentials(userName, password);
            }
            object.open(method, address);
            object.setRequestHeader("Referer", referrer);
            object.setRequestHeader("Accept",
                                    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                                    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*");
            object.setRequestHeader("Accept-Language", "zh-cn");
            object.setRequestHeader("Content-Type", "application/x-www-form-urlencoded");
            if (!cookies.empty()) object.setRequestHeader("Cookie", cookies);
            object.setTimeouts(limitMs);
            return object.send(body);
        });
    // A request abandoned at its limit changes none of the caller's variables.
    if (!answer) return {};
    if (answer->noObject) {
        // Shown by the calling thread, which it holds until dismissed.
        notice("系统不支持本操作", "信息：", kWarningIcon);
        return {};
    }
    if (answer->pastBound) {
        logOversizedAnswer(address, request.maxBodyBytes);
        return {};
    }
    if (request.method) *request.method = method;
    if (request.referrer) *request.referrer = referrer;
    if (request.responseHeadersOut) *request.responseHeadersOut = answer->responseHeaders;
    if (request.cookiesOut) {
        const std::string cookies = cookiesJoined(answer->responseHeaders);
        if (!cookies.empty() && !request.cookiesOut->empty()) *request.cookiesOut += "; ";
        *request.cookiesOut += cookies;
    }
    return std::move(answer->body);
}

}  // namespace quorvane
