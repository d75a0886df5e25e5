// The address input window, opened by a double click on the address box:
// the line count while typing, storing the cleaned list behind the marker
// "已粘贴多行地址", and showing the stored list when it opens again.
#include "tests/app/main_window_modes.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::test {
namespace {

class AddressInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(app.main(), nullptr);
        box = app["编辑框1"];
    }

    HWND open() {
        HWND found = openAddressInput(app);
        EXPECT_NE(found, nullptr);
        if (found) dialog = found;
        return found;
    }
    HWND dialogBox() const { return findComponent(dialog, "编辑框1"); }
    std::string count() const { return textOf(findComponent(dialog, "透明标签2")); }
    bool countBecomes(const std::string& shown) const {
        return ProgramInFolder::waitFor([&] { return count() == shown; });
    }

    ProgramInFolder app{"地址输入"};
    HWND box = nullptr;
    HWND dialog = nullptr;
};

TEST_F(AddressInput, OpensModallyWithAnEmptyList) {
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(ProgramInFolder::waitFor([&] { return !isEnabled(app.main()); }));
    EXPECT_EQ(textOf(dialogBox()), "");
    // Text set by the program raises no change in a multi-line box.
    EXPECT_EQ(count(), "当前共：[%d]行");
    ASSERT_TRUE(closeAddressInput(app, dialog, "取消退出"));
    EXPECT_TRUE(ProgramInFolder::waitFor([&] { return isEnabled(app.main()); }));
    // The double click's first press emptied the hint; the box lost the focus
    // to the window, which put the hint back.
    EXPECT_EQ(textOf(box), kSingleHint);
}

TEST_F(AddressInput, TypingCountsTheLines) {
    ASSERT_NE(open(), nullptr);
    typeText(dialogBox(), "http://a\r\n\r\nhttp://b\r\n");
    EXPECT_TRUE(countBecomes("当前共：[3]行")) << count();  // the blank line counts, the last break adds none
    PostMessageW(dialogBox(), EM_SETSEL, 0, -1);
    PostMessageW(dialogBox(), WM_CHAR, VK_BACK, 1);
    EXPECT_TRUE(countBecomes("当前共：[0]行")) << count();
}

TEST_F(AddressInput, ConfirmStoresTheCleanedListBehindTheMarker) {
    ASSERT_NE(open(), nullptr);
    typeText(dialogBox(), "  http://a\r\n \r\n\r\nhttp://b\r\n  ");
    ASSERT_TRUE(countBecomes("当前共：[5]行")) << count();
    ASSERT_TRUE(closeAddressInput(app, dialog, "确定保存"));
    EXPECT_EQ(textOf(box), kPastedMarker);

    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(textOf(dialogBox()), "http://a\r\nhttp://b");
    // Cancelling stores nothing.
    const auto end = static_cast<WPARAM>(gbkToWide(textOf(dialogBox())).size());
    PostMessageW(dialogBox(), EM_SETSEL, end, static_cast<LPARAM>(end));
    typeText(dialogBox(), "\r\nhttp://c");
    ASSERT_TRUE(countBecomes("当前共：[3]行")) << count();
    ASSERT_TRUE(closeAddressInput(app, dialog, "取消退出"));
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(textOf(dialogBox()), "http://a\r\nhttp://b");
    ASSERT_TRUE(closeAddressInput(app, dialog, "取消退出"));
}

TEST_F(AddressInput, OpeningTrimsTheStoredList) {
    // Blanks after a leading line break survive the confirmation; the window
    // trims them when it shows the list again.
    ASSERT_NE(open(), nullptr);
    typeText(dialogBox(), "\r\n  http://a");
    ASSERT_TRUE(countBecomes("当前共：[2]行")) << count();
    ASSERT_TRUE(closeAddressInput(app, dialog, "确定保存"));
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(textOf(dialogBox()), "http://a");
}

TEST_F(AddressInput, ConfirmingNothingLeavesTheAddressBox) {
    setText(box, "http://item.example/9");
    ASSERT_NE(open(), nullptr);
    ASSERT_TRUE(closeAddressInput(app, dialog, "确定保存"));
    EXPECT_EQ(textOf(box), "http://item.example/9");
}

}  // namespace
}  // namespace quorvane::test
