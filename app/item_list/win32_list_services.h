#pragma once
// The list actions' desktop services over plain Win32, owned by a window.
#include "app/item_list/list_services.h"

#include <windows.h>

namespace quorvane {

class Win32ListActionServices final : public ListActionServices {
public:
    explicit Win32ListActionServices(HWND owner) : owner_(owner) {}
    void showMessage(const std::string& title, const std::string& text) override;
    bool setClipboardText(const std::string& text) override;
    bool openWithShell(const std::string& target) override;
    void processPendingEvents() override;

private:
    HWND owner_;
};

}  // namespace quorvane
