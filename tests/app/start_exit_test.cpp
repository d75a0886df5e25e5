// The program starts with its main window and ends only through the exit
// dialog: closing the main window hides it.
#include "tests/support/gui_driver.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

TEST(StartExit, CloseHidesTheMainWindowAndTheExitDialogEndsTheProgram) {
    GuiProgram program(QUORVANE_EXE);
    ASSERT_TRUE(program.started());
    HWND main = program.waitForWindow("Quorvane V3.60");
    ASSERT_NE(main, nullptr) << "no main window within 10 s";
    ASSERT_TRUE(isShown(main));

    PostMessageW(main, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && isShown(main); ++i) Sleep(50);
    EXPECT_FALSE(isShown(main));
    EXPECT_FALSE(program.waitForExit(200)) << "closing the main window must not end the program";
    ShowWindow(main, SW_SHOW);

    // 功能菜单 → "退出" asks first; "取 消" leaves everything as it was.
    chooseMenuBarItem(main, 5);
    HWND dialog = program.waitForWindow("退出程序？");
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(findByCaption(dialog, "你是否确定退出程序！"), nullptr);
    ASSERT_TRUE(pressButton(dialog, "取 消"));
    EXPECT_TRUE(program.waitForWindowGone("退出程序？"));
    EXPECT_FALSE(program.waitForExit(200));

    chooseMenuBarItem(main, 5);
    dialog = program.waitForWindow("退出程序？");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pressButton(dialog, "确 定"));
    EXPECT_EQ(program.waitForExit(15000), std::optional<DWORD>(0));
}

TEST(StartExit, RunsFromAFolderWithAChineseName) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string folder = wideToGbk(temp) + "启动测试";
    const std::string copy = copyProgramTo(QUORVANE_EXE, folder);
    ASSERT_FALSE(copy.empty());
    {
        GuiProgram program(copy);
        ASSERT_TRUE(program.started());
        EXPECT_NE(program.waitForWindow("Quorvane V3.60"), nullptr);
    }
    DeleteFileW(gbkToWide(copy).c_str());
    RemoveDirectoryW(gbkToWide(folder).c_str());
}

}  // namespace
}  // namespace quorvane::test
