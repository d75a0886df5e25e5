// The order rule of the worker -> interface channel with batches: workers
// post plain effects and batched pieces at full speed; on the interface
// thread each worker's plain effects and pieces come in the order issued,
// and no piece is applied after a plain effect issued after it.
#include "app/runtime/batched_post.h"
#include "app/runtime/runtime.h"
#include "app/runtime/ui_thread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace quorvane::ui {
namespace {

struct Applied {
    int worker;
    int step;
    bool piece;
};

TEST(EffectOrderTest, BatchedPiecesNeverFollowLaterEffectsOfTheirWorker) {
    startRuntime();
    constexpr int kWorkers = 5;
    constexpr int kSteps = 400;
    std::vector<Applied> applied;  // interface thread only
    std::vector<int> batchSizes;
    const BatchedPost<Applied> pieces([&](std::vector<Applied> batch) {
        batchSizes.push_back(static_cast<int>(batch.size()));
        applied.insert(applied.end(), batch.begin(), batch.end());
    });
    std::vector<std::thread> workers;
    for (int worker = 0; worker < kWorkers; ++worker) {
        workers.emplace_back([&, worker] {
            // Like an item: a few log lines, then a row selection.
            for (int step = 0; step < kSteps; ++step) {
                if (step % 4 == 3) post([&applied, worker, step] { applied.push_back({worker, step, false}); });
                else pieces({worker, step, true});
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    // The interface thread was busy elsewhere meanwhile; now it runs the queue.
    const ULONGLONG end = GetTickCount64() + 10000;
    while (applied.size() < static_cast<std::size_t>(kWorkers * kSteps) && GetTickCount64() < end) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        else Sleep(1);
    }
    ASSERT_EQ(applied.size(), static_cast<std::size_t>(kWorkers * kSteps));

    for (int worker = 0; worker < kWorkers; ++worker) {
        SCOPED_TRACE(worker);
        int lastPiece = -1, lastEffect = -1;
        for (const Applied& a : applied) {
            if (a.worker != worker) continue;
            if (a.piece) {
                EXPECT_GT(a.step, lastPiece) << "pieces out of order";
                EXPECT_GT(a.step, lastEffect) << "a piece came after an effect issued after it";
                lastPiece = a.step;
            } else {
                EXPECT_GT(a.step, lastEffect) << "effects out of order";
                EXPECT_GE(lastPiece, a.step - 1) << "an effect ran before the pieces issued before it";
                lastEffect = a.step;
            }
        }
    }
    // The pieces all came while the interface thread was busy: one batch.
    EXPECT_EQ(batchSizes.size(), 1u);
}

}  // namespace
}  // namespace quorvane::ui
