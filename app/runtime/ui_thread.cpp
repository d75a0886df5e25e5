#include "app/runtime/ui_thread.h"

#include <windows.h>

#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace quorvane::ui {
namespace {

constexpr UINT kRunEffects = WM_APP + 1;

struct EffectQueue {
    std::mutex lock;
    std::deque<std::function<void()>> effects;
    HWND target = nullptr;
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

LRESULT CALLBACK queueProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunEffects) {
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
    // One at a time, so an effect that opens a modal box lets the next ones
    // run from the box's message loop, still in order.
    for (;;) {
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
