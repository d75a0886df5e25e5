#include "net/page_request.h"

#include "tests/support/cancel_event.h"
#include "tests/support/cookie_store.h"
#include "tests/support/loopback_server.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace quorvane {
namespace {

// A capital scheme gets "http://" in front, so its host is "HTTP"; it must
// not be looked up outside the machine.
const bool capitalSchemeHostStaysHere =
    SetEnvironmentVariableA("QUORVANE_HOST_MAP", ("http=127.0.0.1:" + std::to_string(test::refusedPort())).c_str()) != 0;

using test::Answer;
using test::bodyText;
using test::LoopbackServer;
using test::okAnswer;

Bytes fetch(std::string address, PageRequest request = {}) {
    request.address = &address;
    return fetchWebPage(request);
}

const std::string kDefaultAccept =
    "image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
const std::string kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET CLR "
    "3.5.21022)";

int ticks = 0;
void CALLBACK countTick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

class PageRequestTest : public ::testing::Test {
protected:
    LoopbackServer server;
};

TEST_F(PageRequestTest, BlankAddressesMakeNoRequestAndBareOnesGetAScheme) {
    EXPECT_TRUE(fetch("   ").empty());
    EXPECT_TRUE(fetchWebPage({}).empty());
    EXPECT_TRUE(server.requests().empty());

    server.script("/bare", okAnswer("bare"));
    std::string address = "127.0.0.1:" + std::to_string(server.port()) + "/bare";
    EXPECT_EQ(bodyText(fetchWebPage({.address = &address})), "bare");
    EXPECT_EQ(address, "http://127.0.0.1:" + std::to_string(server.port()) + "/bare");
    ASSERT_TRUE(capitalSchemeHostStaysHere);
    std::string capitals = "HTTP://127.0.0.1/";
    {
        test::ScopedRequestLimit limit(3000);
        fetchWebPage({.address = &capitals});
    }
    EXPECT_EQ(capitals, "http://HTTP://127.0.0.1/");
}

TEST_F(PageRequestTest, DefaultLinesAgentAndReferer) {
    struct Case {
        std::string lines;
        std::string accept, referer, language, agent;
    };
    const std::string address = server.url("/p?q=1");
    const Case cases[] = {
        {"", kDefaultAccept, address, "zh-cn", kDefaultAgent},
        // Any Accept… key counts as present.
        {"Accept-Language: en\r\n", "", address, "en", kDefaultAgent},
        {"Accept-Encoding: identity\r\n", "", address, "zh-cn", kDefaultAgent},
        {"RefererNo", kDefaultAccept, "", "zh-cn", kDefaultAgent},
        {"User-Agent: Tester/2.0\r\n", kDefaultAccept, address, "zh-cn", "Tester/2.0"},
    };
    server.script("/p", okAnswer("page"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(bodyText(fetch(address, {.headerLines = c.lines})), "page");
        const auto sent = server.lastRequest("/p");
        EXPECT_EQ(sent.requestLine, "GET /p?q=1 HTTP/1.1");
        EXPECT_EQ(sent.header("Accept"), c.accept);
        EXPECT_EQ(sent.header("Referer"), c.referer);
        EXPECT_EQ(sent.header("Accept-Language"), c.language);
        EXPECT_EQ(sent.header("User-Agent"), c.agent);
        EXPECT_EQ(sent.rawHeader.find("RefererNo"), std::string::npos);
    }
}

TEST_F(PageRequestTest, TheStockRequestsLinesArriveWhole) {
    // The stock request's own lines end without a CRLF.
    const std::string lines =
        "Accept: */*\r\nReferer: http://item.taobao.com/item.htm?id=1\r\nUser-Agent: Mozilla/4.0\r\n"
        "Host: detailskip.taobao.com\r\nPragma: no-cache";
    server.script("/stock", okAnswer("{}"));
    EXPECT_EQ(bodyText(fetch(server.url("/stock"), {.headerLines = lines})), "{}");
    const auto sent = server.lastRequest("/stock");
    EXPECT_EQ(sent.header("Pragma"), "no-cache");
    EXPECT_EQ(sent.header("Accept-Language"), "zh-cn");
    EXPECT_EQ(sent.header("Host"), "detailskip.taobao.com");
    EXPECT_EQ(sent.header("User-Agent"), "Mozilla/4.0");
    EXPECT_EQ(sent.header("Referer"), "http://item.taobao.com/item.htm?id=1");
}

TEST_F(PageRequestTest, PostDataCookiesAndTheirLines) {
    struct Case {
        int method;
        std::string lines, data, cookies;
        std::string sentMethod, contentType, contentLength, cookie;
    };
    const Case cases[] = {
        {0, "", "", "sid=1; t=2", "GET", "", "", "sid=1; t=2"},
        {1, "", "a=1&b=2", "sid=1", "POST", "application/x-www-form-urlencoded", "7", "sid=1"},
        {1, "Content-Type: text/plain\r\nContent-Length: 3\r\n", "xyz", "", "POST", "text/plain", "3", ""},
        // Empty post data gets none of the three lines.
        {1, "", "", "sid=1", "POST", "", "", ""},
    };
    server.script("/form", okAnswer("done"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data + "|" + c.cookies);
        EXPECT_EQ(bodyText(fetch(server.url("/form"), {.method = c.method,
                                                   .headerLines = c.lines,
                                                   .postData = Bytes(c.data.begin(), c.data.end()),
                                                   .cookies = c.cookies})),
                  "done");
        const auto sent = server.lastRequest("/form");
        EXPECT_EQ(sent.method, c.sentMethod);
        EXPECT_EQ(sent.body, c.data);
        EXPECT_EQ(sent.header("Content-Type"), c.contentType);
        EXPECT_EQ(sent.header("Cookie"), c.cookie);
        if (!c.contentLength.empty()) {
            EXPECT_EQ(sent.header("Content-Length"), c.contentLength);
        }
    }
}

TEST_F(PageRequestTest, AnswerHeadersCookiesAndTheStore) {
    const std::string filler = "X-Filler: " + std::string(2500, 'f');
    server.script("/c", okAnswer("c", {"Set-Cookie: pa=1; path=/", "Set-Cookie: pb=; expires=Thu, 01 Jan 1970 00:00:00 GMT",
                                 "Set-Cookie: pc=x=y", filler}));
    std::string headers, cookies;
    EXPECT_EQ(bodyText(fetch(server.url("/c"), {.responseHeadersOut = &headers, .cookiesOut = &cookies})), "c");
    EXPECT_EQ(cookies, "pa=1;pb=;pc=x=y;");
    EXPECT_EQ(headers.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(headers.find(filler), std::string::npos);
    char buffer[4096] = {};
    DWORD length = sizeof buffer;
    ASSERT_TRUE(InternetGetCookieA("http://127.0.0.1/", nullptr, buffer, &length));
    EXPECT_NE(std::string(buffer).find("pa=1"), std::string::npos) << buffer;
    EXPECT_NE(std::string(buffer).find("pc=x=y"), std::string::npos) << buffer;
}

TEST_F(PageRequestTest, RedirectsFollowedUnlessSwitchedOff) {
    server.script("/from", test::redirectTo(server.url("/to")));
    server.script("/to", okAnswer("arrived"));
    EXPECT_EQ(bodyText(fetch(server.url("/from"))), "arrived");
    std::string headers;
    EXPECT_EQ(bodyText(fetch(server.url("/from"), {.responseHeadersOut = &headers, .followRedirects = false})), "moved");
    EXPECT_NE(headers.find("Location: " + server.url("/to")), std::string::npos);
}

TEST_F(PageRequestTest, CharsetOptions) {
    const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文 in UTF-8
    const std::string big5 = "\xA4\xA4\xA4\xE5";          // 中文 in Big5
    const std::string zeroTail("\0tail", 5);
    struct Case {
        std::string body;
        int charset;
        std::string expected;
    };
    const Case cases[] = {
        {utf8, 1, "中文"},
        {big5, 2, "中文"},
        {utf8 + zeroTail, 1, "中文"},
        {big5 + zeroTail, 2, "中文"},
        {utf8 + zeroTail, 0, utf8 + zeroTail},
        {"plain", 7, "plain"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        const std::string path = "/cs" + std::to_string(n++);
        server.script(path, okAnswer(c.body));
        EXPECT_EQ(bodyText(fetch(server.url(path), {.charset = c.charset})), c.expected);
    }
}

TEST_F(PageRequestTest, TimeOutsGiveTheNotice) {
    ASSERT_EQ(kPageTimeoutNotice.size(), 94u);
    Answer slow = okAnswer("late", {"Set-Cookie: late=1"});
    slow.delayBeforeHeaders = std::chrono::milliseconds(3000);
    server.script("/slow", slow);
    std::string headers = "kept", cookies = "kept";
    const DWORD start = GetTickCount();
    EXPECT_EQ(bodyText(fetch(server.url("/slow"), {.timeLimit = 0, .responseHeadersOut = &headers})), kPageTimeoutNotice);
    {
        test::ScopedRequestLimit limit(300);
        EXPECT_EQ(bodyText(fetch(server.url("/slow"), {.responseHeadersOut = &headers, .cookiesOut = &cookies})),
                  kPageTimeoutNotice);
    }
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(headers, "kept");
    EXPECT_EQ(cookies, "kept");
}

// A page that breaks off is no page: the caller hears the same as for one
// that came too late, never the part that came.
TEST_F(PageRequestTest, APageCutShortGivesTheNotice) {
    Answer reset = okAnswer(std::string(100000, 'r'));
    reset.resetAfterBodyBytes = 5000;
    server.script("/reset", reset);
    EXPECT_EQ(bodyText(fetch(server.url("/reset"), {})), kPageTimeoutNotice);
}

TEST(PageRequestLimit, SecondsGivenOrSixtyAndTheProcessLimitBeforeBoth) {
    struct Case {
        const char* why;
        std::optional<int> timeLimit;
        std::optional<int> processLimitMs;
        int limitMs;
    };
    const Case cases[] = {
        {"neither limit given", std::nullopt, std::nullopt, 60000},
        {"seconds given", 7, std::nullopt, 7000},
        {"no seconds at all", 0, std::nullopt, 0},
        {"the process's limit only", std::nullopt, 300, 300},
        {"both given", 7, 300, 300},
        {"no seconds at all and the process's limit", 0, 300, 300},
    };
    for (const Case& c : cases) {
        test::ScopedRequestLimit limit(c.processLimitMs);
        EXPECT_EQ(pageRequestLimitMs({.timeLimit = c.timeLimit}), c.limitMs) << c.why;
    }
}

TEST_F(PageRequestTest, AnAbandonedRequestStoresNoCookie) {
    struct Case {
        const char* why;
        std::string cookie;
        bool cancelled;
    };
    const Case cases[] = {
        {"the limit passed before the answer", "late_after_limit", false},
        {"the cancel event was set before the answer", "late_after_cancel", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Answer late = okAnswer("late", {"Set-Cookie: " + c.cookie + "=1; path=/"});
        late.delayBeforeHeaders = std::chrono::milliseconds(600);
        server.script("/" + c.cookie, late);
        std::optional<test::ScopedCancelEvent> cancel;
        if (c.cancelled) cancel.emplace().setAfter(100);
        test::ScopedRequestLimit limit(c.cancelled ? 10000 : 200);
        const DWORD start = GetTickCount();
        EXPECT_EQ(bodyText(fetch(server.url("/" + c.cookie))), kPageTimeoutNotice);
        EXPECT_LT(GetTickCount() - start, 500u);
        cancel.reset();
        // The answer reaches the abandoned request thread meanwhile.
        ASSERT_TRUE(server.waitForRequests(1, std::chrono::milliseconds(1000)));
        Sleep(1200);
        const std::string stored = test::storedCookies(server.url("/"));
        EXPECT_EQ(stored.find(c.cookie), std::string::npos) << stored;
        server.clearRequests();
    }
}

TEST_F(PageRequestTest, TheStoresCookiesGoOutUnlessTheCallerGivesCookies) {
    InternetSetCookieA("http://127.0.0.1/", "page_jar", "1");
    server.script("/jar", okAnswer("jar"));
    struct Case {
        std::string cookies;
        bool jarSent;
    };
    const Case cases[] = {{"", true}, {"mine=2", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cookies);
        EXPECT_EQ(bodyText(fetch(server.url("/jar"), {.cookies = c.cookies})), "jar");
        const std::string sent = server.lastRequest("/jar").header("Cookie");
        EXPECT_EQ(sent.find("page_jar=1") != std::string::npos, c.jarSent) << sent;
        EXPECT_EQ(sent.find("mine=2") != std::string::npos, !c.cookies.empty()) << sent;
    }
}

TEST_F(PageRequestTest, WindowMessagesAreHandledWhileWaiting) {
    Answer slow = okAnswer("slow");
    slow.delayBeforeHeaders = std::chrono::milliseconds(600);
    server.script("/slow", slow);
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, countTick);
    EXPECT_EQ(bodyText(fetch(server.url("/slow"))), "slow");
    KillTimer(nullptr, timer);
    EXPECT_GE(ticks, 3);
}

TEST_F(PageRequestTest, FailuresGiveEmptyOutputs) {
    std::string headers = "kept", cookies = "kept";
    EXPECT_TRUE(fetch("http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/",
                      {.responseHeadersOut = &headers, .cookiesOut = &cookies})
                    .empty());
    EXPECT_EQ(headers, "");
    EXPECT_EQ(cookies, "");
}

TEST_F(PageRequestTest, FiveRequestsAtOnce) {
    for (int i = 0; i < 5; ++i) {
        Answer answer = okAnswer(std::string(150000, static_cast<char>('a' + i)));
        answer.delayBeforeHeaders = std::chrono::milliseconds(200);
        server.script("/item" + std::to_string(i), answer);
    }
    std::string bodies[5];
    std::vector<std::thread> workers;
    for (int i = 0; i < 5; ++i)
        workers.emplace_back([&, i] { bodies[i] = bodyText(fetch(server.url("/item" + std::to_string(i)))); });
    for (auto& worker : workers) worker.join();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bodies[i], std::string(150000, static_cast<char>('a' + i)));
}

TEST(PageRequestHttpsTest, HttpsWithItsOwnPort) {
    LoopbackServer secure(test::Scheme::Https);
    secure.script("/s", okAnswer("secret", {"Set-Cookie: sec=1"}));
    std::string cookies;
    test::ScopedRequestLimit limit(10000);
    EXPECT_EQ(bodyText(fetch(secure.url("/s?x=1"), {.cookiesOut = &cookies})), "secret");
    EXPECT_EQ(cookies, "sec=1;");
    EXPECT_EQ(secure.lastRequest("/s").requestLine, "GET /s?x=1 HTTP/1.1");
}

}  // namespace
}  // namespace quorvane
