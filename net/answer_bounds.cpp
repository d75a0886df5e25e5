#include "net/answer_bounds.h"

namespace quorvane {
namespace {

thread_local OversizedAnswerLog oversizedAnswerLog;

}  // namespace

void setOversizedAnswerLog(OversizedAnswerLog log) { oversizedAnswerLog = std::move(log); }

void logOversizedAnswer(const std::string& address, std::size_t bound) {
    if (oversizedAnswerLog) oversizedAnswerLog(address, bound);
}

}  // namespace quorvane
