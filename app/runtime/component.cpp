#include "app/runtime/component.h"

#include "app/runtime/window.h"
#include "text/codepage.h"

#include <commctrl.h>

#include <algorithm>

namespace quorvane::ui {

namespace {

std::string windowText(HWND handle) {
    int length = GetWindowTextLengthW(handle);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(handle, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return wideToGbk(text);
}

// A control's drawing held back while several changes are made to it; one
// repaint follows. Each change drawn on its own costs far more than the
// change, most of all under Wine.
class RedrawPause {
public:
    explicit RedrawPause(HWND control) : control_(control) { SendMessageW(control_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawPause() {
        SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND control_;
};

bool isButtonLike(Kind kind) {
    return kind == Kind::Button || kind == Kind::PictureButton || kind == Kind::CheckBox ||
           kind == Kind::RadioButton;
}

}  // namespace

ComponentState* Component::state() const {
    if (!window_ || index_ < 0 || index_ >= static_cast<int>(window_->components_.size())) return nullptr;
    return &window_->components_[index_];
}

void Component::refreshCache() const {
    if (state()) window_->refreshCache(index_);
}

std::string Component::name() const { return state() ? state()->model->name : std::string(); }
HWND Component::handle() const { return state() ? state()->handle : nullptr; }

bool Component::visible() const { return state() && state()->ownVisible; }

void Component::setVisible(bool visible) {
    ComponentState* s = state();
    if (!s) return;
    s->ownVisible = visible;
    window_->applyVisibility(index_);
}

bool Component::disabled() const { return handle() && !IsWindowEnabled(handle()); }

void Component::setDisabled(bool disabled) {
    if (handle()) EnableWindow(handle(), disabled ? FALSE : TRUE);
}

std::string Component::text() const {
    ComponentState* s = state();
    if (!s || !s->handle) return {};
    if (s->model->kind == Kind::StatusBar) {
        wchar_t buffer[512] = {};
        LRESULT length = SendMessageW(s->handle, SB_GETTEXTLENGTHW, 0, 0);
        if (LOWORD(length) >= 512) return {};
        SendMessageW(s->handle, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer));
        return wideToGbk(buffer);
    }
    return windowText(s->handle);
}

void Component::setText(std::string_view text) {
    ComponentState* s = state();
    if (!s || !s->handle) return;
    std::wstring wide = gbkToWide(text);
    switch (s->model->kind) {
    case Kind::StatusBar:
        SendMessageW(s->handle, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        break;
    case Kind::ComboBox: {
        LRESULT found = SendMessageW(s->handle, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(wide.c_str()));
        SendMessageW(s->handle, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : found, 0);
        break;
    }
    default:
        SetWindowTextW(s->handle, wide.c_str());
        break;
    }
    refreshCache();
}

// Without a pause of its drawing: the box scrolls what it showed and draws
// only the new lines, where a paused box repaints itself whole, frame and
// scroll bar included, for every batch of log lines.
void Component::appendText(std::string_view text) {
    HWND h = handle();
    if (!h || text.empty()) return;
    int end = GetWindowTextLengthW(h);
    SendMessageW(h, EM_SETSEL, end, end);
    SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(gbkToWide(text).c_str()));
    SendMessageW(h, EM_SCROLLCARET, 0, 0);
}

void Component::selectAllText() {
    if (handle()) SendMessageW(handle(), EM_SETSEL, 0, -1);
}

bool Component::checked() const {
    ComponentState* s = state();
    return s && s->handle && isButtonLike(s->model->kind) &&
           SendMessageW(s->handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Component::setChecked(bool checked) {
    ComponentState* s = state();
    if (!s || !s->handle) return;
    SendMessageW(s->handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked && s->model->kind == Kind::RadioButton) {
        for (size_t i = 0; i < window_->components_.size(); ++i) {
            ComponentState& other = window_->components_[i];
            if (static_cast<int>(i) == index_ || other.model->kind != Kind::RadioButton ||
                other.parentHandle != s->parentHandle)
                continue;
            SendMessageW(other.handle, BM_SETCHECK, BST_UNCHECKED, 0);
            window_->refreshCache(static_cast<int>(i));
        }
    }
    refreshCache();
}

int Component::selection() const {
    ComponentState* s = state();
    if (!s || !s->handle) return -1;
    if (s->model->kind == Kind::ComboBox) return static_cast<int>(SendMessageW(s->handle, CB_GETCURSEL, 0, 0));
    if (s->model->kind != Kind::ListView) return -1;
    // The focused row when it is selected, else the first selected row.
    int focused = static_cast<int>(SendMessageW(s->handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused >= 0 && SendMessageW(s->handle, LVM_GETITEMSTATE, focused, LVIS_SELECTED)) return focused;
    return static_cast<int>(SendMessageW(s->handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Component::setSelection(int index) {
    ComponentState* s = state();
    if (!s || !s->handle) return;
    if (s->model->kind == Kind::ComboBox) {
        SendMessageW(s->handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        refreshCache();
    } else if (s->model->kind == Kind::ListView) {
        for (int row : selectedRows()) setRowSelected(row, false);
        if (index < 0) return;
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(s->handle, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
        SendMessageW(s->handle, LVM_ENSUREVISIBLE, index, FALSE);
    }
}

int Component::page() const { return state() ? state()->currentPage : 0; }

void Component::setPage(int page) {
    if (state()) window_->showPage(index_, page);
}

void Component::setTabHeadersVisible(bool visible) {
    ComponentState* s = state();
    if (!s || !s->tabStrip) return;
    ShowWindow(s->tabStrip, visible ? SW_SHOWNA : SW_HIDE);
    window_->layoutPageControl(index_);
}

void Component::setPicture(Picture picture) {
    ComponentState* s = state();
    if (!s || !s->handle) return;
    s->picture = std::move(picture);
    if (s->model->kind == Kind::PictureButton)
        SendMessageW(s->handle, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(s->picture.handle()));
    // Transparent labels on the panel show the new picture too.
    RedrawWindow(s->handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int Component::height() const {
    RECT r{};
    if (handle()) GetWindowRect(handle(), &r);
    return r.bottom - r.top;
}

void Component::setHeight(int height) {
    HWND h = handle();
    if (!h) return;
    RECT r{};
    GetWindowRect(h, &r);
    SetWindowPos(h, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Component::position() const {
    ComponentState* s = state();
    if (!s || !s->handle) return 0;
    if (s->model->kind == Kind::Slider) return static_cast<int>(SendMessageW(s->handle, TBM_GETPOS, 0, 0));
    if (s->model->kind == Kind::ProgressBar) return static_cast<int>(SendMessageW(s->handle, PBM_GETPOS, 0, 0));
    return 0;
}

void Component::setPosition(int position) {
    ComponentState* s = state();
    if (!s || !s->handle) return;
    if (s->model->kind == Kind::Slider) SendMessageW(s->handle, TBM_SETPOS, TRUE, position);
    if (s->model->kind == Kind::ProgressBar) SendMessageW(s->handle, PBM_SETPOS, position, 0);
    UpdateWindow(s->handle);
}

void Component::setRange(int minimum, int maximum) {
    ComponentState* s = state();
    if (!s || !s->handle) return;
    if (s->model->kind == Kind::Slider) {
        SendMessageW(s->handle, TBM_SETRANGEMIN, FALSE, minimum);
        SendMessageW(s->handle, TBM_SETRANGEMAX, TRUE, maximum);
    }
    if (s->model->kind == Kind::ProgressBar) SendMessageW(s->handle, PBM_SETRANGE32, minimum, maximum);
}

void Component::click() {
    if (handle()) SendMessageW(handle(), BM_CLICK, 0, 0);
}

void Component::setFocus() {
    if (handle()) SetFocus(handle());
}

int Component::rowCount() const {
    return handle() ? static_cast<int>(SendMessageW(handle(), LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int Component::addRow(const std::vector<std::string>& cells) {
    HWND h = handle();
    if (!h) return -1;
    std::wstring first = cells.empty() ? std::wstring() : gbkToWide(cells[0]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = rowCount();
    item.pszText = first.data();
    int row = static_cast<int>(SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    for (size_t c = 1; c < cells.size(); ++c) setCell(row, static_cast<int>(c), cells[c]);
    return row;
}

void Component::addRows(const std::vector<std::vector<std::string>>& rows) {
    HWND h = handle();
    if (!h || rows.empty()) return;
    RedrawPause pause(h);
    SendMessageW(h, LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount()) + rows.size(), LVSICF_NOINVALIDATEALL);
    for (const std::vector<std::string>& cells : rows) addRow(cells);
}

std::string Component::cell(int row, int column) const {
    HWND h = handle();
    if (!h || row < 0 || row >= rowCount()) return {};
    // The list view gives no length first: grow until the text fits.
    for (size_t size = 256;; size *= 4) {
        std::wstring buffer(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        auto length = static_cast<size_t>(SendMessageW(h, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size || size > (1u << 22)) {
            buffer.resize(length);
            return wideToGbk(buffer);
        }
    }
}

void Component::setCell(int row, int column, std::string_view text) {
    HWND h = handle();
    if (!h) return;
    std::wstring wide = gbkToWide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(h, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void Component::deleteRow(int row) {
    if (handle()) SendMessageW(handle(), LVM_DELETEITEM, row, 0);
}

void Component::deleteRows(std::vector<int> rows) {
    HWND h = handle();
    if (!h || rows.empty()) return;
    RedrawPause pause(h);
    // From the bottom up, so the rows still to go stay where they were.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) SendMessageW(h, LVM_DELETEITEM, *it, 0);
}

void Component::clearRows() {
    if (handle()) SendMessageW(handle(), LVM_DELETEALLITEMS, 0, 0);
}

std::vector<int> Component::selectedRows() const {
    std::vector<int> rows;
    HWND h = handle();
    if (!h) return rows;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0) return rows;
        rows.push_back(row);
    }
}

void Component::setRowSelected(int row, bool selected) {
    HWND h = handle();
    if (!h) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(h, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void Component::selectRows(const std::vector<int>& rows) {
    HWND h = handle();
    if (!h) return;
    // Row by row: the list view draws a changed row alone, and a pause of its
    // drawing costs more than that.
    for (int row : rows) setRowSelected(row, true);
}

void Component::setInterval(int milliseconds) {
    ComponentState* s = state();
    if (!s || s->model->kind != Kind::Timer) return;
    const UINT_PTR id = 1000 + static_cast<UINT_PTR>(index_);
    if (milliseconds > 0) SetTimer(window_->handle(), id, static_cast<UINT>(milliseconds), nullptr);
    else KillTimer(window_->handle(), id);
}

void Component::navigate(std::string_view address) {
    ComponentState* s = state();
    if (!s || !s->handle || (s->model->kind != Kind::HtmlView && s->model->kind != Kind::WebBrowser)) return;
    s->address = address;
    if (!s->browserTried) {
        s->browserTried = true;
        s->browser = Browser::create(s->handle);
    }
    if (s->browser) s->browser->navigate(address);
}

std::string Component::documentHtml() const {
    ComponentState* s = state();
    return s && s->browser ? s->browser->documentHtml() : std::string();
}

std::string Component::address() const { return state() ? state()->address : std::string(); }

}  // namespace quorvane::ui
