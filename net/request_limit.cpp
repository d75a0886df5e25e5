#include "net/request_limit.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace quorvane {
namespace {

// 0: no limit of the process's own.
int limitFromEnvironment() {
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA("QUORVANE_REQUEST_LIMIT_MS", value, sizeof value);
    if (length == 0 || length >= sizeof value) return 0;
    const int ms = std::atoi(value);
    return ms > 0 ? ms : 0;
}

// Read by every request thread's caller, while a test may set it.
std::atomic<int>& limitSlot() {
    static std::atomic<int> slot(limitFromEnvironment());
    return slot;
}

}  // namespace

std::optional<int> processRequestLimitMs() {
    const int ms = limitSlot().load();
    return ms > 0 ? std::optional<int>(ms) : std::nullopt;
}

void setProcessRequestLimitMs(std::optional<int> limitMs) { limitSlot().store(limitMs && *limitMs > 0 ? *limitMs : 0); }

}  // namespace quorvane
