// The main window as the user first sees it: its three pages, the named
// components the handlers use, their captions and initial states.
#include "tests/support/gui_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::test {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.started());
        main = program.waitForWindow("Quorvane V3.60");
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(isShown(main));
    }

    GuiProgram program{QUORVANE_EXE};
    HWND main = nullptr;
};

TEST_F(MainWindowTest, ComponentsOfEachPageCarryTheirCaptions) {
    struct Expected {
        const char* name;
        const char* caption;
        bool shown;  // the first page is showing
    };
    const std::vector<Expected> expected = {
        {"编辑框1", "请粘贴宝贝地址，双击可粘贴多个宝贝地址！", true},
        {"添加到列表", "添加到列表", true},
        {"编辑框3", "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！", true},
        {"添加到列表2", "更改", true},
        {"透明标签1", "商品地址：", true},
        {"透明标签4", "0", true},
        {"按钮6", "删除", true},
        {"按钮7", "清空", true},
        {"添加到列表1", "导入列表", true},
        {"按钮8", "导出列表", true},
        {"开始", "生成数据包", true},
        {"暂停按钮", "暂停", true},
        {"停止按钮", "停止", true},
        {"pms", "", false},
        // Start-up puts the start page's comment there: none, no page loading here.
        {"编辑框2", "", true},
        {"按钮4", "保存配置", false},
        {"选择框6", "下载描述图片(", false},
        {"单选框5", "不处理描述中的超链接", false},
        {"单选框2", "生成淘宝助理5.X数据", false},
        {"编辑框4", "", false},
        {"超文本浏览框2", "", false},
    };
    for (const Expected& e : expected) {
        HWND control = findComponent(main, e.name);
        ASSERT_NE(control, nullptr) << e.name;
        EXPECT_EQ(textOf(control), e.caption) << e.name;
        EXPECT_EQ(isShown(control), e.shown) << e.name;
    }
    EXPECT_FALSE(isEnabled(findComponent(main, "暂停按钮")));
    EXPECT_FALSE(isEnabled(findComponent(main, "停止按钮")));
    EXPECT_TRUE(isEnabled(findComponent(main, "开始")));
}

TEST_F(MainWindowTest, PageControlHasThreePagesWithItsTabsHidden) {
    HWND pages = findComponent(main, "高级选择夹1");
    ASSERT_NE(pages, nullptr);
    HWND strip = FindWindowExW(pages, nullptr, L"SysTabControl32", nullptr);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(tabCount(strip), 3);
    EXPECT_FALSE(isShown(strip));
    EXPECT_EQ(tabCount(findComponent(main, "选择夹1")), 1);
    EXPECT_EQ(tabCount(findComponent(main, "选择夹2")), 1);
}

TEST_F(MainWindowTest, ItemListHasItsFourColumnsAndNoRows) {
    HWND list = findComponent(main, "超级列表框1");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(listColumns(list), (std::vector<std::string>{"名称", "价格", "宝贝地址", "ID"}));
    EXPECT_TRUE(listRows(list).empty());
}

TEST_F(MainWindowTest, LogBoxTakesMoreThanTheDefaultLimit) {
    HWND log = findComponent(main, "编辑框2");
    ASSERT_NE(log, nullptr);
    // 30 000 characters is the edit control's default limit.
    EXPECT_GT(static_cast<unsigned long>(SendMessageW(log, EM_GETLIMITTEXT, 0, 0)), 1000000ul);
}

TEST_F(MainWindowTest, HiddenPmsButtonStillOpensTheRunSummary) {
    pressButton(findComponent(main, "pms"));
    HWND summary = program.waitForWindow("复制完成！");
    ASSERT_NE(summary, nullptr);
    EXPECT_NE(findByCaption(summary, "打开生成数据包的文件夹"), nullptr);
    HWND why = findByCaption(summary, "点击查看为什么会失败！");
    ASSERT_NE(why, nullptr);
    EXPECT_FALSE(isShown(why));
}

}  // namespace
}  // namespace quorvane::test
