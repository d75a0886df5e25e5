// How panels and labels draw themselves: the panel kinds have no control of
// their own, and labels draw their text so that a transparent one shows the
// panel behind it.
#include "app/runtime/window.h"

#include "app/runtime/caption_layout.h"
#include "app/runtime/interface_font.h"

#include <string>

namespace quorvane::ui {

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

}  // namespace quorvane::ui
