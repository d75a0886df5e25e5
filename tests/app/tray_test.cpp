// The main window and its tray icon: closing hides the window in the tray, a
// double click on the icon brings it back, and a right click pops up the
// tray menu whose "退出程序" asks before the program ends.
#include "tests/support/gui_driver.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace quorvane::test {
namespace {

// What the shell sends the window for a mouse message on its icon.
constexpr UINT kTrayCallbackMessage = 123456;

bool waitUntilShown(HWND window, bool shown) {
    for (int i = 0; i < 100; ++i) {
        if (isShown(window) == shown) return true;
        Sleep(50);
    }
    return false;
}

// Under Wine the system tray's own window may take the activation back a
// moment after the menu opened, which closes it unchosen, as a window popping
// up would close a user's menu; the user then clicks again.
HWND chooseExitFromTrayMenu(const GuiProgram& program, HWND main) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        PostMessageW(main, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
        if (!program.choosePopupMenuItem(0, 3000)) continue;
        if (HWND dialog = program.waitForWindow("退出程序？", 5000)) return dialog;
    }
    return nullptr;
}

TEST(TrayIcon, BringsTheHiddenMainWindowBackAndOffersTheExit) {
    GuiProgram program(QUORVANE_EXE);
    ASSERT_TRUE(program.started());
    HWND main = program.waitForWindow("Quorvane V3.60");
    ASSERT_NE(main, nullptr);

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntilShown(main, false)) << "the shell took the icon, so closing hides the window";
    PostMessageW(main, kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(waitUntilShown(main, true));
    EXPECT_FALSE(IsIconic(main));

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntilShown(main, false));
    HWND dialog = chooseExitFromTrayMenu(program, main);
    ASSERT_NE(dialog, nullptr) << "系统菜单 → 退出程序";
    ASSERT_TRUE(pressButton(dialog, "确 定"));
    EXPECT_EQ(program.waitForExit(15000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quorvane::test
