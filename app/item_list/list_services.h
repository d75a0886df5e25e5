#pragma once
// What the list actions need from the desktop, behind one seam so tests can
// watch the messages, clipboard texts and shell calls instead of a desktop.
#include <string>

namespace quorvane {

class ListActionServices {
public:
    virtual ~ListActionServices() = default;
    // A message box with an OK button and no icon.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
    virtual bool setClipboardText(const std::string& text) = 0;
    // Shell verb "open", normal window: a web address shows in the browser.
    virtual bool openWithShell(const std::string& target) = 0;
    virtual void processPendingEvents() = 0;
};

}  // namespace quorvane
