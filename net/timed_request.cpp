#include "net/timed_request.h"

#include "net/browser_cookies.h"
#include "net/cookies.h"
#include "net/host_map.h"
#include "net/request_limit.h"
#include "net/request_lines.h"
#include "net/request_thread.h"
#include "net/url.h"
#include "net/wininet_handle.h"
#include "text/search.h"

#include <algorithm>
#include <cctype>

namespace quorvane {
namespace {

constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr int kDefaultLimitSeconds = 90;

// Fields in the order the request thread hands them back.
struct TimedAnswer {
    bool finished = false;
    bool pastBound = false;  // nothing else is set then
    std::string responseHeaders;  // read when wanted, or for the cookies
    std::string cookies;
    std::string body;
};

// WinINet's own cookie handling stays off, for it would store an answer's
// cookies on the request thread after the caller gave up. Where it would be
// on, the store's cookies are sent by hand and the answer's are stored by the
// caller.
bool handlesStoreCookies(const TimedRequest& request) {
    return trimText(request.cookies).empty() || request.storeCookies;
}

std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

TimedAnswer runHttpRequestWorker(const TimedRequest& request, int limitMs, const RequestExchange& exchange) {
    const std::string host = hostOfUrl(request.address);
    const std::string path = pathOfUrl(request.address);
    const RequestTarget target = routeRequest(false, host, portOfUrl(request.address));

    const std::string proxy = withoutBlanks(request.proxy);
    const std::string proxyLine = "http=" + request.proxy;
    InternetHandle internet(proxy.empty()
                                ? InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, "", "", 0)
                                : InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PROXY, proxyLine.c_str(), "", 0));
    if (!internet) return {};
    limitRequestTimes(internet.get(), limitMs);
    const std::string user = withoutBlanks(request.userName).empty() ? std::string() : request.userName;
    const std::string password = withoutBlanks(request.password).empty() ? std::string() : request.password;
    InternetHandle connection(InternetConnectA(internet.get(), target.host.c_str(),
                                               static_cast<INTERNET_PORT>(target.port), user.c_str(),
                                               password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};

    const bool sendsCookies = !trimText(request.cookies).empty();
    // Nothing reads WinINet's cache: an answer written there is a file and an
    // index update per request, pictures included.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_CACHE_WRITE;
    InternetHandle handle(HttpOpenRequestA(connection.get(), request.method.c_str(), path.c_str(), "HTTP/1.1",
                                           nullptr, nullptr, flags, 0));
    if (!handle) return {};
    limitRequestTimes(handle.get(), limitMs);
    if (target.mapped) {
        const std::string hostLine = "Host: " + target.hostLine + "\r\n";
        HttpAddRequestHeadersA(handle.get(), hostLine.c_str(), static_cast<DWORD>(hostLine.size()),
                               HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    }

    std::string lines = withDefaultRequestLines(request.headerLines, request.address);
    std::string cookies = sendsCookies ? request.cookies : std::string();
    const bool storeHandling = handlesStoreCookies(request);
    if (storeHandling) {
        const std::string jar = storeCookiesFor(request.address);
        if (!jar.empty()) cookies = cookies.empty() ? jar : cookies + "; " + jar;
    }
    if (!cookies.empty()) addCookieLine(handle.get(), cookies);

    const std::string method = upperText(request.method);
    bool sent = false;
    if (method.empty() || method == "GET") {
        sent = HttpSendRequestA(handle.get(), lines.c_str(), static_cast<DWORD>(lines.size()), nullptr, 0);
    } else if (method == "POST") {
        if (!request.body.empty()) {
            if (findLeft(lines, "Content-Type: ", 1, true) <= 0)
                lines += "Content-Type: application/x-www-form-urlencoded\r\n";
            lines += "Content-Length: " + std::to_string(request.body.size()) + "\r\n";
        }
        sent = HttpSendRequestA(handle.get(), lines.c_str(), static_cast<DWORD>(lines.size()),
                                const_cast<char*>(request.body.data()), static_cast<DWORD>(request.body.size()));
    } else {
        return {};
    }

    TimedAnswer answer;
    BodyEnd end = BodyEnd::Whole;
    answer.body = readWholeBody(
        handle.get(), [&] { return exchange.abandoned(); }, request.maxBodyBytes, &end);
    if (end == BodyEnd::PastBound) return {.pastBound = true};
    // A body cut short by the time limit or an error is no answer, as for
    // the page request; a request that was never sent reads as an empty one.
    if (sent && end != BodyEnd::Whole) return {};
    answer.finished = true;
    const bool cookiesWanted = request.cookiesOut != nullptr;
    const bool headersWanted = request.responseHeadersOut != nullptr;
    if (headersWanted || cookiesWanted || storeHandling) {
        answer.responseHeaders = sent ? rawResponseHeaders(handle.get()) : std::string();
        if (cookiesWanted) answer.cookies = cookiesJoined(answer.responseHeaders);
    }
    return answer;
}

// The request thread's part of one call.
TimedAnswer httpRequestThreadEntry(const TimedRequest& request, int limitMs, const RequestExchange& exchange) {
    return runHttpRequestWorker(request, limitMs, exchange);
}

}  // namespace

int timedRequestLimitMs(const TimedRequest& request) {
    if (const std::optional<int> processLimit = processRequestLimitMs()) return *processLimit;
    return request.timeLimit != 0 ? request.timeLimit * 1000 : kDefaultLimitSeconds * 1000;
}

Bytes httpRequestWithTimeout(const TimedRequest& request) {
    const int limitMs = timedRequestLimitMs(request);
    const auto answer = runOnRequestThread<TimedAnswer>(
        limitMs, request.keepInterfaceAlive,
        [request, limitMs](const RequestExchange& exchange) { return httpRequestThreadEntry(request, limitMs, exchange); });
    if (answer && answer->pastBound) logOversizedAnswer(request.address, request.maxBodyBytes);
    if (!answer || !answer->finished) return {};
    // Stored here, from an answer that came in time: an abandoned request
    // leaves the system store alone.
    if (handlesStoreCookies(request))
        storeAnswerCookies("http://" + hostOfUrl(request.address), answer->responseHeaders);
    if (request.responseHeadersOut) *request.responseHeadersOut = answer->responseHeaders;
    if (request.cookiesOut) *request.cookiesOut = answer->cookies;
    return Bytes(answer->body.begin(), answer->body.end());
}

}  // namespace quorvane
