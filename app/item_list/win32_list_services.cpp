#include "app/item_list/win32_list_services.h"

#include "text/codepage.h"

#include <shellapi.h>

#include <cstring>

namespace quorvane {

namespace {

class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~ClipboardScope() { if (open_) CloseClipboard(); }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

}  // namespace

void Win32ListActionServices::showMessage(const std::string& title, const std::string& text) {
    MessageBoxW(owner_, gbkToWide(text).c_str(), gbkToWide(title).c_str(), MB_OK);
}

bool Win32ListActionServices::setClipboardText(const std::string& text) {
    // As UTF-16, so the text is right whatever the reader's code page.
    const std::wstring wide = gbkToWide(text);
    const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
    ClipboardScope clipboard(owner_);
    if (!clipboard.open() || !EmptyClipboard()) return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return false;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, wide.c_str(), size);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory)) return true;  // the clipboard owns it now
    GlobalFree(memory);
    return false;
}

bool Win32ListActionServices::openWithShell(const std::string& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner_, L"open", gbkToWide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

void Win32ListActionServices::processPendingEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // the message loop still has to see it
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace quorvane
