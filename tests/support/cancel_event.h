#pragma once
// The calling thread's request cancel event for the length of a scope, set
// from another thread a little later, as a stopping collection run does.
#include "net/request_thread.h"

#include <windows.h>

#include <thread>

namespace quorvane::test {

class ScopedCancelEvent {
public:
    ScopedCancelEvent() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) { setRequestCancelEvent(event_); }
    ~ScopedCancelEvent() {
        if (setter_.joinable()) setter_.join();
        setRequestCancelEvent(nullptr);
        CloseHandle(event_);
    }
    ScopedCancelEvent(const ScopedCancelEvent&) = delete;
    ScopedCancelEvent& operator=(const ScopedCancelEvent&) = delete;

    void setAfter(DWORD milliseconds) {
        setter_ = std::thread([this, milliseconds] {
            Sleep(milliseconds);
            SetEvent(event_);
        });
    }

private:
    HANDLE event_;
    std::thread setter_;
};

}  // namespace quorvane::test
