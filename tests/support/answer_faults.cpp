#include "tests/support/answer_faults.h"

#include <algorithm>
#include <functional>

namespace quorvane::test {
namespace {

std::uint64_t mixed(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

std::uint64_t hashed(const std::string& text) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// Bytes of no known kind, the same for the same draw.
std::string garbage(std::uint64_t draw, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; i += 8) {
        draw = mixed(draw);
        for (std::size_t j = 0; j < 8 && i + j < size; ++j) bytes[i + j] = static_cast<char>(draw >> (8 * j));
    }
    return bytes;
}

}  // namespace

const char* faultName(Fault fault) {
    switch (fault) {
    case Fault::None: return "none";
    case Fault::Reset: return "reset";
    case Fault::ServerError: return "500";
    case Fault::Garbage: return "garbage";
    case Fault::Stall: return "stall";
    case Fault::Truncated: return "truncated";
    }
    return "?";
}

Fault faultFor(const FaultPlan& plan, const std::string& requestKey, std::uint64_t occurrence) {
    const std::uint64_t draw = mixed(mixed(plan.seed ^ hashed(requestKey)) + occurrence);
    if (static_cast<int>(draw % 100) >= plan.percent) return Fault::None;
    return static_cast<Fault>(1 + (draw / 100) % kFaultKinds);
}

Answer withFault(Fault fault, Answer answer, const FaultPlan& plan, std::uint64_t draw) {
    switch (fault) {
    case Fault::None: break;
    case Fault::Reset: answer.resetBeforeHeaders = true; break;
    case Fault::ServerError:
        answer.status = 500;
        answer.reason = "Internal Server Error";
        answer.headerLines = {"Content-Type: text/html"};
        answer.body = "<html><body>Internal Server Error</body></html>";
        answer.framing = Framing::ContentLength;
        break;
    case Fault::Garbage:
        // Under its own header lines, so it claims to be what was asked for.
        answer.body = garbage(draw, std::clamp<std::size_t>(answer.body.size(), 64, 65536));
        break;
    case Fault::Stall: answer.delayBeforeHeaders = std::max(answer.delayBeforeHeaders, plan.stall); break;
    case Fault::Truncated:
        answer.framing = Framing::ContentLength;
        answer.closeAfterBodyBytes = answer.body.size() / 2;
        break;
    }
    return answer;
}

Answer FaultInjector::apply(const RecordedRequest& request, Answer answer) {
    const std::string key = request.method + " " + request.target + "\n" + request.body;
    Fault fault;
    {
        std::lock_guard lock(mutex_);
        fault = faultFor(plan_, key, seen_[key]++);
        ++counts_[static_cast<std::size_t>(fault)];
    }
    Answer faulty = withFault(fault, std::move(answer), plan_, hashed(key) ^ plan_.seed);
    if (fault == Fault::Garbage) {
        std::lock_guard lock(mutex_);
        garbageSent_.insert(std::hash<std::string>{}(faulty.body));
    }
    return faulty;
}

bool FaultInjector::sentAsGarbage(const std::string& bytes) const {
    std::lock_guard lock(mutex_);
    return garbageSent_.count(std::hash<std::string>{}(bytes)) != 0;
}

std::array<std::uint64_t, kFaultKinds + 1> FaultInjector::counts() const {
    std::lock_guard lock(mutex_);
    return counts_;
}

}  // namespace quorvane::test
