// The COM request on a loopback server: what goes on the wire, what comes
// back, the variables it changes, time-outs and the no-object notice.
#include "net/com_request.h"

#include "tests/support/cancel_event.h"
#include "tests/support/loopback_server.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace quorvane {
namespace {

using test::Answer;
using test::LoopbackServer;

const std::string kAccept =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

Answer answerWith(std::string body, std::vector<std::string> headerLines = {}, int status = 200) {
    Answer answer;
    answer.status = status;
    answer.reason = status == 200 ? "OK" : "Error";
    answer.headerLines = std::move(headerLines);
    answer.body = std::move(body);
    return answer;
}

TEST(ComHttpRequest, AnAddressAloneSendsAFormGetWithItselfAsReferrer) {
    LoopbackServer server;
    server.script("/pic.jpg", answerWith("jpeg"));
    std::string address = server.url("/pic.jpg?w=1");
    ComRequest request;
    request.address = &address;

    EXPECT_EQ(comHttpRequest(request), bytesOf("jpeg"));
    const auto sent = server.lastRequest("/pic.jpg");
    EXPECT_EQ(sent.requestLine, "GET /pic.jpg?w=1 HTTP/1.1");
    EXPECT_EQ(sent.header("Referer"), address);
    EXPECT_EQ(sent.header("Accept"), kAccept);
    EXPECT_EQ(sent.header("Accept-Language"), "zh-cn");
    EXPECT_EQ(sent.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_FALSE(sent.hasHeader("Cookie"));
    EXPECT_EQ(sent.body, "");
}

struct WireCase {
    std::string method, body, cookies, referrer;
    std::string sentMethod, methodAfter, referrerAfter;  // referrerAfter empty: the address
};

TEST(ComHttpRequest, SendsMethodBodyCookiesAndReferrerAsGiven) {
    LoopbackServer server;
    server.script("/form", answerWith("ok"));
    const WireCase cases[] = {
        {"", "", "", "", "GET", "GET", ""},
        {"POST", "a=1&b=2", "sid=9; t=1", "http://shop.example/list", "POST", "POST", "http://shop.example/list"},
        {"PUT", "x", "only=1", "", "PUT", "PUT", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method + " " + c.body);
        std::string address = server.url("/form");
        std::string method = c.method;
        std::string referrer = c.referrer;
        ComRequest request;
        request.address = &address;
        request.method = &method;
        request.referrer = &referrer;
        request.body = c.body;
        request.cookies = c.cookies;

        EXPECT_EQ(comHttpRequest(request), bytesOf("ok"));
        const auto sent = server.lastRequest("/form");
        EXPECT_EQ(sent.method, c.sentMethod);
        EXPECT_EQ(sent.body, c.body);
        EXPECT_EQ(sent.hasHeader("Cookie"), !c.cookies.empty());
        EXPECT_EQ(sent.header("Cookie"), c.cookies);
        EXPECT_EQ(sent.header("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(method, c.methodAfter);
        EXPECT_EQ(referrer, c.referrerAfter.empty() ? address : c.referrerAfter);
        EXPECT_EQ(sent.header("Referer"), referrer);
    }
}

TEST(ComHttpRequest, ReturnsTheBodyOfAnyStatusByteForByte) {
    LoopbackServer server;
    const std::string binary("\xff\xd8\0\0\x01\r\n\x80zz", 10);
    struct Case {
        std::string path;
        Answer answer;
    } cases[] = {
        {"/binary", answerWith(binary)},
        {"/missing", answerWith("no such picture", {}, 404)},
        {"/broken", answerWith("server fault", {}, 500)},
        {"/chunked", [&] {
             Answer a = answerWith(std::string(70000, 'c') + binary);
             a.framing = test::Framing::Chunked;
             a.trickleBytes = 30000;
             return a;
         }()},
        {"/empty", answerWith("")},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.path);
        server.script(c.path, c.answer);
        std::string address = server.url(c.path);
        ComRequest request;
        request.address = &address;
        EXPECT_EQ(comHttpRequest(request), bytesOf(c.answer.body));
    }
}

// An answer past the caller's bound fails, whether its length is declared
// or not.
TEST(ComHttpRequest, AnAnswerLongerThanItsBoundFails) {
    LoopbackServer server;
    const std::string body(5000, 'p');
    Answer chunked = answerWith(body);
    chunked.framing = test::Framing::Chunked;
    chunked.trickleBytes = 1000;
    server.script("/sized", answerWith(body));
    server.script("/chunked", chunked);
    struct Case {
        const char* path;
        std::size_t bound;
        bool whole;
    };
    for (const Case c : {Case{"/sized", 5000, true}, Case{"/sized", 4999, false}, Case{"/chunked", 4999, false},
                         Case{"/chunked", 5000, true}}) {
        SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.bound));
        std::string address = server.url(c.path);
        ComRequest request;
        request.address = &address;
        request.maxBodyBytes = c.bound;
        EXPECT_EQ(comHttpRequest(request), c.whole ? bytesOf(body) : Bytes());
    }
}

TEST(ComHttpRequest, AppendsTheAnswersCookiesToWhatTheVariableHolds) {
    LoopbackServer server;
    server.script("/set", answerWith("", {"Set-Cookie: a=1; path=/", "Set-Cookie: gone=; expires=Thu, 01 Jan 1970 00:00:00 GMT",
                                          "Set-Cookie: t=x=y==; domain=.example.test"}));
    server.script("/none", answerWith(""));
    struct Case {
        std::string path, before, after;
    } cases[] = {
        {"/set", "", "a=1; t=x=y=="},
        {"/set", "old=1", "old=1; a=1; t=x=y=="},
        {"/none", "old=1", "old=1"},
        {"/none", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + c.before);
        std::string address = server.url(c.path);
        std::string cookies = c.before;
        ComRequest request;
        request.address = &address;
        request.cookiesOut = &cookies;
        comHttpRequest(request);
        EXPECT_EQ(cookies, c.after);
    }
}

TEST(ComHttpRequest, ARefusedConnectionGivesNothing) {
    std::string address = "http://127.0.0.1:" + std::to_string(test::refusedPort()) + "/x";
    std::string cookies = "old=1";
    ComRequest request;
    request.address = &address;
    request.cookiesOut = &cookies;
    EXPECT_TRUE(comHttpRequest(request).empty());
    EXPECT_EQ(cookies, "old=1");
}

// Headers and the first bytes go out at once, the rest of the body never
// comes: Wine's request objects would wait for it for more than ten minutes.
Answer stalledBody() {
    Answer answer = answerWith(std::string(1000, 's'));
    answer.trickleBytes = 10;
    answer.trickleGap = std::chrono::milliseconds(60000);
    return answer;
}

TEST(ComHttpRequest, AStalledBodyEndsTheWaitAtTheLimitOrAtTheCancelEvent) {
    LoopbackServer server;
    server.script("/stalled", stalledBody());
    server.script("/after", answerWith("after"));
    struct Case {
        const char* why;
        int timeLimit;
        std::optional<int> processLimitMs;
        bool cancelled;
        DWORD atLeast, below;
    };
    const Case cases[] = {
        {"the process's limit in milliseconds", 0, 400, false, 350, 1500},
        {"a limit of one second", 1, std::nullopt, false, 950, 2500},
        {"the cancel event set before the default limit", 0, std::nullopt, true, 0, 1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::string address = server.url("/stalled");
        std::string method, referrer, cookies = "kept";
        ComRequest request;
        request.address = &address;
        request.method = &method;
        request.referrer = &referrer;
        request.cookiesOut = &cookies;
        request.timeLimit = c.timeLimit;
        test::ScopedRequestLimit limit(c.processLimitMs);
        std::optional<test::ScopedCancelEvent> cancel;
        if (c.cancelled) cancel.emplace().setAfter(200);

        const DWORD start = GetTickCount();
        EXPECT_TRUE(comHttpRequest(request).empty());
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, c.atLeast);
        EXPECT_LT(elapsed, c.below);
        EXPECT_EQ(method, "");
        EXPECT_EQ(referrer, "");
        EXPECT_EQ(cookies, "kept");

        // The abandoned request holds nothing up, the cancel event gone.
        cancel.reset();
        std::string next = server.url("/after");
        ComRequest after;
        after.address = &next;
        EXPECT_EQ(comHttpRequest(after), bytesOf("after"));
    }
}

struct NoticeSeen {
    int count = 0;
    std::string text, title;
    unsigned style = 0;
    DWORD thread = 0;
};
NoticeSeen noticeSeen;

void recordNotice(std::string_view text, std::string_view title, unsigned style) {
    ++noticeSeen.count;
    noticeSeen.text = text;
    noticeSeen.title = title;
    noticeSeen.style = style;
    noticeSeen.thread = GetCurrentThreadId();
}

TEST(ComHttpRequest, WithoutARequestObjectSaysSoAndWritesNothing) {
    const wchar_t* const missing[] = {L"Quorvane.NoSuchRequest.1", L"Quorvane.NoSuchRequest.2"};
    std::string address = "http://127.0.0.1:1/x";
    std::string method, referrer, cookies;
    ComRequest request;
    request.address = &address;
    request.method = &method;
    request.referrer = &referrer;
    request.cookiesOut = &cookies;
    noticeSeen = {};

    EXPECT_TRUE(comHttpRequest(request, missing, recordNotice).empty());
    EXPECT_EQ(noticeSeen.count, 1);
    EXPECT_EQ(noticeSeen.text, "系统不支持本操作");
    EXPECT_EQ(noticeSeen.title, "信息：");
    EXPECT_EQ(noticeSeen.style, 0x30u);
    // The box holds the calling worker, not the request thread.
    EXPECT_EQ(noticeSeen.thread, GetCurrentThreadId());
    EXPECT_EQ(method, "");
    EXPECT_EQ(referrer, "");
}

TEST(ComHttpRequest, FallsBackToTheNextObjectThatCanBeCreated) {
    LoopbackServer server;
    server.script("/next", answerWith("from the second object"));
    const wchar_t* const objects[] = {L"Quorvane.NoSuchRequest.1", L"MSXML2.ServerXMLHTTP.6.0"};
    std::string address = server.url("/next");
    ComRequest request;
    request.address = &address;
    noticeSeen = {};

    EXPECT_EQ(comHttpRequest(request, objects, recordNotice), bytesOf("from the second object"));
    EXPECT_EQ(noticeSeen.count, 0);
    EXPECT_EQ(server.lastRequest("/next").header("Referer"), address);
}

TEST(ComHttpRequest, FiveThreadsAtOnceEachGetTheirOwnAnswer) {
    LoopbackServer server;
    for (int i = 0; i < 5; ++i) {
        Answer answer = answerWith("picture " + std::to_string(i));
        answer.delayBeforeHeaders = std::chrono::milliseconds(400);
        server.script("/p" + std::to_string(i), answer);
    }
    std::vector<Bytes> bodies(5);
    std::vector<std::thread> workers;
    for (int i = 0; i < 5; ++i) {
        workers.emplace_back([&, i] {
            std::string address = server.url("/p" + std::to_string(i));
            ComRequest request;
            request.address = &address;
            bodies[i] = comHttpRequest(request);
        });
    }
    for (auto& worker : workers) worker.join();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bodies[i], bytesOf("picture " + std::to_string(i)));
}

}  // namespace
}  // namespace quorvane
