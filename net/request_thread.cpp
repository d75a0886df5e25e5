#include "net/request_thread.h"

#include "text/com.h"
#include "text/thread_name.h"

#include <windows.h>

#include <condition_variable>
#include <deque>

namespace quorvane {

void runRequest(RequestExchange& exchange);

namespace {

thread_local HANDLE cancelEvent = nullptr;

// Request threads are kept for the next request: starting and ending a thread
// costs milliseconds of processor time under Wine, more than a request to a
// near server. A thread whose request was abandoned goes on with it and comes
// back when it ends; a request never waits for one: a new thread is started
// whenever no idle thread is left for it.
class RequestThreads {
public:
    // False when no thread could be started for it.
    bool run(std::shared_ptr<RequestExchange> exchange) {
        std::unique_lock lock(lock_);
        waiting_.push_back(std::move(exchange));
        if (waiting_.size() <= idle_) {
            wake_.notify_one();
            return true;
        }
        HANDLE thread = CreateThread(nullptr, 0, entry, this, 0, nullptr);
        if (!thread) {
            waiting_.pop_back();
            return false;
        }
        CloseHandle(thread);
        return true;
    }

private:
    static unsigned long __stdcall entry(void* self) {
        static_cast<RequestThreads*>(self)->serve();
        return 0;
    }

    void serve() {
        nameCurrentThread(L"request");
        // COM stays set up for the thread's life, so that a COM request finds
        // its apartment, the request object's library and its class factory
        // ready instead of setting them up and down again around every request.
        const ComScope com;
        for (;;) {
            std::shared_ptr<RequestExchange> exchange;
            {
                std::unique_lock lock(lock_);
                if (waiting_.empty() && idle_ >= static_cast<std::size_t>(kIdleRequestThreadsKept)) return;
                ++idle_;
                wake_.wait(lock, [&] { return !waiting_.empty(); });
                --idle_;
                exchange = std::move(waiting_.front());
                waiting_.pop_front();
            }
            runRequest(*exchange);
        }
    }

    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<RequestExchange>> waiting_;
    std::size_t idle_ = 0;
};

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

void runRequest(RequestExchange& exchange) {
    // No exception may end the program from here: the request simply fails,
    // its caller seeing a return without an answer.
    try {
        exchange.work_(exchange);
    } catch (...) {
    }
    exchange.work_ = nullptr;
    SetEvent(exchange.done_);
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
    if (!exchange->done_ || limitMs <= 0 || requestsCancelled()) return abandon();
    exchange->work_ = std::move(work);
    // The request thread keeps the exchange alive for as long as it works.
    if (!requestThreads().run(exchange)) {
        exchange->work_ = nullptr;
        return abandon();
    }

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
