#include "app/runtime/ui_thread.h"

#include <windows.h>

#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace quorvane::ui {
namespace {

constexpr UINT kRunEffects = WM_APP + 1;
constexpr UINT_PTR kTickTimer = 1;
// The queue runs at most once a tick: what the workers post meanwhile is
// applied together, and the interface thread stays free for the user. Each
// run appends to the log box, whose cost under Wine grows with its text: at
// a tenth of a second the interface took a third of the one processor's
// time in a long run; a quarter still reads as live.
constexpr ULONGLONG kTickMs = 250;

struct EffectQueue {
    std::mutex lock;
    std::deque<std::function<void()>> effects;
    HWND target = nullptr;
    // Interface thread only.
    ULONGLONG lastRun = 0;
    bool tickPending = false;
};

// Never destroyed: a worker that outlives the program's end may still post.
EffectQueue& queue() {
    static EffectQueue& instance = *new EffectQueue;
    return instance;
}

struct ValueCache {
    std::mutex lock;
    std::map<std::string, ComponentValue, std::less<>> values;
};

// Never destroyed, like the queue.
ValueCache& cache() {
    static ValueCache& instance = *new ValueCache;
    return instance;
}

std::string cacheKey(std::string_view window, std::string_view component) {
    std::string key(window);
    key += '\n';
    key += component;
    return key;
}

// Effects posted within a tick of the last run wait for the tick's end.
void runOrWaitForTick(HWND window) {
    EffectQueue& q = queue();
    const ULONGLONG now = GetTickCount64();
    if (now - q.lastRun >= kTickMs) {
        runPostedEffects();
    } else if (!q.tickPending) {
        q.tickPending = true;
        SetTimer(window, kTickTimer, static_cast<UINT>(kTickMs - (now - q.lastRun)), nullptr);
    }
}

LRESULT CALLBACK queueProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunEffects) {
        runOrWaitForTick(window);
        return 0;
    }
    if (message == WM_TIMER && wParam == kTickTimer) {
        KillTimer(window, kTickTimer);
        queue().tickPending = false;
        runPostedEffects();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// Called by startRuntime on the interface thread.
void startEffectQueue() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = queueProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvaneEffectQueue";
    RegisterClassW(&windowClass);
    HWND target = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    bool pending = false;
    {
        std::lock_guard guard(queue().lock);
        queue().target = target;
        pending = !queue().effects.empty();
    }
    if (pending) PostMessageW(target, kRunEffects, 0, 0);
}

void post(std::function<void()> effect) {
    HWND target = nullptr;
    {
        std::lock_guard guard(queue().lock);
        queue().effects.push_back(std::move(effect));
        target = queue().target;
    }
    if (target) PostMessageW(target, kRunEffects, 0, 0);
}

void runPostedEffects() {
    queue().lastRun = GetTickCount64();
    // Only those posted so far: what comes meanwhile waits for the next tick.
    std::size_t left = 0;
    {
        std::lock_guard guard(queue().lock);
        left = queue().effects.size();
    }
    // One at a time, so an effect that opens a modal box lets the next ones
    // run from the box's message loop, still in order.
    for (; left > 0; --left) {
        std::function<void()> effect;
        {
            std::lock_guard guard(queue().lock);
            if (queue().effects.empty()) return;
            effect = std::move(queue().effects.front());
            queue().effects.pop_front();
        }
        try {
            effect();
        } catch (...) {
            // An effect's failure must not end the interface thread.
        }
    }
}

ComponentValue cachedValue(std::string_view window, std::string_view component) {
    std::lock_guard guard(cache().lock);
    auto found = cache().values.find(cacheKey(window, component));
    return found == cache().values.end() ? ComponentValue{} : found->second;
}

void storeCachedValue(std::string_view window, std::string_view component, ComponentValue value) {
    std::lock_guard guard(cache().lock);
    cache().values[cacheKey(window, component)] = std::move(value);
}

void forgetCachedValues(std::string_view window) {
    std::string prefix(window);
    prefix += '\n';
    std::lock_guard guard(cache().lock);
    auto& values = cache().values;
    for (auto it = values.lower_bound(prefix); it != values.end() && it->first.starts_with(prefix);)
        it = values.erase(it);
}

}  // namespace quorvane::ui
