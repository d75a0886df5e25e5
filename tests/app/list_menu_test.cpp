// The item list's pop-up menu 列表菜单 driven from outside: the copies to the
// clipboard, the browser and workbook actions, and deleting the selection.
#include "tests/app/program_in_folder.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace quorvane::test {
namespace {

// Items of 列表菜单, separators not counted.
enum MenuItem { ExportList, OpenInBrowser, OpenInExcel, CopyAddress, CopyName, DeleteSelected };

constexpr const char* kListFile =
    "甲宝贝||1001||12.50||http://item.example/1001\r\n"
    "乙宝贝||1002||3||file:///C:/windows/system32/calc.exe\r\n";

void putOnClipboard(const std::string& text) {
    const std::wstring wide = gbkToWide(text);
    const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), wide.c_str(), size);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

class ListMenu : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(app.main(), nullptr);
        list = app["超级列表框1"];
        ASSERT_TRUE(writeWholeFile(app.file("菜单列表.txt"), kListFile));
        ASSERT_EQ(app.importList(app.file("菜单列表.txt")), "已经成功导入宝贝列表！");
        ASSERT_TRUE(ProgramInFolder::waitFor([&] { return listRows(list).size() == 2; }));
    }

    // Selects the row, right-clicks it and chooses the menu item.
    void chooseOnRow(int row, MenuItem item) {
        ASSERT_TRUE(selectRows(list, {row}));
        rightClick(list, rowPoint(list, row));
        ASSERT_TRUE(app.program().choosePopupMenuItem(item));
    }

    ProgramInFolder app{"列表菜单"};
    HWND list = nullptr;
};

TEST_F(ListMenu, CopiesTheCurrentRowsNameOrAddress) {
    struct Case {
        int row;
        MenuItem item;
        const char* copied;
    };
    const std::vector<Case> cases = {
        {0, CopyName, "甲宝贝"},
        {0, CopyAddress, "http://item.example/1001"},
        {1, CopyName, "乙宝贝"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copied);
        putOnClipboard("之前的内容");
        chooseOnRow(c.row, c.item);
        EXPECT_TRUE(ProgramInFolder::waitFor([&] { return clipboardText() == c.copied; })) << clipboardText();
    }
}

TEST_F(ListMenu, WithoutACurrentRowTheSingleRowActionsDoNothing) {
    putOnClipboard("之前的内容");
    ASSERT_TRUE(selectRows(list, {}));
    RECT client{};
    GetClientRect(list, &client);
    const POINT emptyArea{40, client.bottom - 10};  // below the two rows
    for (MenuItem item : {CopyName, CopyAddress, OpenInBrowser}) {
        rightClick(list, emptyArea);
        ASSERT_TRUE(app.program().choosePopupMenuItem(item));
    }
    EXPECT_FALSE(app.program().waitForMessageBox("提示", 500));
    EXPECT_EQ(clipboardText(), "之前的内容");
}

TEST_F(ListMenu, OnlyWebAddressesAreOpened) {
    chooseOnRow(1, OpenInBrowser);
    EXPECT_EQ(app.answerMessage("提示"), "该宝贝地址不是以http://或https://开头的网址，不能打开！");
}

TEST_F(ListMenu, WorkbookWithoutExcelSaysSo) {
    chooseOnRow(0, OpenInExcel);
    EXPECT_EQ(app.answerMessage("提示"), "没有找到Excel，请先安装Microsoft Excel再用它打开宝贝列表！");
}

TEST_F(ListMenu, DeleteSelectedRemovesTheRowAndCounts) {
    chooseOnRow(0, DeleteSelected);
    EXPECT_TRUE(ProgramInFolder::waitFor([&] {
        return listRows(list) == std::vector<std::vector<std::string>>{
                                     {"乙宝贝", "3", "file:///C:/windows/system32/calc.exe", "1002"}} &&
               textOf(app["透明标签4"]) == "1";
    }));
}

}  // namespace
}  // namespace quorvane::test
