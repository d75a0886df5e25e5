// 按钮4 "保存配置" writes the settings page into options.ini; its two checks
// refuse a page that cannot be saved and leave the file as it was.
#include "tests/app/program_in_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvane::test {
namespace {

constexpr const char* kDefaultFile =
    "[DL_PIC]\r\ndownload=真\r\ntaobao_only=假\r\nfall=3\r\nqcl=1\r\nqcllr=\r\nzly=2\r\nxsby=2\r\nbmby=2\r\n"
    "qccx=2\r\nzdyzbb=2\r\nsssx=2\r\n[SAVE]\r\ntype=5\r\n";

TEST(SettingsPageSave, WritesTheShownValuesAndKeepsTheOtherKeys) {
    ProgramInFolder app("设置保存");
    ASSERT_NE(app.main(), nullptr);
    pressButton(app["选择框6"]);  // unchecked
    SendMessageW(app["组合框1"], CB_SETCURSEL, 1, 0);  // "删除图片"
    pressButton(app["单选框3"]);
    setText(app["编辑框4"], "https://替换.example/链接");
    pressButton(app["选择框1"]);
    pressButton(app["选择框7"]);
    pressButton(app["单选框1"]);
    pressButton(app["按钮4"]);
    EXPECT_EQ(app.answerMessage("提示"), "已经保存！");
    EXPECT_EQ(readFile(app.optionsPath()),
              std::optional<std::string>("[DL_PIC]\r\ndownload=假\r\ntaobao_only=假\r\nfall=2\r\nqcl=3\r\n"
                                         "qcllr=https://替换.example/链接\r\nzly=1\r\nxsby=2\r\nbmby=2\r\nqccx=2\r\n"
                                         "zdyzbb=2\r\nsssx=1\r\n[SAVE]\r\ntype=4\r\n"));

    // Keeping links again leaves the earlier replacement link in the file.
    pressButton(app["单选框5"]);
    pressButton(app["按钮4"]);
    EXPECT_EQ(app.answerMessage("提示"), "已经保存！");
    auto saved = readFile(app.optionsPath());
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find("qcl=1\r\nqcllr=https://替换.example/链接\r\n"), std::string::npos) << *saved;
}

TEST(SettingsPageSave, RefusedSavesSayWhyAndWriteNothing) {
    struct Case {
        const char* what;
        const char* file;
        std::function<void(ProgramInFolder&)> change;
        const char* message;
    };
    const std::vector<Case> cases = {
        // An unknown fall leaves 组合框1 without a choice.
        {"no failure choice", "[DL_PIC]\r\ndownload=真\r\nfall=7\r\nqcl=1\r\n[SAVE]\r\ntype=5\r\n",
         [](ProgramInFolder& app) { pressButton(app["选择框6"]); }, "请设置图片下载失败处理方式"},
        {"replacing links without a link", kDefaultFile,
         [](ProgramInFolder& app) {
             pressButton(app["选择框6"]);
             pressButton(app["单选框3"]);
         },
         "请填写待替换链接！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramInFolder app("设置拒绝", c.file);
        ASSERT_NE(app.main(), nullptr);
        c.change(app);
        pressButton(app["按钮4"]);
        EXPECT_EQ(app.answerMessage("信息："), c.message);
        EXPECT_EQ(readFile(app.optionsPath()), std::optional<std::string>(c.file));
    }
}

}  // namespace
}  // namespace quorvane::test
