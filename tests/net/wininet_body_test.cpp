// Reading an answer's body: large bodies whole, and a body that trickles in
// never keeps the reader from being told to stop.
#include "net/wininet_handle.h"

#include "tests/support/loopback_server.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane {
namespace {

using test::Answer;
using test::LoopbackServer;
using test::okAnswer;

// A sent GET request for path, ready for its body to be read.
class SentRequest {
public:
    SentRequest(const LoopbackServer& server, const std::string& path, int limitMs = 20000)
        : internet_(InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)),
          connection_(InternetConnectA(internet_.get(), "127.0.0.1", static_cast<INTERNET_PORT>(server.port()), "",
                                       "", INTERNET_SERVICE_HTTP, 0, 0)),
          request_(HttpOpenRequestA(connection_.get(), "GET", path.c_str(), "HTTP/1.1", nullptr, nullptr,
                                    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)) {
        limitRequestTimes(request_.get(), limitMs);
        sent_ = HttpSendRequestA(request_.get(), nullptr, 0, nullptr, 0);
    }
    bool sent() const { return sent_; }
    HINTERNET get() const { return request_.get(); }

private:
    InternetHandle internet_, connection_, request_;
    bool sent_ = false;
};

TEST(WininetBodyTest, BodiesOfEverySizeComeWhole) {
    LoopbackServer server;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{2048}, std::size_t{65537},
                                   std::size_t{3 << 20}}) {
        SCOPED_TRACE(size);
        std::string body(size, '\0');
        for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 23);
        server.script("/body", okAnswer(body));
        SentRequest request(server, "/body");
        ASSERT_TRUE(request.sent());
        BodyEnd end = BodyEnd::Cut;
        EXPECT_EQ(readWholeBody(request.get(), [] { return false; }, std::string::npos, &end), body);
        EXPECT_EQ(end, BodyEnd::Whole);
    }
}

// Stopped after its first piece, the read ends long before the rest of a
// body of a hundred bytes every 200 ms would be in (4 s).
TEST(WininetBodyTest, ATricklingBodyIsLeftAsSoonAsTheReaderIsTold) {
    LoopbackServer server;
    Answer trickle = okAnswer(std::string(2000, 't'));
    trickle.trickleBytes = 100;
    trickle.trickleGap = std::chrono::milliseconds(200);
    server.script("/trickle", trickle);
    SentRequest request(server, "/trickle");
    ASSERT_TRUE(request.sent());
    int asked = 0;
    const DWORD start = GetTickCount();
    BodyEnd end = BodyEnd::Whole;
    const std::string body = readWholeBody(request.get(), [&] { return ++asked > 1; }, std::string::npos, &end);
    EXPECT_EQ(end, BodyEnd::Stopped);
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_FALSE(body.empty());
    EXPECT_LT(body.size(), 2000u);
    EXPECT_EQ(body, std::string(body.size(), 't'));
}

// A body that stops coming past the receive limit ends the read as cut, not
// as a whole answer: the request routines must not take it for one.
TEST(WininetBodyTest, ABodyCutByTheTimeLimitIsNotWhole) {
    LoopbackServer server;
    Answer stalled = okAnswer(std::string(2000, 's'));
    stalled.trickleBytes = 100;
    stalled.trickleGap = std::chrono::milliseconds(3000);
    server.script("/stalled", stalled);
    SentRequest request(server, "/stalled", 500);
    ASSERT_TRUE(request.sent());
    BodyEnd end = BodyEnd::Whole;
    const std::string body = readWholeBody(request.get(), [] { return false; }, std::string::npos, &end);
    EXPECT_EQ(end, BodyEnd::Cut);
    EXPECT_LT(body.size(), 2000u);
}

}  // namespace
}  // namespace quorvane
