#include "net/timed_request.h"

#include "net/request_thread.h"

#include "tests/support/cancel_event.h"
#include "tests/support/cookie_store.h"
#include "tests/support/loopback_server.h"
#include "tests/support/process_figures.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

namespace quorvane {
namespace {

// The host of an https address comes out as "https", which this request
// does not speak; it must not be looked up outside the machine.
const bool httpsHostStaysHere =
    SetEnvironmentVariableA("QUORVANE_HOST_MAP", ("https=127.0.0.1:" + std::to_string(test::refusedPort())).c_str()) != 0;

using test::Answer;
using test::Framing;
using test::bodyText;
using test::LoopbackServer;
using test::okAnswer;

class TimedRequestTest : public ::testing::Test {
protected:
    LoopbackServer server;
};

TEST_F(TimedRequestTest, GetSendsDefaultLinesUnlessTheCallerHasThem) {
    struct Case {
        std::string lines;
        std::string accept, referer, language;
    };
    const std::string address = server.url("/page?id=7&x=%20");
    const std::string defaultAccept =
        "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
    const Case cases[] = {
        {"", defaultAccept, address, "zh-cn"},
        {"accept: text/html\r\n", "text/html", address, "zh-cn"},
        {"Referer: http://example.invalid/\r\n", defaultAccept, "http://example.invalid/", "zh-cn"},
        {"Accept-Language: en\r\n", defaultAccept, address, "en"},
        // A caller text without a final CRLF still gets its own line.
        {"Pragma: no-cache", defaultAccept, address, "zh-cn"},
    };
    server.script("/page", okAnswer("hello"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = address, .headerLines = c.lines})), "hello");
        const auto sent = server.lastRequest("/page");
        EXPECT_EQ(sent.requestLine, "GET /page?id=7&x=%20 HTTP/1.1");
        EXPECT_EQ(sent.header("Accept"), c.accept);
        EXPECT_EQ(sent.header("Referer"), c.referer);
        EXPECT_EQ(sent.header("Accept-Language"), c.language);
        EXPECT_EQ(sent.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
        EXPECT_FALSE(sent.hasHeader("Cookie"));
        if (c.lines == "Pragma: no-cache") {
            EXPECT_EQ(sent.header("Pragma"), "no-cache");
        }
    }
}

TEST_F(TimedRequestTest, PostBodyAndItsContentLines) {
    struct Case {
        std::string lines, body;
        std::string contentType, contentLength;
    };
    const Case cases[] = {
        {"", "a=1&b=%D6%D0", "application/x-www-form-urlencoded", "12"},
        {"Content-Type: text/plain\r\n", "xyz", "text/plain", "3"},
        {"", "", "", ""},
    };
    server.script("/post", okAnswer("done"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(bodyText(httpRequestWithTimeout(
                      {.address = server.url("/post"), .method = "post", .body = c.body, .headerLines = c.lines})),
                  "done");
        const auto sent = server.lastRequest("/post");
        EXPECT_EQ(sent.method, "post");
        EXPECT_EQ(sent.body, c.body);
        EXPECT_EQ(sent.header("Content-Type"), c.contentType);
        if (!c.contentLength.empty()) {
            EXPECT_EQ(sent.header("Content-Length"), c.contentLength);
        }
    }
}

TEST_F(TimedRequestTest, OtherMethodsAndHttpsAddressesFail) {
    ASSERT_TRUE(httpsHostStaysHere);
    server.script("/x", okAnswer("body"));
    std::string headers = "kept";
    EXPECT_TRUE(httpRequestWithTimeout({.address = server.url("/x"), .method = "PUT", .responseHeadersOut = &headers})
                    .empty());
    EXPECT_EQ(headers, "kept");
    test::ScopedRequestLimit limit(5000);
    EXPECT_TRUE(
        httpRequestWithTimeout({.address = "https://127.0.0.1:" + std::to_string(server.port()) + "/x"}).empty());
    EXPECT_TRUE(httpRequestWithTimeout({.address = "http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/x"})
                    .empty());
}

TEST_F(TimedRequestTest, CookiesGoOutAndComeBackAsNameValueItems) {
    std::string bigHeader = "X-Filler: " + std::string(3000, 'f');
    server.script("/c", okAnswer("c", {"Set-Cookie: a=1; path=/", "Set-Cookie: b=; expires=Thu, 01 Jan 1970 00:00:00 GMT",
                                 "Set-Cookie: c=x=y; domain=127.0.0.1", "Set-Cookie: d=2", bigHeader}));
    std::string cookies = "old";
    std::string headers;
    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = server.url("/c"), .cookies = " sid=9; t=1 ",
                                           .cookiesOut = &cookies, .responseHeadersOut = &headers})),
              "c");
    EXPECT_EQ(server.lastRequest("/c").header("Cookie"), "sid=9; t=1");
    // A header block longer than the first buffer keeps its cookies.
    EXPECT_EQ(cookies, "a=1; c=x=y; d=2");
    EXPECT_NE(headers.find(bigHeader), std::string::npos);
    EXPECT_EQ(headers.rfind("HTTP/1.1 200", 0), 0u);
}

