#include "net/answer_bounds.h"

namespace quorvane {
namespace {

thread_local const OversizedAnswerLog* oversizedAnswerLog = nullptr;

}  // namespace

ScopedOversizedAnswerLog::ScopedOversizedAnswerLog(OversizedAnswerLog log)
    : log_(std::move(log)), previous_(oversizedAnswerLog) {
    oversizedAnswerLog = &log_;
}

ScopedOversizedAnswerLog::~ScopedOversizedAnswerLog() { oversizedAnswerLog = previous_; }

void logOversizedAnswer(const std::string& address, std::size_t bound) {
    if (oversizedAnswerLog && *oversizedAnswerLog) (*oversizedAnswerLog)(address, bound);
}

}  // namespace quorvane
