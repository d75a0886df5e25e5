#include "net/page_request.h"

#include "net/browser_cookies.h"
#include "net/cookies.h"
#include "net/host_map.h"
#include "net/request_limit.h"
#include "net/request_lines.h"
#include "net/request_thread.h"
#include "net/url.h"
#include "net/wininet_handle.h"
#include "text/codepage.h"
#include "text/search.h"

namespace quorvane {

const std::string kPageTimeoutNotice =
    "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些。";

namespace {

constexpr int kDefaultLimitSeconds = 60;

// The slots of the answer that the caller uses.
struct PageAnswer {
    bool pastBound = false;  // nothing else is set then
    bool cut = false;        // the body stopped short: no more an answer than one that came too late
    std::string body;
    std::string cookies;  // "a=1;b=2;"
    std::string responseHeaders;
};

struct PageJob {
    std::string address;
    bool post = false;
    std::string proxy;
    std::string headerLines;
    std::string postData;
    std::string cookies;
    bool followRedirects = true;
    int limitMs = 0;
    std::size_t maxBodyBytes = 0;
};

std::string upToZero(const std::string& text) { return text.substr(0, text.find('\0')); }

PageAnswer runWebPageWorker(const PageJob& job, const RequestExchange& exchange) {
    const bool https = isHttpsUrl(job.address);
    const std::string host = stripHttpsScheme(job.address);
    const std::string path = pathOfHttpsUrl(job.address);
    const RequestTarget target = routeRequest(https, host, portOfUrlOrDefault(job.address));
    const std::string agent = userAgentOfPageLines(job.headerLines);

    const std::string proxyLine = "http=" + job.proxy;
    InternetHandle internet(job.proxy.empty()
                                ? InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, "", "", 0)
                                : InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyLine.c_str(), "", 0));
    if (!internet) return {};
    limitRequestTimes(internet.get(), job.limitMs);
    InternetHandle connection(InternetConnectA(internet.get(), target.host.c_str(),
                                               static_cast<INTERNET_PORT>(target.port), "", "",
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};

    DWORD flags = INTERNET_FLAG_RELOAD;
    if (!job.followRedirects) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (target.secure) {
        flags = INTERNET_FLAG_SECURE;
    } else {
        flags |= INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    }
    // Nothing reads WinINet's cache: an answer written there (or to a file of
    // its own) is a file and an index update per request.
    flags |= INTERNET_FLAG_NO_CACHE_WRITE;
    // WinINet's own cookie handling stays off, for it would store an answer's
    // cookies on this thread after the caller gave up. Where it would be on
    // (https, or no cookies of the caller's), the store's cookies are sent by
    // hand; the caller stores the answer's.
    flags |= INTERNET_FLAG_NO_COOKIES;
    const bool storeHandling = target.secure || trimText(job.cookies).empty();
    const char* method = job.post ? "POST" : "GET";
    InternetHandle request(
        HttpOpenRequestA(connection.get(), method, path.c_str(), "HTTP/1.1", nullptr, nullptr, flags, 0));
    if (!request) return {};
    limitRequestTimes(request.get(), job.limitMs);
    if (target.mapped) {
        const std::string hostLine = "Host: " + target.hostLine + "\r\n";
        HttpAddRequestHeadersA(request.get(), hostLine.c_str(), static_cast<DWORD>(hostLine.size()),
                               HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    }
    if (storeHandling) {
        const std::string jar = storeCookiesFor(job.address);
        if (!jar.empty()) addCookieLine(request.get(), jar);
    }

    std::string lines = withDefaultPageLines(job.headerLines, job.address);
    const std::string cookieLine = job.cookies.empty() ? std::string() : "Cookie: " + job.cookies + "\r\n\r\n";
    bool sent = false;
    if (!job.post) {
        lines += cookieLine;
        sent = HttpSendRequestA(request.get(), lines.c_str(), static_cast<DWORD>(lines.size()), nullptr, 0);
    } else {
        if (!job.postData.empty()) {
            if (findLeft(lines, "Content-Type", 1, true) <= 0)
                lines += "Content-Type: application/x-www-form-urlencoded\r\n";
            if (findLeft(lines, "Content-Length", 1, true) <= 0)
                lines += "Content-Length: " + std::to_string(job.postData.size()) + "\r\n";
            lines += cookieLine;
        }
        sent = HttpSendRequestA(request.get(), lines.c_str(), static_cast<DWORD>(lines.size()),
                                const_cast<char*>(job.postData.data()), static_cast<DWORD>(job.postData.size()));
    }

    PageAnswer answer;
    BodyEnd end = BodyEnd::Whole;
    answer.body = readWholeBody(
        request.get(), [&] { return exchange.abandoned(); }, job.maxBodyBytes, &end);
    if (end == BodyEnd::PastBound) return {.pastBound = true};
    if (sent && end != BodyEnd::Whole) return {.cut = true};
    // A request that got no answer (a refused connection) has no header block.
    if (sent) answer.responseHeaders = rawResponseHeaders(request.get());
    answer.cookies = cookiesEachClosed(answer.responseHeaders);
    return answer;
}

// The request thread's part of one call.
PageAnswer webPageThreadEntry(const PageJob& job, const RequestExchange& exchange) {
    return runWebPageWorker(job, exchange);
}

}  // namespace

int pageRequestLimitMs(const PageRequest& request) {
    if (const std::optional<int> processLimit = processRequestLimitMs()) return *processLimit;
    return request.timeLimit ? *request.timeLimit * 1000 : kDefaultLimitSeconds * 1000;
}

Bytes fetchWebPage(const PageRequest& request) {
    if (!request.address || trimText(*request.address).empty()) return {};
    std::string& address = *request.address;
    if (!address.starts_with("http://") && !address.starts_with("https://")) address = "http://" + address;

    PageJob job;
    job.address = address;
    job.post = request.method == 1;
    job.proxy = request.proxy;
    job.headerLines = request.headerLines;
    job.postData.assign(request.postData.begin(), request.postData.end());
    job.cookies = request.cookies;
    job.followRedirects = request.followRedirects;
    job.limitMs = pageRequestLimitMs(request);
    job.maxBodyBytes = request.maxBodyBytes;

    const auto answer = runOnRequestThread<PageAnswer>(
        job.limitMs, true, [job](const RequestExchange& exchange) { return webPageThreadEntry(job, exchange); });
    if (!answer || answer->cut) return Bytes(kPageTimeoutNotice.begin(), kPageTimeoutNotice.end());
    if (answer->pastBound) {
        logOversizedAnswer(address, request.maxBodyBytes);
        return {};
    }

    // Every received cookie goes into the system store, attributes and all;
    // here, so that an abandoned request stores none.
    storeAnswerCookies("http://" + stripHttpsScheme(address), answer->responseHeaders);

    if (request.responseHeadersOut) *request.responseHeadersOut = upToZero(answer->responseHeaders);
    if (request.cookiesOut) *request.cookiesOut = upToZero(answer->cookies);
    std::string body;
    switch (request.charset) {
        case static_cast<int>(PageCharset::Utf8): body = utf8TextToGbk(upToZero(answer->body)); break;
        case static_cast<int>(PageCharset::Big5): body = big5ToSimplifiedGbk(upToZero(answer->body)); break;
        default: body = answer->body; break;
    }
    return Bytes(body.begin(), body.end());
}

}  // namespace quorvane
