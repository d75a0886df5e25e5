// Pause and continue while items are in flight, and a stop answered with
// 取消: the run goes on and ends with every row once.
#include "tests/app/marketplace_run.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

TEST(RunPause, PausedWorkersFinishNothingAndGoOnAfterContinue) {
    delayItemDataAnswers({{kTaobaoItem.id, 1000}, {kTmallItem.id, 1000}, {kItemDataItem.id, 1000}, {kNoTitleItem.id, 1000}});
    MarketplaceRun run("暂停采集", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    run.start();
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isEnabled(run["暂停按钮"]); }));
    expectRunning(run);
    EXPECT_EQ(textOf(run["暂停按钮"]), "暂停");

    pressButton(run["暂停按钮"]);
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return textOf(run["暂停按钮"]) == "继续"; }));
    // Longer than every answer takes: still no item may finish.
    Sleep(2500);
    EXPECT_EQ(occurrences(run.log(), "个宝贝 下载完成！"), 0) << run.log();
    EXPECT_EQ(run.app().program().findWindow("复制完成！"), nullptr);
    expectRunning(run);

    pressButton(run["暂停按钮"]);
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return textOf(run["暂停按钮"]) == "暂停"; }));
    HWND summary = run.waitForSummary();
    ASSERT_NE(summary, nullptr) << run.log();
    EXPECT_EQ(textOf(findComponent(summary, "透明标签2")), "成功下载： 3");
    const auto written = comparablePackage(run.packagePath());
    ASSERT_TRUE(written);
    EXPECT_EQ(sortedRows(*written, 3), sortedRows(expectedPackage("run_package_5x.csv"), 3));
    EXPECT_EQ(occurrences(run.log(), "个宝贝 下载完成！\r\n"), 4);
}

TEST(RunPause, StopAnsweredWithCancelLeavesTheRunGoing) {
    delayItemDataAnswers({{kTaobaoItem.id, 1500}, {kTmallItem.id, 1500}, {kItemDataItem.id, 1500}, {kNoTitleItem.id, 1500}});
    MarketplaceRun run("取消中止", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    run.start();
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isEnabled(run["停止按钮"]); }));
    pressButton(run["停止按钮"]);
    auto box = run.app().program().waitForMessageBox("是否将已完成的宝贝生成数据包！");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text,
              "点< 是 >---中止并将已完成的宝贝生成数据包！\r\n\r\n点< 否 >---直接中止！\r\n\r\n"
              "点<取消>---不中止返回继续处理！");
    answerMessageBox(box->window, IDCANCEL);
    expectRunning(run);

    HWND summary = run.waitForSummary();
    ASSERT_NE(summary, nullptr) << run.log();
    EXPECT_EQ(textOf(findComponent(summary, "透明标签2")), "成功下载： 3");
    const auto written = comparablePackage(run.packagePath());
    ASSERT_TRUE(written);
    EXPECT_EQ(sortedRows(*written, 3), sortedRows(expectedPackage("run_package_5x.csv"), 3));
}

}  // namespace
}  // namespace quorvane::test