TEST_F(TimedRequestTest, StoredCookiesReachTheSystemStore) {
    server.script("/store", okAnswer("s", {"Set-Cookie: storedone=abc; path=/", "Set-Cookie: storedtwo=x=y"}));
    httpRequestWithTimeout({.address = server.url("/store"), .storeCookies = true});
    char buffer[4096] = {};
    DWORD length = sizeof buffer;
    ASSERT_TRUE(InternetGetCookieA("http://127.0.0.1/", nullptr, buffer, &length));
    const std::string jar(buffer);
    EXPECT_NE(jar.find("storedone=abc"), std::string::npos) << jar;
    EXPECT_NE(jar.find("storedtwo=x=y"), std::string::npos) << jar;
}

TEST_F(TimedRequestTest, AnAbandonedRequestStoresNoCookie) {
    struct Case {
        const char* why;
        std::string cookie;
        bool cancelled;
    };
    const Case cases[] = {
        {"the limit passed before the answer", "timed_after_limit", false},
        {"the cancel event was set before the answer", "timed_after_cancel", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Answer late = okAnswer("late", {"Set-Cookie: " + c.cookie + "=1; path=/"});
        late.delayBeforeHeaders = std::chrono::milliseconds(600);
        server.script("/" + c.cookie, late);
        std::optional<test::ScopedCancelEvent> cancel;
        if (c.cancelled) cancel.emplace().setAfter(100);
        test::ScopedRequestLimit limit(c.cancelled ? 10000 : 200);
        EXPECT_TRUE(httpRequestWithTimeout({.address = server.url("/" + c.cookie), .storeCookies = true}).empty());
        cancel.reset();
        // The answer reaches the abandoned request thread meanwhile.
        Sleep(1200);
        const std::string stored = test::storedCookies("http://127.0.0.1/");
        EXPECT_EQ(stored.find(c.cookie), std::string::npos) << stored;
    }
}

TEST_F(TimedRequestTest, TheStoresCookiesGoOutWhereWinInetWouldSendThem) {
    InternetSetCookieA("http://127.0.0.1/", "timed_jar", "1");
    server.script("/jar", okAnswer("jar"));
    struct Case {
        const char* why;
        std::string cookies;
        bool storeCookies;
        bool jarSent;
    };
    const Case cases[] = {
        {"no cookies of the caller's", "", false, true},
        {"the caller's cookies alone", "mine=2", false, false},
        {"the caller's and then the store's when storing", "mine=2", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(bodyText(httpRequestWithTimeout(
                      {.address = server.url("/jar"), .cookies = c.cookies, .storeCookies = c.storeCookies})),
                  "jar");
        const std::string sent = server.lastRequest("/jar").header("Cookie");
        // Other tests of this program store cookies for the host too.
        EXPECT_TRUE(sent.starts_with(c.cookies)) << sent;
        EXPECT_EQ(sent.find("timed_jar=1") != std::string::npos, c.jarSent) << sent;
    }
}

TEST_F(TimedRequestTest, BodiesComeBackByteForByte) {
    std::string zeros("a\0b\0\0c", 6);
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 % 251);
    struct Case {
        std::string name;
        Answer answer;
    };
    std::vector<Case> cases = {{"zeros", okAnswer(zeros)}, {"big", okAnswer(big)}, {"empty", okAnswer("")}};
    Answer chunked = okAnswer(big);
    chunked.framing = Framing::Chunked;
    cases.push_back({"chunked", chunked});
    Answer closed = okAnswer(zeros + "closed");
    closed.framing = Framing::Close;
    cases.push_back({"close-delimited", closed});
    Answer missing = okAnswer("gone");
    missing.status = 404;
    missing.reason = "Not Found";
    cases.push_back({"404", missing});
    Answer broken = okAnswer("server error body");
    broken.status = 500;
    broken.reason = "Internal Server Error";
    cases.push_back({"500", broken});
    // A gzip body stays as it came: the callers unpack it themselves.
    const std::string gzipped(
        "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xcb\x48\xcd\xc9\xc9\x57\x48\xaf\xca\x2c\x50\x48\xca\x4f"
        "\xa9\x04\x00\xad\xd6\xc9\x4c\x0f\x00\x00\x00",
        35);
    cases.push_back({"gzip", okAnswer(gzipped, {"Content-Encoding: gzip"})});
    Answer trickle = okAnswer(std::string(20000, 't'));
    trickle.trickleBytes = 3000;
    trickle.trickleGap = std::chrono::milliseconds(30);
    cases.push_back({"trickle", trickle});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.script("/" + c.name, c.answer);
        EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = server.url("/" + c.name)})), c.answer.body);
    }
}

