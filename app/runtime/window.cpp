#include "app/runtime/window.h"

#include "app/runtime/caption_layout.h"
#include "app/runtime/interface_font.h"
#include "app/runtime/runtime.h"
#include "app/runtime/ui_thread.h"
#include "text/codepage.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace quorvane::ui {

constexpr const wchar_t* kPanelClass = L"QuorvanePanel";
constexpr const wchar_t* kLabelClass = L"QuorvaneLabel";
constexpr const wchar_t* kNameProperty = L"QuorvaneName";
constexpr int kFirstControlId = 1000;
constexpr UINT kFirstMenuCommand = 40000;
constexpr int kTabStripHeight = 24;

LRESULT CALLBACK windowProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK panelProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK componentSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
LRESULT CALLBACK labelProcedure(HWND, UINT, WPARAM, LPARAM);

namespace {

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

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

HWND createChild(DWORD exStyle, const wchar_t* className, const std::string& text, DWORD style, int x, int y,
                 int width, int height, HWND parent, int id) {
    HWND child = CreateWindowExW(exStyle, className, gbkToWide(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, x,
                                 y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 instance(), nullptr);
    if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(interfaceFont()), FALSE);
    return child;
}

void addTabs(HWND tabControl, const std::vector<std::string>& tabs) {
    for (size_t i = 0; i < tabs.size(); ++i) {
        std::wstring caption = gbkToWide(tabs[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabControl, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

bool hasWindow(Kind kind) { return kind != Kind::FileDialog && kind != Kind::Timer; }

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

Handler handler(void (*function)()) {
    return [function](const EventArgs&) {
        function();
        return true;
    };
}
Handler handler(bool (*function)()) {
    return [function](const EventArgs&) { return function(); };
}
Handler handler(void (*function)(const EventArgs&)) {
    return [function](const EventArgs& args) {
        function(args);
        return true;
    };
}

const Binding* ComponentState::binding(Event event) const {
    for (const Binding* b : bindings)
        if (b->event == event) return b;
    return nullptr;
}

// ---- registry ------------------------------------------------------------

namespace {
// Interface thread only.
Window* handlingWindow = nullptr;
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

// ---- construction ----------------------------------------------------------

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

Window* Window::fromHandle(HWND handle) {
    if (!handle) return nullptr;
    HWND root = GetAncestor(handle, GA_ROOT);
    for (auto& window : liveWindows())
        if (window->handle_ == root) return window.get();
    return nullptr;
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

void Window::createComponents() {
    components_.resize(model_.components.size());
    for (size_t i = 0; i < components_.size(); ++i) {
        ComponentState& state = components_[i];
        state.model = &model_.components[i];
        state.ownVisible = !(state.model->state & kHidden);
        for (const Binding& b : model_.bindings)
            if (!b.component.empty() && b.component == state.model->name) state.bindings.push_back(&b);
    }
    // Parents come before their children in the templates.
    for (size_t i = 0; i < components_.size(); ++i) createComponent(static_cast<int>(i));
    for (size_t i = 0; i < components_.size(); ++i) {
        applyVisibility(static_cast<int>(i));
        refreshCache(static_cast<int>(i));
    }
}

HWND Window::containerFor(const ComponentTemplate& model, int& parentIndex) {
    parentIndex = model.parent.empty() ? -1 : indexOf(model.parent);
    if (parentIndex < 0) return handle_;
    ComponentState& parent = components_[parentIndex];
    if (parent.model->kind == Kind::PageControl && !parent.pages.empty())
        return parent.pages[std::clamp<size_t>(model.page, 0, parent.pages.size() - 1)];
    return parent.handle ? parent.handle : handle_;
}

void Window::createComponent(int index) {
    ComponentState& state = components_[index];
    const ComponentTemplate& m = *state.model;
    if (!hasWindow(m.kind)) return;
    HWND parent = containerFor(m, state.parentIndex);
    state.parentHandle = parent;
    const int id = kFirstControlId + index;
    const DWORD wrap = captionWraps(m.height, gbkToWide(m.caption)) ? BS_MULTILINE : 0;
    const DWORD disabled = (m.state & kDisabled) ? WS_DISABLED : 0;
    HWND& h = state.handle;

    switch (m.kind) {
    case Kind::Edit: {
        DWORD style = WS_TABSTOP | disabled;
        if (m.state & kMultiLine) {
            style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            if (m.state & kHorizontalScroll) style |= WS_HSCROLL | ES_AUTOHSCROLL;
        } else {
            style |= ES_AUTOHSCROLL;
        }
        if (m.state & kVerticalScroll) style |= WS_VSCROLL;
        if (m.state & kReadOnly) style |= ES_READONLY;
        h = createChild(WS_EX_CLIENTEDGE, L"EDIT", "", style, m.x, m.y, m.width, m.height, parent, id);
        // No cut-off: a long run's log must keep every line.
        SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
        SetWindowTextW(h, gbkToWide(m.caption).c_str());
        break;
    }
    case Kind::Button:
        h = createChild(0, L"BUTTON", m.caption, WS_TABSTOP | BS_PUSHBUTTON | wrap | disabled, m.x, m.y, m.width, m.height,
                        parent, id);
        break;
    case Kind::PictureButton:
        h = createChild(0, L"BUTTON", m.caption, WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP | disabled, m.x, m.y,
                        m.width, m.height, parent, id);
        break;
    case Kind::CheckBox:
        h = createChild(0, L"BUTTON", m.caption, WS_TABSTOP | BS_AUTOCHECKBOX | wrap | disabled, m.x, m.y,
                        m.width, m.height, parent, id);
        if (m.state & kChecked) SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
        break;
    case Kind::RadioButton:
        h = createChild(0, L"BUTTON", m.caption, WS_TABSTOP | BS_RADIOBUTTON | wrap | disabled, m.x, m.y,
                        m.width, m.height, parent, id);
        if (m.state & kChecked) SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
        break;
    case Kind::ComboBox:
        // The height given is the closed box; the list drops below it.
        h = createChild(0, WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | disabled, m.x, m.y,
                        m.width, m.height + 200, parent, id);
        for (const std::string& item : m.items)
            SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(gbkToWide(item).c_str()));
        break;
    case Kind::TabControl:
        h = createChild(0, WC_TABCONTROLW, "", WS_CLIPCHILDREN | disabled, m.x, m.y, m.width, m.height, parent, id);
        addTabs(h, m.items);
        break;
    case Kind::PageControl: {
        h = createChild(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CLIPCHILDREN | disabled, m.x, m.y, m.width,
                        m.height, parent, id);
        state.tabStrip = createChild(0, WC_TABCONTROLW, "", WS_VISIBLE, 0, 0, m.width, kTabStripHeight, h, id);
        addTabs(state.tabStrip, m.items);
        for (size_t page = 0; page < std::max<size_t>(1, m.items.size()); ++page)
            state.pages.push_back(createChild(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CLIPCHILDREN, 0, 0, 0, 0, h, 0));
        layoutPageControl(index);
        showPage(index, 0);
        break;
    }
    case Kind::ListView: {
        h = createChild(WS_EX_CLIENTEDGE, WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | disabled,
                        m.x, m.y, m.width, m.height, parent, id);
        SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        for (size_t c = 0; c < m.columns.size(); ++c) {
            std::wstring title = gbkToWide(m.columns[c].title);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = title.data();
            column.cx = m.columns[c].width;
            SendMessageW(h, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
        }
        break;
    }
    case Kind::Label:
    case Kind::TransparentLabel:
        h = createChild(0, kLabelClass, m.caption, disabled, m.x, m.y, m.width, m.height, parent, id);
        break;
    case Kind::PictureBox:
    case Kind::DrawingPanel:
    case Kind::Frame:
    case Kind::AnimationBox:
    case Kind::HtmlView:
    case Kind::WebBrowser:
        // Under Wine there is no HTML engine: the views stay empty panels.
        h = createChild(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CLIPCHILDREN | disabled, m.x, m.y, m.width,
                        m.height, parent, id);
        break;
    case Kind::ProgressBar:
        h = createChild(0, PROGRESS_CLASSW, "", disabled, m.x, m.y, m.width, m.height, parent, id);
        SendMessageW(h, PBM_SETRANGE32, m.minimum, m.maximum);
        SendMessageW(h, PBM_SETPOS, m.position, 0);
        break;
    case Kind::Slider:
        h = createChild(0, TRACKBAR_CLASSW, "", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS | disabled, m.x, m.y, m.width,
                        m.height, parent, id);
        SendMessageW(h, TBM_SETRANGEMIN, FALSE, m.minimum);
        SendMessageW(h, TBM_SETRANGEMAX, FALSE, m.maximum);
        SendMessageW(h, TBM_SETPOS, TRUE, m.position);
        break;
    case Kind::StatusBar: {
        h = createChild(0, STATUSCLASSNAMEW, "", disabled, m.x, m.y, m.width, m.height, parent, id);
        int edges[] = {150, 300};
        SendMessageW(h, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
        SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(gbkToWide(m.caption).c_str()));
        break;
    }
    case Kind::Toolbar: {
        h = createChild(0, TOOLBARCLASSNAMEW, "",
                        TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | disabled,
                        m.x, m.y, m.width, m.height, parent, id);
        SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageW(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
        std::vector<std::wstring> captions;
        for (const std::string& item : m.items) captions.push_back(gbkToWide(item));
        std::vector<TBBUTTON> buttons(captions.size());
        for (size_t b = 0; b < captions.size(); ++b) {
            buttons[b].iBitmap = I_IMAGENONE;
            buttons[b].idCommand = static_cast<int>(b + 1);
            buttons[b].fsState = TBSTATE_ENABLED;
            buttons[b].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
            buttons[b].iString = reinterpret_cast<INT_PTR>(captions[b].c_str());
        }
        SendMessageW(h, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
        break;
    }
    case Kind::Timer:
        if (m.position > 0) SetTimer(handle_, id, static_cast<UINT>(m.position), nullptr);
        break;
    case Kind::FileDialog:
        break;
    }
    if (!h) return;
    // Creation order is the stacking order: later components lie above.
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowSubclass(h, componentSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
    // The name is visible from outside (a global atom in a window property),
    // so test drivers find components as the handlers do.
    state.nameAtom = GlobalAddAtomW(gbkToWide(m.name).c_str());
    SetPropW(h, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(state.nameAtom)));
    if (m.picture) Component(this, index).setPicture(m.picture());
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

// ---- messages ----------------------------------------------------------------

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

void Window::paintPanel(HWND panel, HDC dc) {
    RECT client{};
    GetClientRect(panel, &client);
    int index = indexOfHandle(panel);
    const ComponentState* state = index >= 0 ? &components_[index] : nullptr;
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    if (state && (state->model->kind == Kind::HtmlView || state->model->kind == Kind::WebBrowser))
        colour = RGB(255, 255, 255);
    if (state && state->model->background != kDefaultColour) colour = static_cast<COLORREF>(state->model->background);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    if (state && state->picture) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, state->picture.handle());
        SIZE size = state->picture.size();
        BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    if (state && state->model->kind == Kind::Frame) DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT);
    if (state && (state->model->kind == Kind::HtmlView || state->model->kind == Kind::WebBrowser))
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
}

LRESULT CALLBACK panelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Window::fromHandle(panel);
    if (!window) return DefWindowProcW(panel, message, wParam, lParam);
    LRESULT result = 0;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(panel, &paint);
        window->paintPanel(panel, dc);
        EndPaint(panel, &paint);
        return 0;
    }
    case WM_SIZE: {
        int index = window->indexOfHandle(panel);
        if (index >= 0 && window->components_[index].model->kind == Kind::PageControl)
            window->layoutPageControl(index);
        if (index >= 0 && window->components_[index].browser) window->components_[index].browser->fitToPanel();
        break;
    }
    case WM_LBUTTONUP: {
        int index = window->indexOfHandle(panel);
        if (index >= 0) {
            const std::string name = window->components_[index].model->name;
            window->raise(Event::Clicked, name);
        }
        return 0;
    }
    default:
        if (window->onChildMessage(message, wParam, lParam, result)) return result;
        break;
    }
    return DefWindowProcW(panel, message, wParam, lParam);
}

void Window::paintLabel(HWND label, HDC dc) {
    RECT client{};
    GetClientRect(label, &client);
    int index = indexOfHandle(label);
    if (index < 0) return;
    const ComponentState& state = components_[index];
    HWND parent = GetParent(label);
    if (state.model->kind == Kind::TransparentLabel && indexOfHandle(parent) >= 0 &&
        components_[indexOfHandle(parent)].model->kind != Kind::TabControl) {
        // What the parent panel shows behind the label, then the text.
        POINT origin{0, 0};
        MapWindowPoints(label, parent, &origin, 1);
        POINT old{};
        SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
        paintPanel(parent, dc);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
    } else if (state.model->background != kDefaultColour) {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(state.model->background));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(label, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    SetBkMode(dc, TRANSPARENT);
    COLORREF colour = state.model->textColour == kDefaultColour ? GetSysColor(COLOR_BTNTEXT)
                                                                 : static_cast<COLORREF>(state.model->textColour);
    SetTextColor(dc, IsWindowEnabled(label) ? colour : GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(dc, interfaceFont());
    // One-line labels are centred vertically and never wrap; the others wrap
    // from the top.
    if (captionWraps(client.bottom, text)) {
        const int pitch = labelLinePitch(dc);
        RECT line = client;
        for (const std::wstring& shown : labelLines(dc, text, client.right)) {
            DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &line, DT_NOPREFIX | DT_SINGLELINE);
            line.top += pitch;
        }
    } else {
        DrawTextW(dc, text.c_str(), length, &client, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    }
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK labelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(label, &paint);
        if (Window* window = Window::fromHandle(label)) window->paintLabel(label, dc);
        EndPaint(label, &paint);
        return 0;
    }
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, TRUE);
        return result;
    }
    case WM_LBUTTONUP:
        if (Window* window = Window::fromHandle(label)) {
            int index = window->indexOfHandle(label);
            if (index >= 0) {
                const std::string name = window->components_[index].model->name;
                window->raise(Event::Clicked, name);
            }
        }
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
    case WM_LBUTTONUP: {
        // After the control's own handling, so a slider reports its new position.
        const std::string name = nameOf();
        EventArgs args = eventArgs();
        LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
        if (!name.empty()) window->raise(Event::LeftButtonUp, name, args);
        return result;
    }
    case WM_LBUTTONDBLCLK: {
        const std::string name = nameOf();
        EventArgs args = eventArgs();
        LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
        if (!name.empty()) window->raise(Event::DoubleClicked, name, args);
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
