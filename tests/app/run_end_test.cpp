// How runs end in the program: leaving it while items are in flight, and a
// second run summary while the first is still open.
#include "tests/app/marketplace_run.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

void chooseExit(MarketplaceRun& run) {
    chooseMenuBarItem(run.app().main(), 5);
    HWND dialog = run.app().program().waitForWindow("退出程序？");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pressButton(dialog, "确 定"));
}

// The workers still use the process's state when the program ends, some
// waiting on slow answers, the others finishing items and logging all the
// time: the program must stop them first and end cleanly, every time.
TEST(RunEnd, ExitWhileItemsAreInFlightEndsCleanly) {
    delayItemDataAnswers({{kTaobaoItem.id, 0}, {kTmallItem.id, 0}, {kItemDataItem.id, 0}, {kNoTitleItem.id, 60000}});
    const std::vector<unsigned char> fixture = readFixture("marketplace/item_list.txt");
    std::string list;
    for (int i = 0; i < 50; ++i) list.append(fixture.begin(), fixture.end());
    for (int attempt = 1; attempt <= 3; ++attempt) {
        SCOPED_TRACE(attempt);
        MarketplaceRun run("运行中退出");
        ASSERT_NO_FATAL_FAILURE(run.importList(list, 50 * marketplaceItems().size()));
        ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
        run.start();
        ASSERT_TRUE(MarketplaceRun::waitFor([&] { return occurrences(run.log(), "个宝贝 下载完成！\r\n") >= 10; }))
            << run.log();
        chooseExit(run);
        EXPECT_EQ(run.app().program().waitForExit(10000), std::optional<DWORD>(0));
        EXPECT_FALSE(readFile(run.packagePath())) << "leaving during a run writes no package";
    }
}

std::string countsOf(HWND summary) {
    std::string counts;
    for (const char* label : {"透明标签4", "透明标签2", "透明标签3"}) counts += textOf(findComponent(summary, label)) + "|";
    return counts;
}

TEST(RunEnd, ASecondSummaryShowsItsOwnRun) {
    delayItemDataAnswers({});
    MarketplaceRun run("两次汇总", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    run.start();
    HWND first = run.waitForSummary();
    ASSERT_NE(first, nullptr) << run.log();

    // The item without a title stays in the list and is the whole second run.
    ASSERT_EQ(listRows(run["超级列表框1"]).size(), 1u);
    pressButton(run["添加到列表2"]);
    ASSERT_TRUE(run.app().program().answerFileDialog(run.app().file("second.csv")));
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return textOf(run["编辑框3"]) == run.app().file("second.csv"); }));
    run.start();
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return run.app().program().findWindows("复制完成！").size() == 2; }))
        << run.log();
    Sleep(300);
    std::vector<std::string> counts;
    for (HWND summary : run.app().program().findWindows("复制完成！")) counts.push_back(countsOf(summary));
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<std::string>{"下载总数： 1|成功下载： 0|下载失败： 1|",
                                                "下载总数： 4|成功下载： 3|下载失败： 1|"}));
    EXPECT_EQ(countsOf(first), "下载总数： 4|成功下载： 3|下载失败： 1|");
}

}  // namespace
}  // namespace quorvane::test
