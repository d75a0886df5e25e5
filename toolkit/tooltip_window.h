#pragma once
// A tooltip control whose tools are areas of one owner window.
#include <windows.h>

#include <string_view>

namespace quorvane::toolkit {

class ToolTipWindow {
public:
    ToolTipWindow() = default;
    ~ToolTipWindow();
    ToolTipWindow(const ToolTipWindow&) = delete;
    ToolTipWindow& operator=(const ToolTipWindow&) = delete;

    // A new control for the owner's areas; one made before goes.
    HWND create(HWND owner);
    // A tool over the area with the GBK text, which the control keeps.
    void addTool(RECT area, std::string_view text, UINT id);
    // A tool whose text the control asks the owner for.
    void addCallbackTool(RECT area, UINT id);
    HWND handle() const { return toolTipWindow_; }

private:
    void add(RECT area, const wchar_t* text, UINT id);

    HWND toolTipWindow_ = nullptr;
    HWND ownerWindow_ = nullptr;
};

}  // namespace quorvane::toolkit
