// The abandonable request thread: answers in time, time-outs, the cancel
// event and work that throws.
#include "net/request_thread.h"

#include "tests/support/cancel_event.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace quorvane {
namespace {

using Work = std::function<std::string(const RequestExchange&)>;

// Work that lasts until the caller gives up, and says whether it saw that.
Work outlastingWork(std::shared_ptr<std::atomic<bool>> sawAbandoned) {
    return [sawAbandoned](const RequestExchange& exchange) {
        for (int i = 0; i < 300 && !exchange.abandoned(); ++i) Sleep(10);
        *sawAbandoned = exchange.abandoned();
        return std::string("late");
    };
}

TEST(RequestThread, AnswersTimeOutsCancellationAndExceptions) {
    struct Case {
        const char* why;
        Work work;
        DWORD limit;
        bool cancelled;
        std::optional<std::string> expected;
        DWORD below;
    };
    auto sawAbandoned = std::make_shared<std::atomic<bool>>(false);
    const Case cases[] = {
        // Limits and times leave room for a loaded machine, where starting a
        // thread alone can take a few hundred milliseconds; the outlasting
        // work lasts 3 s, so an answer before 2 s is the caller giving up.
        {"an answer in time", [](const RequestExchange&) { return std::string("done"); }, 10000, false, "done", 5000},
        {"work that throws fails the request", [](const RequestExchange&) -> std::string {
             throw std::runtime_error("broken");
         },
         10000, false, "", 5000},
        {"work past the limit", outlastingWork(sawAbandoned), 300, false, std::nullopt, 2000},
        {"the cancel event", outlastingWork(sawAbandoned), 10000, true, std::nullopt, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        *sawAbandoned = false;
        std::optional<test::ScopedCancelEvent> cancel;
        if (c.cancelled) cancel.emplace().setAfter(100);
        const DWORD start = GetTickCount();
        EXPECT_EQ(runOnRequestThread<std::string>(c.limit, false, c.work), c.expected);
        EXPECT_LT(GetTickCount() - start, c.below);
        if (!c.expected) {
            // The abandoned thread learns of it and stops early.
            for (int i = 0; i < 100 && !*sawAbandoned; ++i) Sleep(10);
            EXPECT_TRUE(*sawAbandoned);
        }
    }
}

// Once the thread's cancel event is set, a step that asks again learns so,
// and its requests start no work at all.
TEST(RequestThread, ACancelledThreadStartsNoMoreWork) {
    EXPECT_FALSE(requestsCancelled());
    test::ScopedCancelEvent cancel;
    EXPECT_FALSE(requestsCancelled());
    cancel.setAfter(0);
    for (int i = 0; i < 100 && !requestsCancelled(); ++i) Sleep(10);
    EXPECT_TRUE(requestsCancelled());
    auto ran = std::make_shared<std::atomic<bool>>(false);
    EXPECT_EQ(runOnRequestThread<std::string>(10000, false,
                                              [ran](const RequestExchange&) {
                                                  *ran = true;
                                                  return std::string("done");
                                              }),
              std::nullopt);
    Sleep(100);
    EXPECT_FALSE(*ran);
}

// Request threads are reused, but a request never waits for one that is
// still busy with an abandoned request: both here outlast their callers.
TEST(RequestThread, ARequestDoesNotWaitForAnAbandonedOne) {
    auto stillBusy = std::make_shared<std::atomic<int>>(0);
    const Work busy = [stillBusy](const RequestExchange&) {
        ++*stillBusy;
        Sleep(1500);
        --*stillBusy;
        return std::string("late");
    };
    EXPECT_EQ(runOnRequestThread<std::string>(100, false, busy), std::nullopt);
    EXPECT_EQ(runOnRequestThread<std::string>(100, false, busy), std::nullopt);
    EXPECT_EQ(*stillBusy, 2);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const DWORD start = GetTickCount();
        EXPECT_EQ(runOnRequestThread<std::string>(1000, false, [](const RequestExchange&) { return std::string("x"); }),
                  std::optional<std::string>("x"));
        EXPECT_LT(GetTickCount() - start, 500u);
    }
    EXPECT_EQ(*stillBusy, 2);
    // Many at once from several threads: each gets a thread of its own.
    std::vector<std::thread> callers;
    std::atomic<int> answered{0};
    for (int i = 0; i < 6; ++i)
        callers.emplace_back([&] {
            if (runOnRequestThread<std::string>(3000, false, [](const RequestExchange&) {
                    Sleep(300);
                    return std::string("y");
                }) == std::optional<std::string>("y"))
                ++answered;
        });
    const DWORD start = GetTickCount();
    for (std::thread& caller : callers) caller.join();
    EXPECT_EQ(answered, 6);
    EXPECT_LT(GetTickCount() - start, 1500u);
}

}  // namespace
}  // namespace quorvane
