// A picture answer far past its bound, chunked so that no length warns of
// it, costs the COM request neither its memory nor its next request. In a
// test program of its own, so that the peak working set is this case's.
#include "net/com_request.h"

#include "tests/support/loopback_server.h"
#include "tests/support/process_figures.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace quorvane {
namespace {

using test::Answer;
using test::LoopbackServer;

constexpr std::size_t kPictureBound = 20u << 20;

TEST(ComRequestMemory, A200MbChunkedAnswerIsRefusedWithoutBeingHeld) {
    LoopbackServer server;
    Answer huge;
    huge.framing = test::Framing::Chunked;
    huge.headerLines = {"Content-Type: image/jpeg"};
    huge.fillerBytes = 200u << 20;
    server.script("/huge.jpg", huge);
    server.script("/next.jpg", test::okAnswer("next"));

    std::string address = server.url("/huge.jpg");
    ComRequest request;
    request.address = &address;
    request.maxBodyBytes = kPictureBound;
    request.timeLimit = 60;
    const DWORD start = GetTickCount();
    EXPECT_TRUE(comHttpRequest(request).empty());
    const DWORD elapsed = GetTickCount() - start;
    const std::size_t peak = test::peakWorkingSetMb();
    std::printf("200 MB chunked answer: refused after %lu ms, peak working set %zu MB\n", elapsed, peak);
    EXPECT_LT(peak, 150u);

    std::string next = server.url("/next.jpg");
    ComRequest after;
    after.address = &next;
    EXPECT_EQ(test::bodyText(comHttpRequest(after)), "next");
}

}  // namespace
}  // namespace quorvane