// A body past the caller's bound is not read on: the request fails.
TEST_F(TimedRequestTest, ABodyLongerThanItsBoundFails) {
    const std::string body(5000, 'p');
    Answer chunked = okAnswer(body);
    chunked.framing = Framing::Chunked;
    chunked.trickleBytes = 1000;
    server.script("/sized", okAnswer(body));
    server.script("/chunked", chunked);
    struct Case {
        const char* path;
        std::size_t bound;
        bool whole;
    };
    for (const Case c : {Case{"/sized", 5000, true}, Case{"/sized", 4999, false}, Case{"/chunked", 4999, false},
                         Case{"/chunked", 5000, true}}) {
        SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.bound));
        const std::string answer =
            bodyText(httpRequestWithTimeout({.address = server.url(c.path), .maxBodyBytes = c.bound}));
        EXPECT_EQ(answer, c.whole ? body : "");
    }
}

TEST_F(TimedRequestTest, AResetMidBodyGivesWhatWasRead) {
    Answer reset = okAnswer(std::string(100000, 'r'));
    reset.resetAfterBodyBytes = 5000;
    server.script("/reset", reset);
    test::ScopedRequestLimit limit(10000);
    const std::string body = bodyText(httpRequestWithTimeout({.address = server.url("/reset")}));
    EXPECT_LE(body.size(), 5000u);
    EXPECT_EQ(body, std::string(body.size(), 'r'));
}

TEST(TimedRequestLimit, SecondsGivenOrNinetyAndTheProcessLimitBeforeBoth) {
    struct Case {
        const char* why;
        int timeLimit;
        std::optional<int> processLimitMs;
        int limitMs;
    };
    const Case cases[] = {
        {"neither limit given", 0, std::nullopt, 90000},
        {"seconds given", 5, std::nullopt, 5000},
        {"the process's limit only", 0, 250, 250},
        {"both given", 5, 250, 250},
    };
    for (const Case& c : cases) {
        test::ScopedRequestLimit limit(c.processLimitMs);
        EXPECT_EQ(timedRequestLimitMs({.timeLimit = c.timeLimit}), c.limitMs) << c.why;
    }
}

TEST_F(TimedRequestTest, ATimeOutReturnsNothingAndLeavesOutputsAlone) {
    Answer slow = okAnswer("late");
    slow.delayBeforeHeaders = std::chrono::milliseconds(3000);
    server.script("/slow", slow);
    std::string headers = "kept", cookies = "kept";
    test::ScopedRequestLimit limit(300);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(
        httpRequestWithTimeout({.address = server.url("/slow"), .cookiesOut = &cookies, .responseHeadersOut = &headers})
            .empty());
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(headers, "kept");
    EXPECT_EQ(cookies, "kept");
}

