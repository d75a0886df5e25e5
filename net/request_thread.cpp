#include "net/request_thread.h"

#include <windows.h>

namespace quorvane {
namespace {

thread_local HANDLE cancelEvent = nullptr;

// Dispatches what is pending; a quit request is kept for the caller's own loop.
void processPendingMessages(bool& quit, WPARAM& quitCode) {
    MSG message;
    while (!quit && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            quitCode = message.wParam;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

void setRequestCancelEvent(void* event) { cancelEvent = event; }

RequestExchange::RequestExchange() : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

RequestExchange::~RequestExchange() {
    if (done_) CloseHandle(done_);
}

bool RequestExchange::abandoned() const {
    std::lock_guard lock(mutex_);
    return abandoned_;
}

bool RequestExchange::publish(const std::function<void()>& write) {
    std::lock_guard lock(mutex_);
    if (abandoned_) return false;
    write();
    published_ = true;
    return true;
}

unsigned long __stdcall requestThreadEntry(void* parameter) {
    // The thread keeps the exchange alive for as long as it runs.
    std::unique_ptr<std::shared_ptr<RequestExchange>> held(static_cast<std::shared_ptr<RequestExchange>*>(parameter));
    RequestExchange& exchange = **held;
    // No exception may end the program from here: the request simply fails,
    // its caller seeing a return without an answer.
    try {
        exchange.work_(exchange);
    } catch (...) {
    }
    exchange.work_ = nullptr;
    SetEvent(exchange.done_);
    return 0;
}

bool runRequestThread(std::shared_ptr<RequestExchange> exchange, std::function<void(RequestExchange&)> work,
                      int limitMs, bool pumpMessages) {
    // An answer published before the caller gave up is taken, so that what
    // the caller does with it never depends on which side won the race.
    auto abandon = [&] {
        std::lock_guard lock(exchange->mutex_);
        if (exchange->published_) return true;
        exchange->abandoned_ = true;
        return false;
    };
    if (!exchange->done_ || limitMs <= 0) return abandon();
    exchange->work_ = std::move(work);
    auto* held = new std::shared_ptr<RequestExchange>(exchange);
    HANDLE thread = CreateThread(nullptr, 0, requestThreadEntry, held, 0, nullptr);
    if (!thread) {
        delete held;
        exchange->work_ = nullptr;
        return abandon();
    }
    CloseHandle(thread);

    const ULONGLONG start = GetTickCount64();
    bool quit = false;
    WPARAM quitCode = 0;
    const HANDLE waited[] = {exchange->done_, cancelEvent};
    const DWORD count = cancelEvent ? 2 : 1;
    bool finished = false;
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= static_cast<ULONGLONG>(limitMs)) break;
        const auto remaining = static_cast<DWORD>(static_cast<ULONGLONG>(limitMs) - elapsed);
        const DWORD result = pumpMessages && !quit
                                 ? MsgWaitForMultipleObjects(count, waited, FALSE, remaining, QS_ALLINPUT)
                                 : WaitForMultipleObjects(count, waited, FALSE, remaining);
        if (result == WAIT_OBJECT_0) {
            finished = GetTickCount64() - start < static_cast<ULONGLONG>(limitMs);
            break;
        }
        // Time-out, cancellation, or a failed wait that would never end otherwise.
        if (result != WAIT_OBJECT_0 + count) break;
        processPendingMessages(quit, quitCode);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    if (finished) return true;
    return abandon();
}

}  // namespace quorvane
