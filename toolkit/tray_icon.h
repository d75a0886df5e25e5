#pragma once
// One icon of the application in the taskbar's notification area. It
// subclasses the window it belongs to, reports mouse events on the icon to
// one callback routine, comes back when the taskbar is re-created and is
// removed when that window is destroyed. User-interface thread only.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quorvane::toolkit {

inline constexpr UINT kTrayCallbackMessage = 123456;
inline constexpr std::size_t kTrayTipLimit = 127;

// Receives the mouse message on the icon (WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
// ...); it is called with two more arguments of 0, which it may ignore.
using TrayCallback = void(WINAPI*)(std::intptr_t mouseMessage);

// RegisterWindowMessageA("TaskbarCreated"), once.
void registerTaskbarCreated();

// The first call subclasses the window and adds the icon: from the ICO
// bytes when given and usable, else the window's own small icon; the tip is
// cut to 127 bytes at a character boundary. False when the shell did not
// take the icon; the window then cannot be reached through the tray. A call
// while installed only changes the given icon and tip.
[[nodiscard]] bool installTrayIcon(HWND window, std::span<const unsigned char> icoBytes = {},
                                   std::optional<std::string_view> tip = std::nullopt, TrayCallback callback = nullptr);
// Whether the shell holds the icon now: after the install, or after it was
// added again when the taskbar came back.
bool trayIconAdded();
// Unusable bytes leave the icon as it is.
void updateTrayIcon(std::span<const unsigned char> icoBytes);
void setTrayTip(std::string_view tip);
// Gives the window its procedure back and takes the icon away.
void removeTrayIcon();

// The window procedure installed by the subclass.
LRESULT CALLBACK trayWindowProcEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// For tests: what takes the notification-area calls instead of the shell
// (nullptr: Shell_NotifyIconA again).
using TrayNotifier = BOOL(WINAPI*)(DWORD message, NOTIFYICONDATAA* data);
void setTrayNotifier(TrayNotifier notifier);

}  // namespace quorvane::toolkit
