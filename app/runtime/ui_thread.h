#pragma once
// The two ways other threads meet the interface thread: effects posted to it
// run there in the order issued, and the values of the option controls can be
// read from a cache that the interface thread keeps current, so a worker
// never waits on a busy interface.
#include <functional>
#include <string>
#include <string_view>

namespace quorvane::ui {

// From any thread. Effects posted before startRuntime() wait for it. The
// interface thread runs them at most once a tick (a quarter of a second), all
// that came since the last run together; an effect posted after a quiet
// spell runs at once.
void post(std::function<void()> effect);

// Runs the effects posted so far; the runtime calls it on the interface thread.
void runPostedEffects();

struct ComponentValue {
    std::string text;
    bool checked = false;
    int selection = -1;
};

// The last value of an edit box, check box, radio button or combo box of a
// live window (empty when unknown). From any thread.
ComponentValue cachedValue(std::string_view window, std::string_view component);
void storeCachedValue(std::string_view window, std::string_view component, ComponentValue value);
void forgetCachedValues(std::string_view window);

}  // namespace quorvane::ui
