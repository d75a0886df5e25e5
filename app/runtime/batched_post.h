#pragma once
// Pieces for one target on the interface thread, issued from any thread and
// handed over there in batches. The first piece posts one effect (post(),
// ui_thread.h); the pieces issued before that effect runs join it, and it
// hands them all over at once, in the order issued. So a piece is never
// applied after an effect issued after it; at most it is applied together
// with earlier pieces, ahead of effects issued in between, which nothing can
// tell apart while the queue runs. An interface thread that keeps up still
// shows every piece at once; one that falls behind does one step for many.
#include "app/runtime/ui_thread.h"

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace quorvane::ui {

template <class Piece>
class BatchedPost {
public:
    using Apply = std::function<void(std::vector<Piece>)>;

    explicit BatchedPost(Apply apply) : shared_(std::make_shared<Shared>(std::move(apply))) {}

    // From any thread.
    void operator()(Piece piece) const {
        bool first = false;
        {
            std::lock_guard guard(shared_->lock);
            first = shared_->pieces.empty();
            shared_->pieces.push_back(std::move(piece));
        }
        if (first) post([shared = shared_] { shared->flush(); });
    }

private:
    struct Shared {
        explicit Shared(Apply applyPieces) : apply(std::move(applyPieces)) {}

        void flush() {
            std::vector<Piece> taken;
            {
                std::lock_guard guard(lock);
                taken.swap(pieces);
            }
            if (!taken.empty()) apply(std::move(taken));
        }

        std::mutex lock;
        std::vector<Piece> pieces;
        Apply apply;
    };

    std::shared_ptr<Shared> shared_;
};

}  // namespace quorvane::ui
