#include "net/com_request.h"

#include "net/cookies.h"
#include "net/request_object.h"
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
    const ComScope com;
    RequestObject object = RequestObject::create(requestObjects);
    if (!object) {
        notice("系统不支持本操作", "信息：", kWarningIcon);
        return {};
    }
    const std::string& address = *request.address;
    std::string method = request.method ? *request.method : std::string();
    if (method.empty()) method = "GET";
    if (request.method) *request.method = method;
    if (!request.proxy.empty()) {
        object.setProxy(request.proxy);
        if (!request.proxyUserName.empty()) object.setProxyCredentials(request.proxyUserName, request.proxyPassword);
    }
    std::string referrer = request.referrer ? *request.referrer : std::string();
    if (referrer.empty()) referrer = address;
    if (request.referrer) *request.referrer = referrer;

    object.open(method, address);
    object.setRequestHeader("Referer", referrer);
    object.setRequestHeader("Accept",
                            "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                            "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*");
    object.setRequestHeader("Accept-Language", "zh-cn");
    object.setRequestHeader("Content-Type", "application/x-www-form-urlencoded");
    if (!request.cookies.empty()) object.setRequestHeader("Cookie", request.cookies);
    // A limit below one second would be no limit or an instant failure.
    object.setTimeouts(request.timeLimit > 0 ? request.timeLimit * 1000 : kDefaultTimeoutMs);
    object.send(request.body);

    Bytes body = object.responseBody();
    if (request.cookiesOut) {
        const std::string cookies = cookiesJoined(object.allResponseHeaders());
        if (!cookies.empty() && !request.cookiesOut->empty()) *request.cookiesOut += "; ";
        *request.cookiesOut += cookies;
    }
    return body;
}

}  // namespace quorvane
