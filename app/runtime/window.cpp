// A window's own state: its Win32 window and menus, its components by name,
// their visibility and page switching, and the cache of their values.
#include "app/runtime/window.h"

#include "app/runtime/ui_thread.h"
#include "app/runtime/window_classes.h"
#include "text/codepage.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quorvane::ui {

namespace {

constexpr UINT kFirstMenuCommand = 40000;

void registerClass(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance(), name, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

bool isCached(const ComponentTemplate& model) {
    switch (model.kind) {
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::ComboBox:
        return true;
    case Kind::Edit:
        return !(model.state & kMultiLine);
    default:
        return false;
    }
}

}  // namespace

const Binding* ComponentState::binding(Event event) const {
    for (const Binding* b : bindings)
        if (b->event == event) return b;
    return nullptr;
}

Window::Window(const WindowTemplate& model, HWND owner, bool modal) : model_(model), owner_(owner), modal_(modal) {
    registerClass(model.className, windowProcedure, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    registerClass(kPanelClass, panelProcedure, CS_DBLCLKS, nullptr);
    registerClass(kLabelClass, labelProcedure, CS_DBLCLKS, nullptr);

    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    switch (model.frame) {
    case Frame::Main: style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
    case Frame::Dialog: style |= WS_POPUP | WS_CAPTION | WS_SYSMENU; exStyle |= WS_EX_DLGMODALFRAME; break;
    case Frame::Borderless: style |= WS_POPUP; exStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST; break;
    }
    // Centred on the owner, or on the screen.
    RECT area{};
    if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &area);
    else SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int x = std::max<int>(area.left, area.left + (area.right - area.left - model.width) / 2);
    int y = std::max<int>(area.top, area.top + (area.bottom - area.top - model.height) / 2);

    for (const Binding& b : model.bindings)
        if (b.component.empty()) windowBindings_.push_back(&b);

    CreateWindowExW(exStyle, model.className, gbkToWide(model.title).c_str(), style, x, y, model.width,
                    model.height, owner, nullptr, instance(), this);
    if (!handle_) return;
    if (model.icon) {
        Picture picture = model.icon();
        if (picture) {
            SIZE size = picture.size();
            // An all-zero mask: every pixel of the picture is shown.
            std::vector<unsigned char> zeros(static_cast<size_t>((size.cx + 15) / 16 * 2 * size.cy), 0);
            HBITMAP mask = CreateBitmap(size.cx, size.cy, 1, 1, zeros.data());
            ICONINFO info{};
            info.fIcon = TRUE;
            info.hbmColor = picture.handle();
            info.hbmMask = mask;
            icon_ = CreateIconIndirect(&info);
            DeleteObject(mask);
            SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
            SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        }
    }
    createMenus();
    createComponents();
}

Window::~Window() {
    if (handle_) DestroyWindow(handle_);
}

void Window::createMenus() {
    UINT command = kFirstMenuCommand;
    for (const MenuTemplate& menu : model_.menus) {
        HMENU handle = menu.menuBar ? CreateMenu() : CreatePopupMenu();
        for (const std::string& item : menu.items) {
            if (item == "-") {
                AppendMenuW(handle, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            AppendMenuW(handle, MF_STRING, command, gbkToWide(item).c_str());
            menuCommands_[command++] = item;
        }
        menus_[menu.name] = handle;
        if (menu.menuBar) SetMenu(handle_, handle);
    }
}

HMENU Window::menu(std::string_view name) const {
    auto found = menus_.find(name);
    return found == menus_.end() ? nullptr : found->second;
}

void Window::layoutPageControl(int index) {
    ComponentState& state = components_[index];
    RECT client{};
    GetClientRect(state.handle, &client);
    const bool strip = (GetWindowLongPtrW(state.tabStrip, GWL_STYLE) & WS_VISIBLE) != 0;
    const int top = strip ? kTabStripHeight : 0;
    SetWindowPos(state.tabStrip, nullptr, 0, 0, client.right, kTabStripHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND page : state.pages)
        SetWindowPos(page, nullptr, 0, top, client.right, client.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::showPage(int index, int page) {
    ComponentState& state = components_[index];
    if (state.model->kind == Kind::PageControl) {
        if (page < 0 || page >= static_cast<int>(state.pages.size())) return;
        state.currentPage = page;
        SendMessageW(state.tabStrip, TCM_SETCURSEL, page, 0);
        for (size_t p = 0; p < state.pages.size(); ++p)
            ShowWindow(state.pages[p], static_cast<int>(p) == page ? SW_SHOWNA : SW_HIDE);
        return;
    }
    if (state.model->kind != Kind::TabControl) return;
    if (page < 0 || page >= static_cast<int>(SendMessageW(state.handle, TCM_GETITEMCOUNT, 0, 0))) return;
    state.currentPage = page;
    SendMessageW(state.handle, TCM_SETCURSEL, page, 0);
    for (size_t i = 0; i < components_.size(); ++i)
        if (components_[i].parentIndex == index) applyVisibility(static_cast<int>(i));
}

void Window::applyVisibility(int index) {
    ComponentState& state = components_[index];
    if (!state.handle) return;
    bool shown = state.ownVisible;
    if (state.parentIndex >= 0) {
        const ComponentState& parent = components_[state.parentIndex];
        if (parent.model->kind == Kind::TabControl && parent.currentPage != state.model->page) shown = false;
    }
    ShowWindow(state.handle, shown ? SW_SHOWNA : SW_HIDE);
}

int Window::indexOf(std::string_view name) const {
    for (size_t i = 0; i < components_.size(); ++i)
        if (components_[i].model->name == name) return static_cast<int>(i);
    return -1;
}

int Window::indexOfHandle(HWND handle) const {
    if (!handle) return -1;
    for (size_t i = 0; i < components_.size(); ++i)
        if (components_[i].handle == handle) return static_cast<int>(i);
    return -1;
}

Component Window::component(std::string_view name) { return Component(this, indexOf(name)); }

void Window::refreshCache(int index) {
    const ComponentState& state = components_[index];
    if (!isCached(*state.model)) return;
    Component c(this, index);
    storeCachedValue(model_.name, state.model->name, ComponentValue{c.text(), c.checked(), c.selection()});
}

// ---- window state ------------------------------------------------------------

bool Window::visible() const { return handle_ && IsWindowVisible(handle_); }

void Window::setVisible(bool visible) {
    if (!handle_) return;
    ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
    if (visible) {
        UpdateWindow(handle_);
        if (model_.frame != Frame::Borderless) SetForegroundWindow(handle_);
    }
}

void Window::restore() {
    if (!handle_) return;
    ShowWindow(handle_, IsIconic(handle_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(handle_);
}

int Window::height() const {
    RECT r{};
    if (handle_) GetWindowRect(handle_, &r);
    return r.bottom - r.top;
}

void Window::setHeight(int height) {
    RECT r{};
    if (!handle_) return;
    GetWindowRect(handle_, &r);
    SetWindowPos(handle_, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::destroy() {
    if (handle_) DestroyWindow(handle_);
}

}  // namespace quorvane::ui
