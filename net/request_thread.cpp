#include "net/request_thread.h"

#include "text/com.h"
#include "text/thread_name.h"

#include <windows.h>

#include <deque>
#include <mutex>
#include <vector>

namespace quorvane {

void runRequest(RequestExchange& exchange);

namespace {

thread_local HANDLE cancelEvent = nullptr;

// Request threads are kept for the next request: starting and ending a thread
// costs milliseconds of processor time under Wine, more than a request to a
// near server. A thread whose request was abandoned goes on with it and comes
// back when it ends; a request never waits for one: a new thread is started
// whenever no idle thread is left for it. The system's own lock and condition
// variable hand requests over without a call to the kernel's object server,
// which the C++ library's condition variable costs twice per request under
// Wine (a semaphore released and waited for).
class RequestThreads {
public:
    // False when no thread could be started for it.
    bool run(std::shared_ptr<RequestExchange> exchange) {
        std::lock_guard lock(lock_);
        waiting_.push_back(std::move(exchange));
        bool started = true;
        if (waiting_.size() <= idle_) {
            WakeConditionVariable(&wake_);
        } else if (HANDLE thread = CreateThread(nullptr, 0, entry, this, 0, nullptr)) {
            CloseHandle(thread);
        } else {
            waiting_.pop_back();
            started = false;
        }
        return started;
    }

private:
    static unsigned long __stdcall entry(void* self) {
        static_cast<RequestThreads*>(self)->serve();
        return 0;
    }

    // The next request, or nothing when enough threads are idle already.
    std::shared_ptr<RequestExchange> next() {
        std::lock_guard lock(lock_);
        std::shared_ptr<RequestExchange> exchange;
        if (!waiting_.empty() || idle_ < static_cast<std::size_t>(kIdleRequestThreadsKept)) {
            ++idle_;
            while (waiting_.empty()) SleepConditionVariableSRW(&wake_, lock_.native(), INFINITE, 0);
            --idle_;
            exchange = std::move(waiting_.front());
            waiting_.pop_front();
        }
        return exchange;
    }

    void serve() {
        nameCurrentThread(L"request");
        // COM stays set up for the thread's life, so that a COM request finds
        // its apartment, the request object's library and its kept class factory
        // ready instead of setting them up and down again around every request.
        const ComScope com;
        while (std::shared_ptr<RequestExchange> exchange = next()) runRequest(*exchange);
    }

    SlimLock lock_;
    CONDITION_VARIABLE wake_ = CONDITION_VARIABLE_INIT;
    std::deque<std::shared_ptr<RequestExchange>> waiting_;
    std::size_t idle_ = 0;
};

// Events for the exchanges, kept for the next exchange once one is freed:
// a new event per request was two more calls to the kernel's object server.
// Auto-reset; a signal left from a request given up just as its work
// returned wakes the next wait early, which then finds its own work
// unfinished and waits on. Never destroyed, like the threads.
class ExchangeEvents {
public:
    HANDLE take() {
        {
            std::lock_guard lock(lock_);
            if (!free_.empty()) {
                HANDLE event = free_.back();
                free_.pop_back();
                return event;
            }
        }
        return CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }

    void giveBack(HANDLE event) {
        std::lock_guard lock(lock_);
        free_.push_back(event);
    }

private:
    SlimLock lock_;
    std::vector<HANDLE> free_;
};

ExchangeEvents& exchangeEvents() {
    static ExchangeEvents& events = *new ExchangeEvents;
    return events;
}

// Never destroyed: its threads wait on it until the process ends.
RequestThreads& requestThreads() {
    static RequestThreads& threads = *new RequestThreads;
    return threads;
}

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

bool requestsCancelled() { return cancelEvent && WaitForSingleObject(cancelEvent, 0) == WAIT_OBJECT_0; }

RequestExchange::RequestExchange() : returnedEvent_(exchangeEvents().take()) {}

RequestExchange::~RequestExchange() {
    if (returnedEvent_) exchangeEvents().giveBack(returnedEvent_);
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

void runRequest(RequestExchange& exchange) {
    // No exception may end the program from here: the request simply fails,
    // its caller seeing a return without an answer.
    try {
        exchange.work_(exchange);
    } catch (...) {
    }
    exchange.work_ = nullptr;
    {
        std::lock_guard lock(exchange.mutex_);
        exchange.returned_ = true;
    }
    SetEvent(exchange.returnedEvent_);
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
    const HANDLE signal = exchange->returnedEvent_;
    if (!signal || limitMs <= 0 || requestsCancelled()) return abandon();
    exchange->work_ = std::move(work);
    // The request thread keeps the exchange alive for as long as it works.
    if (!requestThreads().run(exchange)) {
        exchange->work_ = nullptr;
        return abandon();
    }

    const ULONGLONG start = GetTickCount64();
    bool quit = false;
    WPARAM quitCode = 0;
    const HANDLE waited[] = {signal, cancelEvent};
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
            bool returned = false;
            {
                std::lock_guard lock(exchange->mutex_);
                returned = exchange->returned_;
            }
            if (!returned) continue;
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
