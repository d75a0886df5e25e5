#pragma once
// A finer time limit for the item's requests than their routines' defaults;
// empty keeps the defaults. Set by tests and by a run that injects a limit.
#include <optional>

namespace quorvane {

struct RequestLimit {
    std::optional<int> exactMs;
};

}  // namespace quorvane
