// The controls of a window's components, made from their templates: one
// creator per kind of component, looked up in a table.
#include "app/runtime/window.h"

#include "app/runtime/caption_layout.h"
#include "app/runtime/interface_font.h"
#include "app/runtime/window_classes.h"
#include "text/codepage.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quorvane::ui {

namespace {

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

// One component's control in the making.
struct Creation {
    const ComponentTemplate& model;
    ComponentState& state;
    HWND parent;
    int id;
};

// The component's control where its template places it. The handle is the
// component's before any further message reaches the control: the
// notifications these messages cause find the component by it.
HWND createControl(const Creation& c, DWORD exStyle, const wchar_t* className, const std::string& text, DWORD style,
                   int listHeight = 0) {
    const ComponentTemplate& m = c.model;
    const DWORD disabled = (m.state & kDisabled) ? WS_DISABLED : 0;
    c.state.handle =
        createChild(exStyle, className, text, style | disabled, m.x, m.y, m.width, m.height + listHeight, c.parent, c.id);
    return c.state.handle;
}

DWORD wrapStyle(const ComponentTemplate& m) { return captionWraps(m.height, gbkToWide(m.caption)) ? BS_MULTILINE : 0; }

void createEdit(const Creation& c) {
    const ComponentTemplate& m = c.model;
    DWORD style = WS_TABSTOP;
    if (m.state & kMultiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (m.state & kHorizontalScroll) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (m.state & kVerticalScroll) style |= WS_VSCROLL;
    if (m.state & kReadOnly) style |= ES_READONLY;
    HWND h = createControl(c, WS_EX_CLIENTEDGE, L"EDIT", "", style);
    // No cut-off: a long run's log must keep every line.
    SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(h, gbkToWide(m.caption).c_str());
}

void createButton(const Creation& c) {
    createControl(c, 0, L"BUTTON", c.model.caption, WS_TABSTOP | BS_PUSHBUTTON | wrapStyle(c.model));
}

void createPictureButton(const Creation& c) {
    createControl(c, 0, L"BUTTON", c.model.caption, WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP);
}

void createCheckBox(const Creation& c) {
    HWND h = createControl(c, 0, L"BUTTON", c.model.caption, WS_TABSTOP | BS_AUTOCHECKBOX | wrapStyle(c.model));
    if (c.model.state & kChecked) SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
}

void createRadioButton(const Creation& c) {
    HWND h = createControl(c, 0, L"BUTTON", c.model.caption, WS_TABSTOP | BS_RADIOBUTTON | wrapStyle(c.model));
    if (c.model.state & kChecked) SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
}

void createComboBox(const Creation& c) {
    // The height given is the closed box; the list drops below it.
    HWND h = createControl(c, 0, WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 200);
    for (const std::string& item : c.model.items)
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(gbkToWide(item).c_str()));
}

void createTabControl(const Creation& c) {
    addTabs(createControl(c, 0, WC_TABCONTROLW, "", WS_CLIPCHILDREN), c.model.items);
}

// A panel holding a tab strip and one panel per page; the window lays the
// pages out and shows the first.
void createPageControl(const Creation& c) {
    const ComponentTemplate& m = c.model;
    ComponentState& state = c.state;
    HWND h = createControl(c, WS_EX_CONTROLPARENT, kPanelClass, "", WS_CLIPCHILDREN);
    state.tabStrip = createChild(0, WC_TABCONTROLW, "", WS_VISIBLE, 0, 0, m.width, kTabStripHeight, h, c.id);
    addTabs(state.tabStrip, m.items);
    for (size_t page = 0; page < std::max<size_t>(1, m.items.size()); ++page)
        state.pages.push_back(createChild(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CLIPCHILDREN, 0, 0, 0, 0, h, 0));
}

void createListView(const Creation& c) {
    HWND h = createControl(c, WS_EX_CLIENTEDGE, WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS);
    SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const std::vector<Column>& columns = c.model.columns;
    for (size_t i = 0; i < columns.size(); ++i) {
        std::wstring title = gbkToWide(columns[i].title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title.data();
        column.cx = columns[i].width;
        SendMessageW(h, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void createLabel(const Creation& c) { createControl(c, 0, kLabelClass, c.model.caption, 0); }

// Under Wine there is no HTML engine: the views stay empty panels.
void createPanel(const Creation& c) { createControl(c, WS_EX_CONTROLPARENT, kPanelClass, "", WS_CLIPCHILDREN); }

void createProgressBar(const Creation& c) {
    HWND h = createControl(c, 0, PROGRESS_CLASSW, "", 0);
    SendMessageW(h, PBM_SETRANGE32, c.model.minimum, c.model.maximum);
    SendMessageW(h, PBM_SETPOS, c.model.position, 0);
}

void createSlider(const Creation& c) {
    HWND h = createControl(c, 0, TRACKBAR_CLASSW, "", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS);
    SendMessageW(h, TBM_SETRANGEMIN, FALSE, c.model.minimum);
    SendMessageW(h, TBM_SETRANGEMAX, FALSE, c.model.maximum);
    SendMessageW(h, TBM_SETPOS, TRUE, c.model.position);
}

void createStatusBar(const Creation& c) {
    HWND h = createControl(c, 0, STATUSCLASSNAMEW, "", 0);
    int edges[] = {150, 300};
    SendMessageW(h, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(gbkToWide(c.model.caption).c_str()));
}

void createToolbar(const Creation& c) {
    HWND h = createControl(c, 0, TOOLBARCLASSNAMEW, "",
                           TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER);
    SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    std::vector<std::wstring> captions;
    for (const std::string& item : c.model.items) captions.push_back(gbkToWide(item));
    std::vector<TBBUTTON> buttons(captions.size());
    for (size_t b = 0; b < captions.size(); ++b) {
        buttons[b].iBitmap = I_IMAGENONE;
        buttons[b].idCommand = static_cast<int>(b + 1);
        buttons[b].fsState = TBSTATE_ENABLED;
        buttons[b].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        buttons[b].iString = reinterpret_cast<INT_PTR>(captions[b].c_str());
    }
    SendMessageW(h, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

using Creator = void (*)(const Creation&);

struct KindCreator {
    Kind kind;
    Creator create;
};

// File dialogs and timers have no control: no creator.
constexpr KindCreator kCreators[] = {
    {Kind::Edit, createEdit},
    {Kind::Button, createButton},
    {Kind::PictureButton, createPictureButton},
    {Kind::CheckBox, createCheckBox},
    {Kind::RadioButton, createRadioButton},
    {Kind::ComboBox, createComboBox},
    {Kind::TabControl, createTabControl},
    {Kind::PageControl, createPageControl},
    {Kind::ListView, createListView},
    {Kind::Label, createLabel},
    {Kind::TransparentLabel, createLabel},
    {Kind::PictureBox, createPanel},
    {Kind::DrawingPanel, createPanel},
    {Kind::Frame, createPanel},
    {Kind::AnimationBox, createPanel},
    {Kind::HtmlView, createPanel},
    {Kind::WebBrowser, createPanel},
    {Kind::ProgressBar, createProgressBar},
    {Kind::Slider, createSlider},
    {Kind::StatusBar, createStatusBar},
    {Kind::Toolbar, createToolbar},
};

Creator creatorOf(Kind kind) {
    for (const KindCreator& entry : kCreators)
        if (entry.kind == kind) return entry.create;
    return nullptr;
}

}  // namespace

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
    const Creator create = creatorOf(m.kind);
    if (!create) return;
    HWND parent = containerFor(m, state.parentIndex);
    state.parentHandle = parent;
    create(Creation{m, state, parent, kFirstControlId + index});
    if (m.kind == Kind::PageControl) {
        layoutPageControl(index);
        showPage(index, 0);
    }
    HWND h = state.handle;
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

}  // namespace quorvane::ui
