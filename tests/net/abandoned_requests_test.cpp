// A hundred picture requests to a host that trickles a byte a second: each
// ends at its limit, and the requests it abandons let their threads go
// within a piece of the body instead of living as long as the trickle.
#include "net/com_request.h"
#include "net/timed_request.h"

#include "tests/support/loopback_server.h"
#include "tests/support/process_figures.h"
#include "tests/support/request_limit_scope.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace quorvane {
namespace {

using test::Answer;
using test::LoopbackServer;

constexpr int kLimitMs = 200;

TEST(AbandonedRequests, TricklingPicturesEndAtTheirLimitAndLeaveFewThreads) {
    LoopbackServer server;
    Answer trickle = test::okAnswer(std::string(3600, 't'), {"Content-Type: image/jpeg"});
    trickle.trickleBytes = 1;
    trickle.trickleGap = std::chrono::milliseconds(1000);
    server.script("/trickle.jpg", trickle);

    test::ScopedRequestLimit limit(kLimitMs);
    const int before = test::threadCount();
    int most = before;
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        std::string address = server.url("/trickle.jpg");
        const DWORD start = GetTickCount();
        // Description pictures try the COM request first, then the WinINet one.
        if (i % 2 == 0) {
            ComRequest request;
            request.address = &address;
            EXPECT_TRUE(comHttpRequest(request).empty());
        } else {
            EXPECT_TRUE(httpRequestWithTimeout({.address = address}).empty());
        }
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, static_cast<DWORD>(kLimitMs - 20));
        EXPECT_LT(elapsed, static_cast<DWORD>(kLimitMs + 1000));
        most = std::max(most, test::threadCount());
    }
    // Each request and the server's side of it hold a thread until the next
    // byte comes; a few seconds later only the idle request threads are left.
    Sleep(3000);
    const int after = test::threadCount();
    std::printf("threads: %d before, at most %d during, %d after\n", before, most, after);
    EXPECT_LT(most - before, 40);
    EXPECT_LT(after - before, 15);
}

}  // namespace
}  // namespace quorvane
