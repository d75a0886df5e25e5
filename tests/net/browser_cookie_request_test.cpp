// The COM request that carries the system cookie store through it, on a
// loopback server reached as "localhost" (a cookie domain of its own).
#include "net/browser_cookies.h"
#include "net/com_request.h"
#include "net/request_lines.h"

#include "tests/support/cancel_event.h"
#include "tests/support/loopback_server.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

namespace quorvane {
namespace {

using test::Answer;
using test::LoopbackServer;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

Answer answerWith(std::string body, std::vector<std::string> headerLines = {}) {
    Answer answer;
    answer.headerLines = std::move(headerLines);
    answer.body = std::move(body);
    return answer;
}

std::string localUrl(const LoopbackServer& server, std::string_view path) {
    return "http://localhost:" + std::to_string(server.port()) + std::string(path);
}

TEST(BrowserCookieRequest, AnAddressAloneSendsTheDefaultBlockAsAGet) {
    LoopbackServer server;
    server.script("/item.htm", answerWith("page"));
    std::string address = "localhost:" + std::to_string(server.port()) + "/item.htm?id=7";
    std::string method = "get";
    std::string headerLines;
    BrowserCookieRequest request;
    request.address = &address;
    request.method = &method;
    request.headerLines = &headerLines;

    EXPECT_EQ(comRequestWithBrowserCookies(request), bytesOf("page"));
    EXPECT_EQ(address, localUrl(server, "/item.htm?id=7"));
    EXPECT_EQ(method, "GET");
    EXPECT_EQ(headerLines, defaultBrowserHeaderBlock(address));
    const auto sent = server.lastRequest("/item.htm");
    EXPECT_EQ(sent.requestLine, "GET /item.htm?id=7 HTTP/1.1");
    EXPECT_EQ(sent.header("Referer"), address);
    EXPECT_EQ(sent.header("Accept-Language"), "zh-cn");
    EXPECT_EQ(sent.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1)");
    EXPECT_EQ(sent.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_NE(sent.header("Accept").find("application/x-ms-application"), std::string::npos);
}

TEST(BrowserCookieRequest, SendsTheBodyBytesBeforeTheBodyTextAndTheCallersLines) {
    LoopbackServer server;
    server.script("/post", answerWith("done"));
    const std::string raw("k=\0\xff\xfe", 5);
    struct Case {
        std::string method, body;
        Bytes bodyBytes;
        std::string sentBody;
    } cases[] = {
        {"post", "a=1&b=2", {}, "a=1&b=2"},
        {"Post", "ignored", bytesOf(raw), raw},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        std::string address = server.url("/post");
        std::string method = c.method, body = c.body;
        std::string headerLines = "X-One: 1\r\nno colon here\r\nX-Two:two";
        Bytes bodyBytes = c.bodyBytes;
        BrowserCookieRequest request;
        request.address = &address;
        request.method = &method;
        request.body = &body;
        request.bodyBytes = &bodyBytes;
        request.headerLines = &headerLines;

        EXPECT_EQ(comRequestWithBrowserCookies(request), bytesOf("done"));
        const auto sent = server.lastRequest("/post");
        EXPECT_EQ(sent.method, "POST");
        EXPECT_EQ(method, "POST");
        EXPECT_EQ(sent.body, c.sentBody);
        EXPECT_EQ(sent.header("X-One"), "1");
        EXPECT_EQ(sent.header("X-Two"), "two");
        EXPECT_FALSE(sent.hasHeader("Referer"));
    }
}

TEST(BrowserCookieRequest, CarriesTheStoreThroughTheRequest) {
    LoopbackServer server;
    server.script("/login", answerWith("welcome", {"Set-Cookie: tok=abc=1; path=/", "Set-Cookie: old=; path=/"}));
    writeBrowserCookies("localhost", "sid=1; old=o");
    std::string address = localUrl(server, "/login");
    std::string cookies = "sid=2";
    std::string answerCookies;
    BrowserCookieRequest request;
    request.address = &address;
    request.cookies = &cookies;
    request.answerCookies = &answerCookies;

    EXPECT_EQ(comRequestWithBrowserCookies(request), bytesOf("welcome"));
    const std::string sent = server.lastRequest("/login").header("Cookie");
    EXPECT_NE(sent.find("sid=2"), std::string::npos) << sent;
    EXPECT_EQ(sent.find("sid=1"), std::string::npos) << sent;
    EXPECT_NE(sent.find("old=o"), std::string::npos) << sent;
    EXPECT_EQ(answerCookies, "tok=abc=1; old=;");
    EXPECT_EQ(cookies.find("old"), std::string::npos) << cookies;
    EXPECT_NE(cookies.find("sid=2"), std::string::npos) << cookies;
    EXPECT_TRUE(cookies.ends_with("tok=abc=1;")) << cookies;
    EXPECT_EQ(readBrowserCookies("localhost", "sid"), "2");
    EXPECT_EQ(readBrowserCookies("localhost", "tok"), "abc=1");
}

TEST(BrowserCookieRequest, WithoutCookiesAnywhereSendsNoCookieLine) {
    LoopbackServer server;
    server.script("/plain", answerWith("plain"));
    std::string address = server.url("/plain");  // 127.0.0.1: a store domain nothing else uses
    BrowserCookieRequest request;
    request.address = &address;
    EXPECT_EQ(comRequestWithBrowserCookies(request), bytesOf("plain"));
    EXPECT_FALSE(server.lastRequest("/plain").hasHeader("Cookie"));
}

struct RedirectCase {
    int noRedirects;
    std::string redirectBefore;
    std::string body;
    bool followed;
};

TEST(BrowserCookieRequest, ReportsTheRedirectAddressOrTheWholeHeaderText) {
    LoopbackServer server;
    server.script("/from", test::redirectTo("/to"));
    Answer moved = answerWith("here", {"Content-Location: /elsewhere"});
    server.script("/to", moved);
    const RedirectCase cases[] = {
        {1, "", "moved", false},
        {0, "", "here", true},
        {0, "kept", "here", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.noRedirects);
        server.clearRequests();
        std::string address = server.url("/from");
        std::string redirect = c.redirectBefore;
        std::string headers;
        BrowserCookieRequest request;
        request.address = &address;
        request.redirectAddress = &redirect;
        request.responseHeaders = &headers;
        request.noRedirects = c.noRedirects;

        EXPECT_EQ(comRequestWithBrowserCookies(request), bytesOf(c.body));
        EXPECT_EQ(server.requests().size(), c.followed ? 2u : 1u);
        EXPECT_NE(headers.find("Content-Length"), std::string::npos) << headers;
        if (!c.followed) {
            EXPECT_EQ(redirect, "/to");
        } else if (c.redirectBefore.empty()) {
            EXPECT_EQ(redirect, headers);
        } else {
            EXPECT_EQ(redirect, c.redirectBefore);
        }
    }
}

TEST(BrowserCookieRequest, ARefusedConnectionGivesNothing) {
    std::string address = "http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/x";
    std::string answerCookies = "before";
    BrowserCookieRequest request;
    request.address = &address;
    request.answerCookies = &answerCookies;
    EXPECT_TRUE(comRequestWithBrowserCookies(request).empty());
    EXPECT_EQ(answerCookies, "");
}

TEST(BrowserCookieRequest, AnAnswerAfterTheLimitOrTheCancelEventChangesNothing) {
    LoopbackServer server;
    struct Case {
        const char* why;
        std::string cookie;
        bool cancelled;
    };
    const Case cases[] = {
        {"the limit passed", "late_limit", false},
        {"the cancel event was set", "late_cancel", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        // The body ends well after the wait: the abandoned thread then has
        // the whole answer in hand.
        Answer late = answerWith(std::string(20, 'l'), {"Set-Cookie: " + c.cookie + "=1; path=/"});
        late.trickleBytes = 10;
        late.trickleGap = std::chrono::milliseconds(700);
        server.script("/" + c.cookie, late);
        const std::string given = localUrl(server, "/" + c.cookie);
        std::string address = given;
        std::string method = "get", cookies = "mine=1", answerCookies = "kept", headers = "kept";
        BrowserCookieRequest request;
        request.address = &address;
        request.method = &method;
        request.cookies = &cookies;
        request.answerCookies = &answerCookies;
        request.responseHeaders = &headers;
        test::ScopedRequestLimit limit(c.cancelled ? 10000 : 300);
        std::optional<test::ScopedCancelEvent> cancel;
        if (c.cancelled) cancel.emplace().setAfter(150);

        const DWORD start = GetTickCount();
        EXPECT_TRUE(comRequestWithBrowserCookies(request).empty());
        EXPECT_LT(GetTickCount() - start, 600u);
        cancel.reset();
        Sleep(1200);
        EXPECT_EQ(readBrowserCookies("localhost", c.cookie), "");
        EXPECT_EQ(address, given);
        EXPECT_EQ(method, "get");
        EXPECT_EQ(cookies, "mine=1");
        EXPECT_EQ(answerCookies, "kept");
        EXPECT_EQ(headers, "kept");
    }
    server.script("/after", answerWith("after"));
    std::string address = server.url("/after");
    BrowserCookieRequest after;
    after.address = &address;
    EXPECT_EQ(comRequestWithBrowserCookies(after), bytesOf("after"));
}

int ticks = 0;
void CALLBACK countTick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

TEST(BrowserCookieRequest, WindowMessagesAreHandledWhileWaiting) {
    LoopbackServer server;
    Answer slow = answerWith("slow");
    slow.delayBeforeHeaders = std::chrono::milliseconds(600);
    server.script("/slow", slow);
    std::string address = server.url("/slow");
    BrowserCookieRequest request;
    request.address = &address;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, countTick);
    EXPECT_EQ(comRequestWithBrowserCookies(request), bytesOf("slow"));
    KillTimer(nullptr, timer);
    EXPECT_GE(ticks, 3);
}

TEST(BrowserCookieRequest, WithoutARequestObjectOnlyTheAddressChanges) {
    const wchar_t* const missing[] = {L"Quorvane.NoSuchRequest.1"};
    std::string address = "localhost:1/x";
    std::string method = "post", cookies = "a=1", headerLines;
    BrowserCookieRequest request;
    request.address = &address;
    request.method = &method;
    request.cookies = &cookies;
    request.headerLines = &headerLines;
    EXPECT_TRUE(comRequestWithBrowserCookies(request, missing).empty());
    EXPECT_EQ(address, "http://localhost:1/x");
    EXPECT_EQ(method, "post");
    EXPECT_EQ(cookies, "a=1");
    EXPECT_EQ(headerLines, "");
}

}  // namespace
}  // namespace quorvane
