// HTTPS to the loopback server over real TLS, as WinINet and WinHttp see it.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <string>

#include "tests/support/loopback_server.h"
#include "text/com.h"

namespace quorvane::test {
namespace {

struct InternetCloser {
    void operator()(HINTERNET h) const { InternetCloseHandle(h); }
};
using Internet = std::unique_ptr<void, InternetCloser>;

struct Fetched {
    DWORD error = 0;  // of the first call that failed
    DWORD status = 0;
    std::string body;
};

Fetched fetch(int port, const char* method, const char* target, const std::string& payload = {}) {
    Fetched out;
    Internet session(InternetOpenA("tls test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    Internet connection(session ? InternetConnectA(session.get(), "localhost", static_cast<INTERNET_PORT>(port),
                                                   nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)
                                : nullptr);
    Internet request(connection ? HttpOpenRequestA(connection.get(), method, target, nullptr, nullptr, nullptr,
                                                   INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD |
                                                       INTERNET_FLAG_NO_CACHE_WRITE,
                                                   0)
                                : nullptr);
    if (!request ||
        !HttpSendRequestA(request.get(), nullptr, 0, const_cast<char*>(payload.data()),
                          static_cast<DWORD>(payload.size()))) {
        out.error = GetLastError();
        return out;
    }
    DWORD size = sizeof out.status;
    HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &out.status, &size, nullptr);
    char buffer[8192];
    DWORD got = 0;
    for (;;) {
        if (!InternetReadFile(request.get(), buffer, sizeof buffer, &got)) {
            out.error = GetLastError();
            break;
        }
        if (got == 0) break;
        out.body.append(buffer, got);
    }
    return out;
}

Answer answerWith(std::string body) {
    Answer answer;
    answer.body = std::move(body);
    return answer;
}

// Every byte value, and more than one TLS record's worth.
std::string binaryBody() {
    std::string body;
    for (int i = 0; i < 70000; ++i) body += static_cast<char>((i * 7 + i / 256) & 0xff);
    return body;
}

TEST(TlsLoopback, WinInetGetSeesTheBodyAndTheServerSeesTheRequest) {
    LoopbackServer server(Scheme::Https);
    ASSERT_NE(server.port(), 0);
    EXPECT_EQ(server.url("/a"), "https://localhost:" + std::to_string(server.port()) + "/a");
    server.script("/page", answerWith("secure 宝贝"));

    Fetched got = fetch(server.port(), "GET", "/page?q=1");

    EXPECT_EQ(got.error, 0u);
    EXPECT_EQ(got.status, 200u);
    EXPECT_EQ(got.body, "secure 宝贝");
    RecordedRequest request = server.lastRequest("/page");
    EXPECT_EQ(request.requestLine, "GET /page?q=1 HTTP/1.1");
    EXPECT_EQ(request.header("Host"), "localhost:" + std::to_string(server.port()));
}

TEST(TlsLoopback, PostBodyReachesTheServerIntact) {
    LoopbackServer server(Scheme::Https);
    server.script("/post", answerWith("ok"));
    std::string payload = binaryBody();

    Fetched got = fetch(server.port(), "POST", "/post", payload);

    EXPECT_EQ(got.error, 0u);
    EXPECT_EQ(got.body, "ok");
    EXPECT_TRUE(server.lastRequest("/post").body == payload);
}

TEST(TlsLoopback, EveryFramingArrivesWhole) {
    LoopbackServer server(Scheme::Https);
    const std::string body = binaryBody();
    const struct {
        const char* path;
        Framing framing;
        std::size_t trickleBytes;
    } cases[] = {
        {"/length", Framing::ContentLength, 0},
        {"/chunked", Framing::Chunked, 0},
        {"/close", Framing::Close, 0},
        {"/trickled", Framing::Chunked, 20000},
    };
    for (const auto& c : cases) {
        Answer answer = answerWith(body);
        answer.framing = c.framing;
        answer.trickleBytes = c.trickleBytes;
        answer.trickleGap = std::chrono::milliseconds(20);
        server.script(c.path, answer);
        Fetched got = fetch(server.port(), "GET", c.path);
        EXPECT_EQ(got.error, 0u) << c.path;
        EXPECT_EQ(got.body.size(), body.size()) << c.path;
        EXPECT_TRUE(got.body == body) << c.path;
    }
}

// Ended by the connection, the body could pass for complete if the relay
// turned the server's reset into an orderly close.
TEST(TlsLoopback, ResetMidBodyReachesTheClientAsAFailure) {
    LoopbackServer server(Scheme::Https);
    Answer cut = answerWith(std::string(50000, 'x'));
    cut.framing = Framing::Close;
    cut.resetAfterBodyBytes = 1000;
    server.script("/cut", cut);

    Fetched got = fetch(server.port(), "GET", "/cut");

    EXPECT_NE(got.error, 0u);
    EXPECT_LT(got.body.size(), 50000u);
}

TEST(TlsLoopback, WinHttpRequestGet) {
    ComScope com;
    LoopbackServer server(Scheme::Https);
    Answer text = answerWith("over com");
    text.headerLines = {"Content-Type: text/plain"};
    server.script("/com", text);
    ComPtr<IDispatch> request = createComObject(L"WinHttp.WinHttpRequest.5.1");
    ASSERT_TRUE(request);

    Variant ignored, status, responseText;
    ASSERT_TRUE(comCall(request.get(), L"Open", ignored,
                        {Variant::fromGbk("GET").get(), Variant::fromGbk(server.url("/com")).get(),
                         Variant::fromBool(false).get()}));
    ASSERT_TRUE(comCall(request.get(), L"Send", ignored));
    ASSERT_TRUE(comGet(request.get(), L"Status", status));
    ASSERT_TRUE(comGet(request.get(), L"ResponseText", responseText));

    EXPECT_EQ(status.toInt(), 200);
    EXPECT_EQ(responseText.toGbk(), "over com");
    EXPECT_EQ(server.lastRequest("/com").method, "GET");
}

}  // namespace
}  // namespace quorvane::test
