// The item list's buttons driven from outside: import and export of a list
// file, delete by position, clear and the row counter.
#include "tests/app/program_in_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Lines that do not give exactly four fields are skipped; the last line has
// no line end.
constexpr const char* kListFile =
    "  甲宝贝||1001||12.50||http://item.example/1001\r\n"
    "\r\n"
    "三个字段||1002||9.9\r\n"
    "名称||带||竖线||1003||1||http://item.example/1003\r\n"
    "同名宝贝||1004||3||http://item.example/1004\n"
    "同名宝贝||1005||4||http://item.example/1005\r\n"
    "乙宝贝||1006||5||https://item.example/1006";

// Columns: name, price, address, id.
const Rows kImported = {
    {"  甲宝贝", "12.50", "http://item.example/1001", "1001"},
    {"同名宝贝", "3", "http://item.example/1004", "1004"},
    {"同名宝贝", "4", "http://item.example/1005", "1005"},
    {"乙宝贝", "5", "https://item.example/1006", "1006"},
};

class ListEdit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(app.main(), nullptr);
        list = app["超级列表框1"];
        ASSERT_TRUE(writeWholeFile(app.file("宝贝列表.txt"), kListFile));
        ASSERT_EQ(app.importList(app.file("宝贝列表.txt")), "已经成功导入宝贝列表！");
        ASSERT_TRUE(waitForRows(kImported));
    }

    bool waitForRows(const Rows& rows) {
        return ProgramInFolder::waitFor([&] {
            return listRows(list) == rows && textOf(app["透明标签4"]) == std::to_string(rows.size());
        });
    }

    ProgramInFolder app{"列表编辑"};
    HWND list = nullptr;
};

TEST_F(ListEdit, ExportThenImportGivesTheSameRows) {
    pressButton(app["按钮8"]);
    ASSERT_TRUE(app.program().answerFileDialog(app.file("导出列表.txt")));
    EXPECT_EQ(app.answerMessage("信息："), "宝贝列表已经成功导出！");
    EXPECT_EQ(readFile(app.file("导出列表.txt")),
              std::optional<std::string>("  甲宝贝||1001||12.50||http://item.example/1001\r\n"
                                         "同名宝贝||1004||3||http://item.example/1004\r\n"
                                         "同名宝贝||1005||4||http://item.example/1005\r\n"
                                         "乙宝贝||1006||5||https://item.example/1006\r\n"));

    pressButton(app["按钮7"]);
    ASSERT_TRUE(waitForRows({}));
    EXPECT_EQ(app.importList(app.file("导出列表.txt")), "已经成功导入宝贝列表！");
    EXPECT_TRUE(waitForRows(kImported)) << listRows(list).size() << " rows";
}

TEST_F(ListEdit, ImportReplacesTheRowsAndAFileWithoutValidLinesEmptiesTheList) {
    ASSERT_TRUE(writeWholeFile(app.file("一行.txt"), "丙宝贝||2001||7||http://item.example/2001\r\n"));
    EXPECT_EQ(app.importList(app.file("一行.txt")), "已经成功导入宝贝列表！");
    EXPECT_TRUE(waitForRows({{"丙宝贝", "7", "http://item.example/2001", "2001"}}));

    ASSERT_TRUE(writeWholeFile(app.file("无效.txt"), "没有分隔符\r\n\r\n"));
    EXPECT_EQ(app.importList(app.file("无效.txt")), "已经成功导入宝贝列表！");
    EXPECT_TRUE(waitForRows({}));
}

TEST_F(ListEdit, DeleteRemovesExactlyTheSelectedRowsEvenWithNamesAlike) {
    // The second of two rows named alike.
    ASSERT_TRUE(selectRows(list, {2}));
    pressButton(app["按钮6"]);
    EXPECT_TRUE(waitForRows({kImported[0], kImported[1], kImported[3]}));

    ASSERT_TRUE(selectRows(list, {0, 2}));
    pressButton(app["按钮6"]);
    EXPECT_TRUE(waitForRows({kImported[1]}));

    // Nothing selected: nothing goes.
    ASSERT_TRUE(selectRows(list, {}));
    pressButton(app["按钮6"]);
    Sleep(300);
    EXPECT_TRUE(waitForRows({kImported[1]}));
}

TEST_F(ListEdit, ClearEmptiesTheListAndAnEmptyListIsNotExported) {
    pressButton(app["按钮7"]);
    EXPECT_TRUE(waitForRows({}));
    pressButton(app["按钮8"]);
    EXPECT_FALSE(app.program().cancelFileDialog(1000)) << "no dialog for an empty list";
}

TEST_F(ListEdit, CancelledImportKeepsTheRows) {
    pressButton(app["添加到列表1"]);
    ASSERT_TRUE(app.program().cancelFileDialog());
    Sleep(300);
    EXPECT_TRUE(waitForRows(kImported));
}

}  // namespace
}  // namespace quorvane::test
