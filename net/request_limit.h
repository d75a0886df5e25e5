#pragma once
// How long requests may take, when a test says so. QUORVANE_REQUEST_LIMIT_MS
// (read once per process) is a time limit in milliseconds that every request
// routine takes in place of its own, so that a slow answer times out quickly;
// unset or not a positive number, each routine keeps its own limit.
#include <optional>

namespace quorvane {

// The process's limit, from the environment on first use.
std::optional<int> processRequestLimitMs();

// Replaces the process's limit for the requests made from now on; nothing
// gives the routines their own limits back. For tests of the routines.
void setProcessRequestLimitMs(std::optional<int> limitMs);

}  // namespace quorvane
