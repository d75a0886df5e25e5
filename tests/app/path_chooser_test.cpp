// "更改" (添加到列表2) puts the chosen package path into 编辑框3.
#include "tests/app/program_in_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::test {
namespace {

constexpr const char* kPathBoxHint = "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！";

TEST(PathChooser, ChosenNameWithoutExtensionGetsCsv) {
    ProgramInFolder app("路径选择");
    ASSERT_NE(app.main(), nullptr);
    pressButton(app["添加到列表2"]);
    ASSERT_TRUE(app.program().cancelFileDialog());
    Sleep(300);
    EXPECT_EQ(textOf(app["编辑框3"]), kPathBoxHint) << "a cancelled dialog changes nothing";

    pressButton(app["添加到列表2"]);
    ASSERT_TRUE(app.program().answerFileDialog(app.file("数据包")));
    EXPECT_TRUE(ProgramInFolder::waitFor([&] { return textOf(app["编辑框3"]) == app.file("数据包.csv"); }))
        << textOf(app["编辑框3"]);
}

}  // namespace
}  // namespace quorvane::test
