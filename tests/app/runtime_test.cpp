// The window runtime seen from outside: a small program built on it
// (tests/support/runtime_fixture_program.cpp), driven through the GUI driver.
#include "tests/support/fixtures.h"
#include "tests/support/gui_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace quorvane::test {
namespace {

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.started());
        window = program.waitForWindow("运行库样板");
        ASSERT_NE(window, nullptr);
    }

    HWND part(const char* name) {
        HWND found = findComponent(window, name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    bool labelBecomes(const char* name, const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (textOf(part(name)) == text) return true;
            Sleep(50);
        }
        ADD_FAILURE() << name << " shows \"" << textOf(part(name)) << "\", not \"" << text << "\"";
        return false;
    }

    GuiProgram program{RUNTIME_FIXTURE_EXE};
    HWND window = nullptr;
};

TEST_F(RuntimeTest, AButtonsHandlerOpensAMessageBoxThatTheDriverAnswers) {
    struct Case {
        const char* typed;
        int answer;
        const char* shown;
    };
    for (const Case& c : {Case{"甲乙丙", IDYES, "是"}, Case{"第二个问题", IDNO, "否"}}) {
        setText(part("编辑框1"), c.typed);
        ASSERT_TRUE(pressButton(window, "提问"));
        auto box = program.waitForMessageBox("请回答");
        ASSERT_TRUE(box) << c.typed;
        EXPECT_EQ(box->text, c.typed);
        answerMessageBox(box->window, c.answer);
        labelBecomes("标签1", c.shown);
    }
}

TEST_F(RuntimeTest, ListRowsColumnsAndSelectionAreReadAcrossProcesses) {
    HWND list = part("超级列表框1");
    EXPECT_EQ(listColumns(list), (std::vector<std::string>{"名称", "价格", "宝贝地址", "ID"}));
    const std::vector<std::vector<std::string>> rows = {
        {"连衣裙", "99.00", "http://item.taobao.com/item.htm?id=11", "11"},
        {"表带\\真皮", "15.50", "http://item.taobao.com/item.htm?id=22", "22"},
        {"", "", "", ""},
    };
    EXPECT_EQ(listRows(list), rows);
    EXPECT_TRUE(selectedRows(list).empty());
    ASSERT_TRUE(selectRows(list, {0, 2}));
    EXPECT_EQ(selectedRows(list), (std::vector<int>{0, 2}));
}

TEST_F(RuntimeTest, PopUpMenuAtARowActsOnTheCurrentRow) {
    HWND list = part("超级列表框1");
    ASSERT_TRUE(selectRows(list, {1}));
    rightClick(list, rowPoint(list, 1));
    ASSERT_TRUE(program.choosePopupMenuItem(0));
    labelBecomes("标签1", "表带\\真皮");

    rightClick(list, rowPoint(list, 1));
    ASSERT_TRUE(program.choosePopupMenuItem(1));  // "删除": the separator does not count
    for (int i = 0; i < 100 && listRows(list).size() != 2; ++i) Sleep(50);
    ASSERT_EQ(listRows(list).size(), 2u);
    EXPECT_EQ(listRows(list)[1][0], "");
}

TEST_F(RuntimeTest, MenuBarItemsAreChosenWithTheKeyboard) {
    chooseMenuBarItem(window, 0);
    labelBecomes("标签1", "菜单");
    chooseMenuBarItem(window, 1);
    EXPECT_EQ(program.waitForExit(10000), std::optional<DWORD>(7));
}

TEST_F(RuntimeTest, PostedEffectsRunInOrderAndWorkersReadTheCurrentValues) {
    pressButton(part("选择框1"));
    for (int i = 0; i < 100 && !isChecked(part("选择框1")); ++i) Sleep(50);
    setText(part("编辑框1"), "改过的");
    ASSERT_TRUE(pressButton(window, "后台"));
    labelBecomes("标签2", "完成 勾选 改过的");
    std::string expected;
    for (int i = 1; i <= 200; ++i) expected += "行" + std::to_string(i) + "\r\n";
    EXPECT_EQ(textOf(part("编辑框2")), expected);
}

TEST_F(RuntimeTest, FileDialogGivesThePathOrNothing) {
    const std::string path = fixturePath("decipher_vectors.txt");
    ASSERT_TRUE(pressButton(window, "打开"));
    ASSERT_TRUE(program.answerFileDialog(path));
    for (int i = 0; i < 100 && textOf(part("标签1")).empty(); ++i) Sleep(50);
    // The dialog may give the path in its own spelling of the same folder.
    EXPECT_NE(textOf(part("标签1")).find("decipher_vectors.txt"), std::string::npos) << textOf(part("标签1"));

    ASSERT_TRUE(pressButton(window, "打开"));
    ASSERT_TRUE(program.cancelFileDialog());
    labelBecomes("标签1", "取消");
}

TEST_F(RuntimeTest, ClipboardTakesGbkTextAsUnicode) {
    setText(part("编辑框1"), "复制的中文");
    ASSERT_TRUE(pressButton(window, "复制"));
    std::string copied;
    for (int i = 0; i < 100 && (copied = clipboardText()) != "复制的中文"; ++i) Sleep(50);
    EXPECT_EQ(copied, "复制的中文");
}

TEST_F(RuntimeTest, RadioButtonsOfOneParentClearEachOther) {
    EXPECT_TRUE(isChecked(part("单选框1")));
    pressButton(part("单选框2"));
    for (int i = 0; i < 100 && !isChecked(part("单选框2")); ++i) Sleep(50);
    EXPECT_TRUE(isChecked(part("单选框2")));
    EXPECT_FALSE(isChecked(part("单选框1")));
}

TEST_F(RuntimeTest, PagesShowOnlyTheirOwnComponents) {
    EXPECT_FALSE(isShown(part("按钮5")));
    EXPECT_FALSE(isShown(part("编辑框3")));
    ASSERT_TRUE(pressButton(window, "翻页"));
    for (int i = 0; i < 100 && !isShown(part("按钮5")); ++i) Sleep(50);
    EXPECT_TRUE(isShown(part("按钮5")));
}

TEST_F(RuntimeTest, TimerRaisesItsEventUntilStopped) {
    ASSERT_TRUE(pressButton(window, "计时"));
    labelBecomes("标签2", "计时3");
    Sleep(300);
    EXPECT_EQ(textOf(part("标签2")), "计时3");
}

// Under Wine there is no HTML engine here: the view must stay a quiet panel.
TEST_F(RuntimeTest, HtmlViewNavigatesOrStaysAnEmptyPanel) {
    ASSERT_TRUE(pressButton(window, "浏览"));
    labelBecomes("标签1", "已浏览 about:blank");
    EXPECT_TRUE(isShown(part("超文本浏览框1")));
    EXPECT_EQ(listRows(part("超级列表框1")).size(), 3u);
    EXPECT_FALSE(program.waitForExit(0));
}

TEST_F(RuntimeTest, QueryCloseHandlerKeepsTheWindowOpen) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    Sleep(300);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(program.waitForExit(0));
}

}  // namespace
}  // namespace quorvane::test
