// Stop while items are in flight: 是 writes exactly the finished rows at once
// and removes only them; 否 writes nothing and keeps the list.
#include "tests/app/marketplace_run.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

constexpr const char* kStopTitle = "是否将已完成的宝贝生成数据包！";

// Two items finish at once; the other two wait far longer than the test.
void twoFastTwoSlow() {
    delayItemDataAnswers({{kTaobaoItem.id, 0}, {kTmallItem.id, 0}, {kItemDataItem.id, 60000}, {kNoTitleItem.id, 60000}});
}

void stopWith(MarketplaceRun& run, int answer, bool pausedFirst = false) {
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return occurrences(run.log(), "个宝贝 下载完成！\r\n") == 2; }))
        << run.log();
    if (pausedFirst) {
        pressButton(run["暂停按钮"]);
        ASSERT_TRUE(MarketplaceRun::waitFor([&] { return textOf(run["暂停按钮"]) == "继续"; }));
    }
    pressButton(run["停止按钮"]);
    auto box = run.app().program().waitForMessageBox(kStopTitle);
    ASSERT_TRUE(box);
    answerMessageBox(box->window, answer);
}

std::vector<std::string> listIds(MarketplaceRun& run) {
    std::vector<std::string> ids;
    for (const auto& row : listRows(run["超级列表框1"])) ids.push_back(row[3]);
    return ids;
}

// Running or paused, 是 gives the same package; a paused run keeps its caption.
class RunStopYes : public ::testing::TestWithParam<bool> {};

TEST_P(RunStopYes, WritesTheFinishedRowsPromptly) {
    const bool paused = GetParam();
    twoFastTwoSlow();
    MarketplaceRun run("中止写包", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    run.start();
    stopWith(run, IDYES, paused);
    // The requests in flight are abandoned, not waited for.
    HWND summary = run.waitForSummary(8000);
    ASSERT_NE(summary, nullptr) << run.log();
    EXPECT_EQ(textOf(findComponent(summary, "透明标签4")), "下载总数： 4");
    EXPECT_EQ(textOf(findComponent(summary, "透明标签2")), "成功下载： 2");
    EXPECT_EQ(textOf(findComponent(summary, "透明标签3")), "下载失败： 2");

    const auto written = comparablePackage(run.packagePath());
    ASSERT_TRUE(written);
    const std::string expected = expectedPackage("run_package_5x.csv");
    std::vector<std::string> finished;
    for (const std::string& row : sortedRows(expected, 3))
        if (row.find(std::string(",") + kTaobaoItem.id + ",") != std::string::npos ||
            row.find(std::string(",") + kTmallItem.id + ",") != std::string::npos)
            finished.push_back(row);
    EXPECT_EQ(sortedRows(*written, 3), finished);
    EXPECT_EQ(written->substr(0, 1051), expected.substr(0, 1051));
    EXPECT_EQ(listIds(run), (std::vector<std::string>{kItemDataItem.id, kNoTitleItem.id}));
    EXPECT_EQ(textOf(run["编辑框3"]), "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！");
    expectIdle(run);
    EXPECT_EQ(textOf(run["暂停按钮"]), paused ? "继续" : "暂停");
    // Nothing of the stopped run turns up later.
    const std::string log = run.log();
    Sleep(1500);
    EXPECT_EQ(run.log(), log);
}

INSTANTIATE_TEST_SUITE_P(RunningOrPaused, RunStopYes, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Paused" : "Running"; });

TEST(RunStop, NoWritesNothingAndKeepsTheList) {
    twoFastTwoSlow();
    MarketplaceRun run("直接中止", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    run.start();
    const std::string path = textOf(run["编辑框3"]);
    stopWith(run, IDNO);
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isEnabled(run["开始"]); }, 8000));
    expectIdle(run);
    EXPECT_FALSE(readFile(run.packagePath()));
    EXPECT_EQ(listIds(run).size(), 4u);
    EXPECT_EQ(textOf(run["编辑框3"]), path);
    Sleep(1000);
    EXPECT_EQ(run.app().program().findWindow("复制完成！"), nullptr);
}

// The stop handler returns while the workers leave; a click that was queued
// behind the answer finds the run ended and does nothing.
TEST(RunStop, APauseQueuedBehindTheStopDoesNothing) {
    twoFastTwoSlow();
    MarketplaceRun run("中止后暂停", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    run.start();
    stopWith(run, IDYES);
    pressButton(run["暂停按钮"]);
    ASSERT_NE(run.waitForSummary(8000), nullptr) << run.log();
    Sleep(500);
    EXPECT_EQ(textOf(run["暂停按钮"]), "暂停");
    expectIdle(run);
}

}  // namespace
}  // namespace quorvane::test
