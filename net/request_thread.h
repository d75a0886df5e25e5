#pragma once
// A request runs on a thread of its own while its caller waits at most a time
// limit. A request that outlives its limit is abandoned, not killed: ending a
// thread by force can leave a lock of the allocator, WinINet or COM held for
// good. The abandoned thread finishes by itself when its connection ends and
// cannot publish an answer any more; whatever a request changes outside its
// thread (the caller's variables, the system cookie store) is therefore done
// by the caller from a published answer.
#include "text/slim_lock.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace quorvane {

// What the request thread and its caller share; freed by whichever lets go last.
class RequestExchange {
public:
    RequestExchange();
    ~RequestExchange();
    RequestExchange(const RequestExchange&) = delete;
    RequestExchange& operator=(const RequestExchange&) = delete;

    // The request thread asks this between steps and stops early when true.
    bool abandoned() const;

    // Runs write under the lock unless the caller has given up; true when it
    // ran. A caller that gives up after a publish still takes the answer.
    bool publish(const std::function<void()>& write);

private:
    friend bool runRequestThread(std::shared_ptr<RequestExchange>, std::function<void(RequestExchange&)>, int,
                                 bool);
    friend void runRequest(RequestExchange&);
    mutable SlimLock mutex_;
    bool abandoned_ = false;
    bool published_ = false;
    bool returned_ = false;  // the work has returned (or thrown)
    void* returnedEvent_;    // set once the work has returned; kept for later exchanges
    std::function<void(RequestExchange&)> work_;
};

// Request threads are kept for the next request, at most this many idle.
inline constexpr int kIdleRequestThreadsKept = 8;

// An event that, once set, ends every wait for a request made on the calling
// thread as a time-out would: a stopping collection run gives each worker one,
// so that its request in flight is abandoned at once. Null removes it.
void setRequestCancelEvent(void* event);

// True once the calling thread's cancel event is set: a step that makes many
// requests stops asking.
bool requestsCancelled();

// Starts work on a new thread and waits for it at most limitMs, processing
// the calling thread's window messages meanwhile when pumpMessages. The limit
// counts from the start: a request that ends just as it passes has timed out,
// unless it had published its answer before. True when the work returned or
// published in time, an exception of the work counting as a return; false on
// time-out or when no thread could be started or the thread's cancel event
// was set, and the exchange is then abandoned.
bool runRequestThread(std::shared_ptr<RequestExchange> exchange, std::function<void(RequestExchange&)> work,
                      int limitMs, bool pumpMessages);

// The answer of work, or nothing when it did not come within the limit. Work
// that ends in an exception answers Answer{}, which is to say a failed request.
template <typename Answer>
std::optional<Answer> runOnRequestThread(int limitMs, bool pumpMessages,
                                         std::function<Answer(const RequestExchange&)> work) {
    auto exchange = std::make_shared<RequestExchange>();
    auto slot = std::make_shared<std::optional<Answer>>();
    const bool finished = runRequestThread(
        exchange,
        [slot, work = std::move(work)](RequestExchange& self) {
            Answer answer = work(self);
            self.publish([&] { *slot = std::move(answer); });
        },
        limitMs, pumpMessages);
    if (!finished) return std::nullopt;
    if (!*slot) return Answer{};
    return std::move(*slot);
}

}  // namespace quorvane
