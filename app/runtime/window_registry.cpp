// The live windows: kept from loading until their Win32 window is gone, then
// deleted between messages.
#include "app/runtime/window_registry.h"

#include "app/runtime/runtime.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace quorvane::ui {

namespace {

std::vector<std::unique_ptr<Window>>& liveWindows() {
    static std::vector<std::unique_ptr<Window>> windows;
    return windows;
}

// Destroyed windows are deleted only between messages: a handler may still be
// running inside the window that it destroyed.
std::vector<std::unique_ptr<Window>>& retiredWindows() {
    static std::vector<std::unique_ptr<Window>> windows;
    return windows;
}

}  // namespace

Window* loadWindowObject(const WindowTemplate& model, HWND owner, bool modal) {
    auto window = std::make_unique<Window>(model, owner, modal);
    if (!window->alive()) return nullptr;
    Window* loaded = window.get();
    liveWindows().push_back(std::move(window));
    loaded->raise(Event::Created);
    if (isLive(loaded) && model.visibleWhenLoaded) loaded->setVisible(true);
    return isLive(loaded) ? loaded : nullptr;
}

void forgetWindow(Window* window) {
    auto& windows = liveWindows();
    auto found = std::find_if(windows.begin(), windows.end(), [window](auto& w) { return w.get() == window; });
    if (found == windows.end()) return;
    retiredWindows().push_back(std::move(*found));
    windows.erase(found);
}

void deleteRetiredWindows() {
    auto retired = std::move(retiredWindows());
    retiredWindows().clear();
}

void destroyAllWindows() {
    while (!liveWindows().empty()) {
        Window* last = liveWindows().back().get();
        HWND handle = last->handle();
        if (handle) DestroyWindow(handle);
        if (!liveWindows().empty() && liveWindows().back().get() == last) forgetWindow(last);
    }
    deleteRetiredWindows();
}

Window* findWindow(std::string_view name) {
    for (auto& window : liveWindows())
        if (window->alive() && window->name() == name) return window.get();
    return nullptr;
}

bool isLive(const Window* window) {
    for (auto& w : liveWindows())
        if (w.get() == window) return w->alive();
    return false;
}

Window* Window::fromHandle(HWND handle) {
    if (!handle) return nullptr;
    HWND root = GetAncestor(handle, GA_ROOT);
    for (auto& window : liveWindows())
        if (window->handle_ == root) return window.get();
    return nullptr;
}

}  // namespace quorvane::ui
