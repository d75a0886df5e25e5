// Every request kind against answers just inside and just past its bound,
// in each framing: a longer answer is no answer, and the calling thread's
// log is told its address.
#include "net/answer_bounds.h"
#include "net/com_request.h"
#include "net/page_request.h"
#include "net/timed_request.h"

#include "tests/support/loopback_server.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvane {
namespace {

using test::Answer;
using test::Framing;
using test::LoopbackServer;

constexpr std::size_t kBound = 5000;

struct Kind {
    const char* name;
    std::function<Bytes(const std::string& address)> request;
};

const Kind kKinds[] = {
    {"timed WinINet request",
     [](const std::string& address) { return httpRequestWithTimeout({.address = address, .maxBodyBytes = kBound}); }},
    {"page request",
     [](std::string address) { return fetchWebPage({.address = &address, .maxBodyBytes = kBound}); }},
    {"COM request",
     [](std::string address) {
         ComRequest request;
         request.address = &address;
         request.maxBodyBytes = kBound;
         return comHttpRequest(request);
     }},
    {"COM request with browser cookies",
     [](std::string address) { return comRequestWithBrowserCookies({.address = &address, .maxBodyBytes = kBound}); }},
};

std::string pathFor(const char* framing, std::size_t size) {
    std::string path = "/";
    path += framing;
    path += std::to_string(size);
    return path;
}

TEST(AnswerBounds, ALongerAnswerIsNoneAndItsAddressIsLogged) {
    LoopbackServer server;
    const struct {
        const char* name;
        Framing framing;
    } framings[] = {{"length", Framing::ContentLength}, {"chunked", Framing::Chunked}, {"close", Framing::Close}};
    for (const auto& f : framings) {
        for (std::size_t size : {kBound, kBound + 1}) {
            Answer answer;
            answer.body = std::string(size, 'b');
            answer.framing = f.framing;
            // In pieces, so that the bound is met while the body comes in.
            answer.trickleBytes = 1000;
            server.script(pathFor(f.name, size), answer);
        }
    }
    std::vector<std::string> logged;
    const ScopedOversizedAnswerLog log([&](const std::string& address, std::size_t bound) {
        EXPECT_EQ(bound, kBound);
        logged.push_back(address);
    });
    for (const Kind& kind : kKinds) {
        for (const auto& f : framings) {
            for (std::size_t size : {kBound, kBound + 1}) {
                const std::string address = server.url(pathFor(f.name, size));
                SCOPED_TRACE(std::string(kind.name) + ", " + address);
                logged.clear();
                const Bytes body = kind.request(address);
                if (size <= kBound) {
                    EXPECT_EQ(body, Bytes(size, 'b'));
                    EXPECT_TRUE(logged.empty());
                } else {
                    EXPECT_TRUE(body.empty());
                    EXPECT_EQ(logged, std::vector<std::string>{address});
                }
            }
        }
    }
}

}  // namespace
}  // namespace quorvane
