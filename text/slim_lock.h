#pragma once
// A lock over the system's slim reader/writer lock, usable with
// std::lock_guard. Under Wine it waits and wakes without calls to the
// kernel's object server, where the C++ library's mutex makes an event for
// every mutex that is ever contended: one more event per request when each
// request has a lock of its own.
#include <windows.h>

namespace quorvane {

class SlimLock {
public:
    SlimLock() = default;
    SlimLock(const SlimLock&) = delete;
    SlimLock& operator=(const SlimLock&) = delete;

    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    // For SleepConditionVariableSRW.
    SRWLOCK* native() { return &lock_; }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace quorvane
