// Win32 messages to the template's bindings: the procedures of top-level
// windows, panels and labels, the subclass of every control, and raise(),
// which runs a bound handler.
#include "app/runtime/window.h"

#include "app/runtime/runtime.h"
#include "app/runtime/ui_thread.h"
#include "app/runtime/window_classes.h"
#include "app/runtime/window_registry.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>
#include <utility>

namespace quorvane::ui {

namespace {
// Interface thread only.
Window* handlingWindow = nullptr;
}  // namespace

bool Window::raise(Event event, const std::string& component, const EventArgs& args) {
    const Binding* bound = nullptr;
    if (event == Event::MenuClicked) {
        for (const Binding& b : model_.bindings)
            if (b.event == event && b.component == component) bound = &b;
    } else if (component.empty()) {
        for (const Binding* b : windowBindings_)
            if (b->event == event) bound = b;
    } else {
        int index = indexOf(component);
        if (index >= 0) bound = components_[index].binding(event);
    }
    if (!bound || !bound->handler) return false;
    Window* outer = std::exchange(handlingWindow, this);
    bool result = false;
    try {
        result = bound->handler(args);
    } catch (...) {
        // No exception may cross the window procedure.
        result = false;
    }
    handlingWindow = outer;
    return result;
}

Window* eventWindow() { return handlingWindow; }

void Window::raiseClicked(HWND control) {
    int index = indexOfHandle(control);
    if (index < 0) return;
    const std::string name = components_[index].model->name;
    raise(Event::Clicked, name);
}

bool Window::onChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND: {
        int index = indexOfHandle(reinterpret_cast<HWND>(lParam));
        if (index < 0) return false;
        const ComponentState& state = components_[index];
        const std::string name = state.model->name;
        const UINT code = HIWORD(wParam);
        Kind kind = state.model->kind;
        if (code == BN_CLICKED && (kind == Kind::Button || kind == Kind::PictureButton)) {
            raise(Event::Clicked, name);
        } else if (code == BN_CLICKED && kind == Kind::CheckBox) {
            refreshCache(index);
            raise(Event::Clicked, name);
        } else if (code == BN_CLICKED && kind == Kind::RadioButton) {
            Component(this, index).setChecked(true);
            raise(Event::Clicked, name);
        } else if (code == EN_CHANGE) {
            refreshCache(index);
            raise(Event::ContentChanged, name);
        } else if (code == EN_KILLFOCUS) {
            raise(Event::FocusLost, name);
        } else if (code == CBN_SELCHANGE) {
            refreshCache(index);
            raise(Event::ContentChanged, name);
        } else {
            return false;
        }
        result = 0;
        return true;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        for (size_t i = 0; i < components_.size(); ++i) {
            ComponentState& state = components_[i];
            if (state.tabStrip == header->hwndFrom && header->code == TCN_SELCHANGE) {
                showPage(static_cast<int>(i), static_cast<int>(SendMessageW(state.tabStrip, TCM_GETCURSEL, 0, 0)));
                result = 0;
                return true;
            }
            if (state.handle != header->hwndFrom) continue;
            if (state.model->kind == Kind::TabControl && header->code == TCN_SELCHANGE) {
                showPage(static_cast<int>(i), static_cast<int>(SendMessageW(state.handle, TCM_GETCURSEL, 0, 0)));
                result = 0;
                return true;
            }
            if (state.model->kind == Kind::ListView && header->code == NM_RCLICK) {
                const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
                raise(Event::RightClicked, state.model->name, EventArgs{item->ptAction.x, item->ptAction.y, 0});
                result = 0;
                return true;
            }
            return false;
        }
        return false;
    }
    default:
        return false;
    }
}

