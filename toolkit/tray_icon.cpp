#include "toolkit/tray_icon.h"

#include "toolkit/icon_file.h"
#include "toolkit/routine_call.h"

#include <cstring>

namespace quorvane::toolkit {
namespace {

constexpr UINT kIconId = 1;
constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// The shell's record without the members of later versions: 488 bytes in
// the 32-bit program, whatever mingw's own sizeof says.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V2_SIZE;
#if defined(__i386__)
static_assert(kRecordSize == 488);
#endif

struct TrayState {
    HWND window = nullptr;
    WNDPROC previous = nullptr;  // nullptr while not installed
    TrayCallback callback = nullptr;
    NOTIFYICONDATAA data{};
    HICON ownedIcon = nullptr;  // made here from icon bytes
    bool added = false;
    UINT taskbarCreated = 0;
    TrayNotifier notifier = nullptr;
};

TrayState& tray() {
    static TrayState state;
    return state;
}

BOOL notify(DWORD message) {
    TrayState& state = tray();
    return (state.notifier ? state.notifier : Shell_NotifyIconA)(message, &state.data);
}

bool isGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// At most the limit, and never half of a double-byte character.
std::string_view cutAtCharacter(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size() && text[end] != '\0') {
        const std::size_t step = isGbkLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + step > limit) break;
        end += step;
    }
    return text.substr(0, end);
}

void putTip(std::string_view tip) {
    const std::string_view cut = cutAtCharacter(tip, kTrayTipLimit);
    char* into = tray().data.szTip;
    std::memcpy(into, cut.data(), cut.size());
    into[cut.size()] = '\0';
}

void replaceOwnedIcon(HICON icon) {
    TrayState& state = tray();
    if (state.ownedIcon && state.ownedIcon != icon) DestroyIcon(state.ownedIcon);
    state.ownedIcon = icon;
}

void invokeTrayCallback(TrayCallback routine, std::intptr_t a, std::intptr_t b = 0, std::intptr_t c = 0) {
    callWithThreeArgs(reinterpret_cast<const void*>(routine), a, b, c);
}

}  // namespace

void registerTaskbarCreated() {
    if (!tray().taskbarCreated) tray().taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
}

bool installTrayIcon(HWND window, std::span<const unsigned char> icoBytes, std::optional<std::string_view> tip,
                     TrayCallback callback) {
    TrayState& state = tray();
    if (state.previous) {
        if (!icoBytes.empty()) updateTrayIcon(icoBytes);
        if (tip) setTrayTip(*tip);
        return state.added;
    }
    if (!IsWindow(window)) return false;
    registerTaskbarCreated();
    // The window stays a Unicode window: an ANSI subclass would pass its
    // texts through the machine's code page.
    SetLastError(0);
    const LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&trayWindowProcEntry));
    if (!previous) return false;
    state.window = window;
    state.previous = reinterpret_cast<WNDPROC>(previous);
    state.callback = callback;

    HICON icon = icoBytes.empty() ? nullptr : iconFromIcoBytes(icoBytes);
    replaceOwnedIcon(icon);
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    state.data = NOTIFYICONDATAA{};
    state.data.cbSize = kRecordSize;
    state.data.hWnd = window;
    state.data.uID = kIconId;
    state.data.uFlags = kIconFlags;
    state.data.uCallbackMessage = kTrayCallbackMessage;
    state.data.hIcon = icon;
    putTip(tip.value_or(""));
    state.added = notify(NIM_ADD);
    return state.added;
}

bool trayIconAdded() { return tray().added; }

void updateTrayIcon(std::span<const unsigned char> icoBytes) {
    TrayState& state = tray();
    if (!state.previous) return;
    HICON icon = iconFromIcoBytes(icoBytes);
    if (!icon) return;
    state.data.uFlags = kIconFlags;
    state.data.hIcon = icon;
    notify(NIM_MODIFY);
    replaceOwnedIcon(icon);
}

void setTrayTip(std::string_view tip) {
    TrayState& state = tray();
    if (!state.previous) return;
    state.data.uFlags = kIconFlags;
    putTip(tip);
    notify(NIM_MODIFY);
}

void removeTrayIcon() {
    TrayState& state = tray();
    if (!state.previous) return;
    SetWindowLongPtrW(state.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state.previous));
    state.previous = nullptr;
    notify(NIM_DELETE);
    state.added = false;
    replaceOwnedIcon(nullptr);
}

LRESULT CALLBACK trayWindowProcEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TrayState& state = tray();
    const WNDPROC previous = state.previous;
    if (!previous) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_DESTROY) {
        removeTrayIcon();
    } else if (message == kTrayCallbackMessage) {
        if (state.callback) {
            invokeTrayCallback(state.callback, lParam);
            return 0;
        }
    } else if (state.taskbarCreated && message == state.taskbarCreated) {
        state.added = notify(NIM_ADD);
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

void setTrayNotifier(TrayNotifier notifier) { tray().notifier = notifier; }

}  // namespace quorvane::toolkit
