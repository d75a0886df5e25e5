#pragma once
// The process's request limit for the length of a scope, then the one before.
#include "net/request_limit.h"

#include <optional>

namespace quorvane::test {

class ScopedRequestLimit {
public:
    explicit ScopedRequestLimit(std::optional<int> limitMs) : before_(processRequestLimitMs()) {
        setProcessRequestLimitMs(limitMs);
    }
    ~ScopedRequestLimit() { setProcessRequestLimitMs(before_); }
    ScopedRequestLimit(const ScopedRequestLimit&) = delete;
    ScopedRequestLimit& operator=(const ScopedRequestLimit&) = delete;

private:
    std::optional<int> before_;
};

}  // namespace quorvane::test
