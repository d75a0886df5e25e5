#include "toolkit/tooltip_window.h"

#include <commctrl.h>

#include <string>

namespace quorvane::toolkit {
namespace {

std::wstring fromGbk(std::string_view text) {
    const int units = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
    if (units > 0) MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return wide;
}

}  // namespace

ToolTipWindow::~ToolTipWindow() {
    if (IsWindow(toolTipWindow_)) DestroyWindow(toolTipWindow_);
}

HWND ToolTipWindow::create(HWND owner) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    if (IsWindow(toolTipWindow_)) DestroyWindow(toolTipWindow_);
    ownerWindow_ = owner;
    toolTipWindow_ =
        CreateWindowExW(0, TOOLTIPS_CLASSW, L"", TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return toolTipWindow_;
}

void ToolTipWindow::addTool(RECT area, std::string_view text, UINT id) {
    const std::wstring wide = fromGbk(text);
    add(area, wide.c_str(), id);  // the control copies the text
}

void ToolTipWindow::addCallbackTool(RECT area, UINT id) { add(area, LPSTR_TEXTCALLBACKW, id); }

void ToolTipWindow::add(RECT area, const wchar_t* text, UINT id) {
    if (!toolTipWindow_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = ownerWindow_;
    tool.uId = id;
    tool.rect = area;
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(toolTipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace quorvane::toolkit
