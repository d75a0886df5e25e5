// A whole run through the program against the loopback marketplace: the list
// file imported, 生成数据包 pressed, the package compared byte for byte in
// both layouts; the item without a title fails alone and stays in the list.
#include "tests/app/marketplace_run.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

constexpr const char* kPathHint = "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！";

struct Layout {
    const char* options;
    const char* expected;
};

class RunPackageTest : public ::testing::TestWithParam<Layout> {};

TEST_P(RunPackageTest, ListBecomesThePackageAndTheFailedItemStays) {
    // The items finish in list order, as the expected rows stand.
    delayItemDataAnswers({{kTaobaoItem.id, 0}, {kTmallItem.id, 700}, {kItemDataItem.id, 1400}, {kNoTitleItem.id, 2100}});
    MarketplaceRun run("整个采集", GetParam().options);
    run.prepare();
    run.start();
    HWND summary = run.waitForSummary();
    ASSERT_NE(summary, nullptr) << run.log();

    EXPECT_EQ(readFile(run.packagePath()), std::optional<std::string>(expectedPackage(GetParam().expected)));
    EXPECT_EQ(textOf(findComponent(summary, "透明标签4")), "下载总数： 4");
    EXPECT_EQ(textOf(findComponent(summary, "透明标签2")), "成功下载： 3");
    EXPECT_EQ(textOf(findComponent(summary, "透明标签3")), "下载失败： 1");
    EXPECT_TRUE(isShown(findComponent(summary, "按钮1")));

    const auto rows = listRows(run["超级列表框1"]);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3], kNoTitleItem.id);
    EXPECT_EQ(textOf(run["透明标签4"]), "1");
    EXPECT_EQ(textOf(run["编辑框3"]), kPathHint);
    expectIdle(run);

    const std::string log = run.log();
    for (const std::string& line : {
             std::string("  准备开始采集宝贝……\r\n"),
             std::string("  开始下载 第：1/4 个宝贝:原创手工编织羊毛围巾 冬季加厚保暖\r\n"),
             std::string("  开始获取 第：2/4 个宝贝   基本信息！\r\n"),
             std::string(" 第：4/4 个宝贝 下载完成！\r\n"),
             std::string(" 第：4/4 个宝贝 下载完成！成功： 3 失败：1 正在写文件...\r\n"),
             std::string(" 文件写成功！\r\n"),
             " 数据包存放位置" + run.packagePath() + "\r\n",
         })
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nnot in\n" << log;
}

INSTANTIATE_TEST_SUITE_P(Layouts, RunPackageTest,
                         ::testing::Values(Layout{"[SAVE]\r\ntype=4\r\n", "run_package_4x.csv"},
                                           Layout{"[SAVE]\r\ntype=5\r\n", "run_package_5x.csv"}),
                         [](const auto& info) { return info.index == 0 ? "Layout4X" : "Layout5X"; });

}  // namespace
}  // namespace quorvane::test
