#pragma once
// The system's WebBrowser control hosted in a panel (a small in-place
// ActiveX site of our own). Where the control cannot be created the panel
// simply stays empty.
#include "text/com.h"

#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <string_view>

namespace quorvane::ui {

class BrowserSite;

class Browser {
public:
    // nullptr when the control is not available.
    static std::unique_ptr<Browser> create(HWND panel);
    ~Browser();
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    void navigate(std::string_view address);
    void fitToPanel();
    // The outer HTML of the loaded document's root element; empty while none is loaded.
    std::string documentHtml() const;

private:
    Browser() = default;

    HWND panel_ = nullptr;
    BrowserSite* site_ = nullptr;
    ComPtr<IOleObject> object_;
    ComPtr<IWebBrowser2> browser_;
};

}  // namespace quorvane::ui