TEST_F(TimedRequestTest, WindowMessagesDoNotProlongTheWait) {
    Answer slow = okAnswer("late");
    slow.delayBeforeHeaders = std::chrono::milliseconds(4000);
    server.script("/slow", slow);
    const DWORD waiter = GetCurrentThreadId();
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // gives this thread its queue
    std::atomic<bool> done = false;
    std::thread chatter([&] {
        while (!done) {
            PostThreadMessageW(waiter, WM_USER, 0, 0);
            Sleep(10);
        }
    });
    test::ScopedRequestLimit limit(500);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(httpRequestWithTimeout({.address = server.url("/slow"), .keepInterfaceAlive = true}).empty());
    const DWORD elapsed = GetTickCount() - start;
    done = true;
    chatter.join();
    EXPECT_GE(elapsed, 450u);
    EXPECT_LT(elapsed, 2000u);
}

TEST_F(TimedRequestTest, TheThreadsCancelEventEndsTheWait) {
    Answer slow = okAnswer("late");
    slow.delayBeforeHeaders = std::chrono::milliseconds(3000);
    server.script("/slow", slow);
    server.script("/fast", okAnswer("fast"));
    HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    setRequestCancelEvent(cancel);
    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = server.url("/fast")})), "fast");
    std::thread canceller([&] {
        Sleep(200);
        SetEvent(cancel);
    });
    const DWORD start = GetTickCount();
    EXPECT_TRUE(httpRequestWithTimeout({.address = server.url("/slow")}).empty());
    EXPECT_LT(GetTickCount() - start, 1500u);
    canceller.join();
    setRequestCancelEvent(nullptr);
    CloseHandle(cancel);
    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = server.url("/fast")})), "fast");
}

TEST_F(TimedRequestTest, ManyTimeOutsLeaveNothingBehind) {
    server.script("/fast", okAnswer("fast"));
    ASSERT_EQ(bodyText(httpRequestWithTimeout({.address = server.url("/fast")})), "fast");
    const int threadsBefore = test::threadCount();

    Answer slow = okAnswer("late");
    slow.delayBeforeHeaders = std::chrono::milliseconds(1500);
    server.script("/slow", slow);
    Answer trickle = okAnswer(std::string(4000, 't'));
    trickle.trickleBytes = 10;
    trickle.trickleGap = std::chrono::milliseconds(20);
    server.script("/trickle", trickle);
    {
        test::ScopedRequestLimit limit(100);
        for (int i = 0; i < 20; ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(httpRequestWithTimeout({.address = server.url(i % 2 ? "/slow" : "/trickle")}).empty());
        }
    }
    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = server.url("/fast")})), "fast");

    // The abandoned requests end by themselves, and of their threads only a
    // few are kept for later requests.
    const int threadsLeft = threadsBefore + kIdleRequestThreadsKept + 2;
    const DWORD start = GetTickCount();
    while (test::threadCount() > threadsLeft && GetTickCount() - start < 20000) Sleep(100);
    EXPECT_LE(test::threadCount(), threadsLeft);
    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = server.url("/fast")})), "fast");
}

TEST_F(TimedRequestTest, FiveRequestsAtOnce) {
    for (int i = 0; i < 5; ++i) {
        Answer answer = okAnswer(std::string(200000 + i, static_cast<char>('a' + i)));
        answer.delayBeforeHeaders = std::chrono::milliseconds(200);
        server.script("/item" + std::to_string(i), answer);
    }
    std::string bodies[5];
    std::vector<std::thread> workers;
    const DWORD start = GetTickCount();
    for (int i = 0; i < 5; ++i)
        workers.emplace_back(
            [&, i] { bodies[i] = bodyText(httpRequestWithTimeout({.address = server.url("/item" + std::to_string(i))})); });
    for (auto& worker : workers) worker.join();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bodies[i], std::string(200000 + i, static_cast<char>('a' + i)));
    EXPECT_LT(GetTickCount() - start, 900u);  // they ran side by side
}

}  // namespace
}  // namespace quorvane
