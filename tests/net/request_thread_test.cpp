// The abandonable request thread: answers in time, time-outs, the cancel
// event and work that throws.
#include "net/request_thread.h"

#include "tests/support/cancel_event.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

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
        bool cancelled;
        std::optional<std::string> expected;
        DWORD below;
    };
    auto sawAbandoned = std::make_shared<std::atomic<bool>>(false);
    const Case cases[] = {
        {"an answer in time", [](const RequestExchange&) { return std::string("done"); }, false, "done", 1000},
        {"work that throws fails the request", [](const RequestExchange&) -> std::string {
             throw std::runtime_error("broken");
         },
         false, "", 1000},
        {"work past the limit", outlastingWork(sawAbandoned), false, std::nullopt, 700},
        {"the cancel event", outlastingWork(sawAbandoned), true, std::nullopt, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        *sawAbandoned = false;
        std::optional<test::ScopedCancelEvent> cancel;
        if (c.cancelled) cancel.emplace().setAfter(100);
        const DWORD start = GetTickCount();
        EXPECT_EQ(runOnRequestThread<std::string>(c.cancelled ? 10000 : 300, false, c.work), c.expected);
        EXPECT_LT(GetTickCount() - start, c.below);
        if (!c.expected) {
            // The abandoned thread learns of it and stops early.
            for (int i = 0; i < 100 && !*sawAbandoned; ++i) Sleep(10);
            EXPECT_TRUE(*sawAbandoned);
        }
    }
}

}  // namespace
}  // namespace quorvane
