// A request that outlives the run's time limit fails its item only. The limit
// comes from QUORVANE_REQUEST_LIMIT_MS, which the program reads once.
#include "tests/app/marketplace_run.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

// The expected 5.X package without the row of one item.
std::string packageWithout(const std::string& itemId) {
    const std::string all = expectedPackage("run_package_5x.csv");
    std::string kept;
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = all.find("\r\n", at) + 2;
        const std::string line = all.substr(at, end - at);
        if (line.find("," + itemId + ",") == std::string::npos) kept += line;
        at = end;
    }
    return kept;
}

TEST(RunTimeout, TheItemWhoseAnswerIsLateFailsAlone) {
    ASSERT_TRUE(SetEnvironmentVariableA("QUORVANE_REQUEST_LIMIT_MS", "1500"));
    delayItemDataAnswers({{kTaobaoItem.id, 0}, {kTmallItem.id, 5000}, {kItemDataItem.id, 500}, {kNoTitleItem.id, 1000}});
    MarketplaceRun run("超时采集", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    run.start();
    HWND summary = run.waitForSummary();
    ASSERT_NE(summary, nullptr) << run.log();

    EXPECT_EQ(withRowsSorted(comparablePackage(run.packagePath()), 3),
              withRowsSorted(packageWithout(kTmallItem.id), 3));
    EXPECT_EQ(textOf(findComponent(summary, "透明标签2")), "成功下载： 2");
    EXPECT_EQ(textOf(findComponent(summary, "透明标签3")), "下载失败： 2");
    std::vector<std::string> left;
    for (const auto& row : listRows(run["超级列表框1"])) left.push_back(row[3]);
    EXPECT_EQ(left, (std::vector<std::string>{kTmallItem.id, kNoTitleItem.id}));
    // The late item still has its start, its page-field line and its end.
    const std::string log = run.log();
    for (const char* line : {"  开始下载 第：2/4 个宝贝:轻羽男士连帽羽绒服 冬季新款\r\n",
                             "  开始获取 第：2/4 个宝贝   基本信息！\r\n", " 第：2/4 个宝贝 下载完成！\r\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nnot in\n" << log;
}

}  // namespace
}  // namespace quorvane::test