LRESULT Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0) {
            auto found = menuCommands_.find(LOWORD(wParam));
            if (found != menuCommands_.end()) {
                const std::string caption = found->second;
                raise(Event::MenuClicked, caption);
                return 0;
            }
        }
        break;
    case WM_CLOSE: {
        bool bound = false;
        for (const Binding* b : windowBindings_) bound = bound || b->event == Event::QueryClose;
        if (bound && !raise(Event::QueryClose)) return 0;
        DestroyWindow(handle_);
        return 0;
    }
    case WM_ACTIVATE:
        raise(LOWORD(wParam) == WA_INACTIVE ? Event::FocusLost : Event::Activated);
        break;
    case WM_SIZE:
        for (const ComponentState& state : components_)
            if (state.model->kind == Kind::StatusBar && state.handle) SendMessageW(state.handle, WM_SIZE, 0, 0);
        break;
    case WM_TIMER: {
        int index = static_cast<int>(wParam) - kFirstControlId;
        if (index >= 0 && index < static_cast<int>(components_.size())) {
            const std::string name = components_[index].model->name;
            raise(Event::TimerElapsed, name);
        }
        return 0;
    }
    case WM_DESTROY:
        // The controls go while their panels still exist.
        for (ComponentState& state : components_) state.browser.reset();
        if (modal_ && owner_) {
            EnableWindow(owner_, TRUE);
            SetActiveWindow(owner_);
        }
        break;
    default:
        break;
    }
    if (onChildMessage(message, wParam, lParam, result)) return result;
    return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->handle_ = handle;
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (!window) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        for (ComponentState& state : window->components_)
            if (state.nameAtom) GlobalDeleteAtom(state.nameAtom);
        for (auto& [name, menu] : window->menus_)
            if (GetMenu(handle) != menu) DestroyMenu(menu);
        if (window->icon_) DestroyIcon(window->icon_);
        forgetCachedValues(window->model_.name);
        window->handle_ = nullptr;
        forgetWindow(window);
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    return window->onMessage(message, wParam, lParam);
}

namespace {

// Panels and labels paint all of their area, the background included.
LRESULT paintControl(Window* window, HWND control, void (Window::*paint)(HWND, HDC)) {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(control, &paintStruct);
    if (window) (window->*paint)(control, dc);
    EndPaint(control, &paintStruct);
    return 0;
}

}  // namespace

LRESULT CALLBACK panelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Window::fromHandle(panel);
    if (!window) return DefWindowProcW(panel, message, wParam, lParam);
    LRESULT result = 0;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(window, panel, &Window::paintPanel);
    case WM_SIZE: {
        int index = window->indexOfHandle(panel);
        if (index >= 0 && window->components_[index].model->kind == Kind::PageControl)
            window->layoutPageControl(index);
        if (index >= 0 && window->components_[index].browser) window->components_[index].browser->fitToPanel();
        break;
    }
    case WM_LBUTTONUP:
        window->raiseClicked(panel);
        return 0;
    default:
        if (window->onChildMessage(message, wParam, lParam, result)) return result;
        break;
    }
    return DefWindowProcW(panel, message, wParam, lParam);
}

LRESULT CALLBACK labelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(Window::fromHandle(label), label, &Window::paintLabel);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, TRUE);
        return result;
    }
    case WM_LBUTTONUP:
        if (Window* window = Window::fromHandle(label)) window->raiseClicked(label);
        return 0;
    default:
        return DefWindowProcW(label, message, wParam, lParam);
    }
}

LRESULT CALLBACK componentSubclass(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
    auto* window = reinterpret_cast<Window*>(data);
    auto eventArgs = [&] { return EventArgs{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<unsigned>(wParam)}; };
    auto nameOf = [&]() -> std::string {
        int index = window->indexOfHandle(handle);
        return index >= 0 ? window->components_[index].model->name : std::string();
    };
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(handle, componentSubclass, 1);
        RemovePropW(handle, kNameProperty);
        break;
    case WM_LBUTTONDOWN: {
        const std::string name = nameOf();
        if (!name.empty()) window->raise(Event::LeftButtonDown, name, eventArgs());
        break;
    }
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: {
        // After the control's own handling, so a slider reports its new position.
        const std::string name = nameOf();
        EventArgs args = eventArgs();
        LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
        const Event event = message == WM_LBUTTONUP ? Event::LeftButtonUp : Event::DoubleClicked;
        if (!name.empty()) window->raise(event, name, args);
        return result;
    }
    case WM_COMMAND:
    case WM_NOTIFY: {
        // A tab control passes its children's notifications to no one else.
        LRESULT result = 0;
        int index = window->indexOfHandle(handle);
        if (index >= 0 && window->components_[index].model->kind == Kind::TabControl &&
            window->onChildMessage(message, wParam, lParam, result))
            return result;
        break;
    }
    default:
        break;
    }
    return DefSubclassProc(handle, message, wParam, lParam);
}

}  // namespace quorvane::ui
