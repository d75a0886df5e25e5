#pragma once
// How much of an answer a request takes. A body longer than its request's
// bound counts as no answer at all: what a caller makes of a cut page or
// picture would be wrong, and a whole one could exhaust the 32-bit process
// (five workers, each holding an answer two or three times over while it
// converts it).
#include <cstddef>
#include <functional>
#include <string>

namespace quorvane {

// Pages and service answers: the largest item pages are a few hundred KB.
inline constexpr std::size_t kLargestAnswerBytes = 4u << 20;

// Told, on the thread that made the request, the address of an answer
// refused for its size and the bound it passed.
using OversizedAnswerLog = std::function<void(const std::string& address, std::size_t bound)>;

// The calling thread's log while the object lives. The thread keeps only a
// plain pointer to it: a thread_local with a destructor was seen to crash
// this toolchain's runtime at a worker's end.
class ScopedOversizedAnswerLog {
public:
    explicit ScopedOversizedAnswerLog(OversizedAnswerLog log);
    ~ScopedOversizedAnswerLog();
    ScopedOversizedAnswerLog(const ScopedOversizedAnswerLog&) = delete;
    ScopedOversizedAnswerLog& operator=(const ScopedOversizedAnswerLog&) = delete;

private:
    OversizedAnswerLog log_;
    const OversizedAnswerLog* previous_;
};

// Called by the requests when they refuse an answer.
void logOversizedAnswer(const std::string& address, std::size_t bound);

}  // namespace quorvane
