// The navigation toolbar in the header label 透明标签3: its items switch the
// views as the menu does, the sixth asks whether to exit, the selected item
// does nothing when clicked again, and redraws keep the program's memory flat.
#include "tests/app/main_window_modes.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

// Items are 65 wide after a 5-pixel gap: item n's middle.
POINT itemPoint(int n) { return POINT{(n - 1) * 70 + 5 + 32, 30}; }

class NavigationToolbar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(app.main(), nullptr);
        bar = app["透明标签3"];
        ASSERT_NE(bar, nullptr);
    }
    void click(int item) const { leftClick(bar, itemPoint(item)); }
    bool headerShows(std::string_view header) const {
        return ProgramInFolder::waitFor([&] { return textOf(app["透明标签14"]) == header; });
    }

    ProgramInFolder app{"导航工具条"};
    HWND bar = nullptr;
};

TEST_F(NavigationToolbar, ItemsSwitchTheViewsAsTheMenuDoes) {
    click(2);
    ASSERT_TRUE(headerShows(kListHeader));
    EXPECT_EQ(textOf(app["透明标签1"]), "列表地址：");
    EXPECT_EQ(textOf(app["编辑框1"]), kListHint);
    click(3);
    ASSERT_TRUE(headerShows(kShopHeader));
    EXPECT_EQ(textOf(app["编辑框1"]), kShopHint);
    click(4);
    ASSERT_TRUE(headerShows(kSettingsHeader));
    EXPECT_TRUE(isShown(app["按钮4"])) << "the settings page";
    click(1);
    ASSERT_TRUE(headerShows(kSingleHeader));
    EXPECT_EQ(textOf(app["透明标签1"]), "宝贝地址：");
    EXPECT_EQ(textOf(app["编辑框1"]), kSingleHint);
}

TEST_F(NavigationToolbar, TheSelectedItemDoesNothingUntilAnotherIsClicked) {
    // The menu changes the view, not the toolbar's selection: item 1 still is.
    ASSERT_TRUE(switchTo(app, View::List));
    click(1);
    click(5);
    ASSERT_TRUE(headerShows(""));
    EXPECT_EQ(textOf(app["透明标签1"]), "列表地址：") << "item 1 did not switch to the single-item view";
    click(1);
    ASSERT_TRUE(headerShows(kSingleHeader));
}

TEST_F(NavigationToolbar, TheSixthItemAsksWhetherToExit) {
    click(6);
    HWND dialog = app.program().waitForWindow("退出程序？");
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(findByCaption(dialog, "你是否确定退出程序！"), nullptr);
    ASSERT_TRUE(pressButton(dialog, "取 消"));
    EXPECT_TRUE(app.program().waitForWindowGone("退出程序？"));
    EXPECT_FALSE(app.program().waitForExit(200).has_value());
}

TEST_F(NavigationToolbar, RedrawsOnActivationKeepMemoryFlat) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.program().processId());
    ASSERT_NE(process, nullptr);
    // The program's committed private memory, region by region (Wine does
    // not count it for another process).
    auto privateBytes = [&] {
        long long total = 0;
        MEMORY_BASIC_INFORMATION region{};
        for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
             at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
            if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
                total += static_cast<long long>(region.RegionSize);
        }
        return total;
    };
    auto redraw = [&](WPARAM state) {
        SendMessageW(app.main(), WM_ACTIVATE, state, 0);
        RedrawWindow(bar, nullptr, nullptr, RDW_UPDATENOW);
    };
    for (int i = 0; i < 5; ++i) redraw(i % 2 ? WA_INACTIVE : WA_ACTIVE);
    const long long before = privateBytes();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 60; ++i) redraw(i % 2 ? WA_INACTIVE : WA_ACTIVE);
    // One bar is 896 x 64 x 4 bytes: sixty kept would be 13 MB.
    EXPECT_LT(privateBytes() - before, 4 << 20);
    CloseHandle(process);
    click(2);
    EXPECT_TRUE(headerShows(kListHeader)) << "still drawn and working";
}

}  // namespace
}  // namespace quorvane::test
