#pragma once
// Faults for long runs against a loopback server: a chosen share of the
// requests gets a connection reset, a 500, garbage, a stall past the
// program's request limit or a truncated body instead of its answer. The
// choice for a request follows from the seed, its method, address and body,
// and how many requests of the same kind came before it, so a run with the
// same seed sees the same faults on every address's n-th request whatever
// order the workers' requests arrive in.
#include "tests/support/loopback_server.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace quorvane::test {

enum class Fault { None, Reset, ServerError, Garbage, Stall, Truncated };
inline constexpr int kFaultKinds = 5;

struct FaultPlan {
    int percent = 0;  // of the requests, 0 to 100
    std::uint64_t seed = 1;
    // How long a stalled answer is held before it is sent after all: longer
    // than the program's request limit.
    std::chrono::milliseconds stall{0};
};

// The fault of a request that is the `occurrence`-th (from 0) of its kind.
Fault faultFor(const FaultPlan& plan, const std::string& requestKey, std::uint64_t occurrence);

// The answer as this fault leaves it; garbage is drawn from `draw`.
Answer withFault(Fault fault, Answer answer, const FaultPlan& plan, std::uint64_t draw);

class FaultInjector {
public:
    explicit FaultInjector(FaultPlan plan) : plan_(plan) {}

    // The answer as the fault chosen for this request leaves it.
    Answer apply(const RecordedRequest& request, Answer answer);

    // Requests answered so far with each fault (Fault::None first).
    std::array<std::uint64_t, kFaultKinds + 1> counts() const;
    // Whether these bytes went out as a garbage answer.
    bool sentAsGarbage(const std::string& bytes) const;

private:
    FaultPlan plan_;
    mutable std::mutex mutex_;
    std::map<std::string, std::uint64_t> seen_;
    std::array<std::uint64_t, kFaultKinds + 1> counts_{};
    std::set<std::size_t> garbageSent_;  // hashes of the garbage bodies
};

const char* faultName(Fault fault);

}  // namespace quorvane::test
