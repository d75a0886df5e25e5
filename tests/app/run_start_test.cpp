// What 生成数据包 does before the workers run: the default package path on the
// desktop, the removal of rows without an item id, the refusal without access
// records, and the user's selection cleared.
#include "tests/app/marketplace_run.h"
#include "tests/app/test_desktop.h"

#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace quorvane::test {
namespace {

constexpr const char* kPathHint = "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！";
// The lines of the fixture list file, in the order of marketplaceItems().
std::string listLineOf(const MarketplaceItem& item) {
    const std::string all = expectedPackage("item_list.txt");
    const auto items = marketplaceItems();
    std::size_t at = 0;
    for (const MarketplaceItem* listed : items) {
        const std::size_t end = all.find("\r\n", at) + 2;
        if (listed == &item) return all.substr(at, end - at);
        at = end;
    }
    ADD_FAILURE() << item.id << " is not in the list file";
    return {};
}

// A list file of these rows; nullptr stands for a row without an item id.
std::string listFileOf(const std::vector<const MarketplaceItem*>& rows) {
    std::string file;
    for (const MarketplaceItem* item : rows)
        file += item ? listLineOf(*item) : "无编号宝贝||||9.90||https://item.taobao.com/item.htm\r\n";
    return file;
}

std::vector<std::string> listIds(MarketplaceRun& run) {
    std::vector<std::string> ids;
    for (const auto& row : listRows(run["超级列表框1"])) ids.push_back(row[3]);
    return ids;
}

bool isRunning(MarketplaceRun& run) { return isEnabled(run["停止按钮"]); }

// Every item of the marketplace answers after the same delay.
void delayEveryItem(int milliseconds) {
    std::map<std::string, int> delays;
    for (const MarketplaceItem* item : marketplaceItems()) delays[item->id] = milliseconds;
    delayItemDataAnswers(delays);
}

// An empty box after a refused file name gets the default path as the hint does.
struct DefaultPathCase {
    const char* what;
    bool refusedNameFirst;
};

class RunStartDefaultPath : public ::testing::TestWithParam<DefaultPathCase> {};

TEST_P(RunStartDefaultPath, PackageGoesToTheDesktopFolderNamedByTheTime) {
    TestDesktop desktop;
    ASSERT_EQ(shellDesktopFolder(), desktop.folder());
    delayEveryItem(1500);  // the path is read while the run is under way
    MarketplaceRun run("默认路径", "[SAVE]\r\ntype=5\r\n");
    const std::string list = listFileOf({&kTaobaoItem, &kTmallItem, &kItemDataItem, &kNoTitleItem});
    ASSERT_NO_FATAL_FAILURE(run.importList(list, 4));
    if (GetParam().refusedNameFirst) {
        pressButton(run["添加到列表2"]);
        ASSERT_TRUE(run.app().program().answerFileDialog(run.app().file(".csv")));
        ASSERT_EQ(run.app().answerMessage("提示"), "请检查文件名是否正确！");
        ASSERT_TRUE(MarketplaceRun::waitFor([&] { return textOf(run["编辑框3"]).empty(); }));
    } else {
        ASSERT_EQ(textOf(run["编辑框3"]), kPathHint);
    }

    const long long before = std::time(nullptr);
    run.start();
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isRunning(run); })) << run.log();
    const long long after = std::time(nullptr);
    const std::string path = textOf(run["编辑框3"]);
    const long long seconds = defaultPackageSeconds(path, desktop.folder());
    EXPECT_GE(seconds, before) << path;
    EXPECT_LE(seconds, after) << path;
    // The picture folder: the package folder and the file name without ".csv".
    EXPECT_TRUE(folderExists(path.substr(0, path.size() - 4))) << path;

    ASSERT_NE(run.waitForSummary(), nullptr) << run.log();
    const auto written = comparablePackage(path);
    ASSERT_TRUE(written) << path;
    EXPECT_EQ(sortedRows(*written, 3), sortedRows(expectedPackage("run_package_5x.csv"), 3));
    EXPECT_EQ(textOf(run["编辑框3"]), kPathHint);
}

INSTANTIATE_TEST_SUITE_P(PathBox, RunStartDefaultPath,
                         ::testing::Values(DefaultPathCase{"Hint", false}, DefaultPathCase{"RefusedName", true}),
                         [](const auto& info) { return std::string(info.param.what); });

// nullptr rows have no item id. The items finish after a delay, so the list
// can be read while the run is under way.
struct IdLessCase {
    const char* what;
    std::vector<const MarketplaceItem*> rows;
    std::vector<std::string> runIds;   // the list while the run is under way
    std::vector<std::string> leftIds;  // the list after the run
};

class RunStartIdLessRows : public ::testing::TestWithParam<IdLessCase> {};

TEST_P(RunStartIdLessRows, AreRemovedAndTheRestCounted) {
    const IdLessCase& c = GetParam();
    delayEveryItem(1500);
    MarketplaceRun run("无编号行", "[SAVE]\r\ntype=5\r\n");
    ASSERT_NO_FATAL_FAILURE(run.importList(listFileOf(c.rows), c.rows.size()));
    ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
    run.start();
    const std::string total = std::to_string(c.runIds.size());
    if (!c.runIds.empty()) {
        ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isRunning(run); })) << run.log();
        EXPECT_EQ(listIds(run), c.runIds);
        EXPECT_EQ(textOf(run["透明标签4"]), total);
        EXPECT_NE(run.log().find("  开始下载 第：1/" + total + " 个宝贝:"), std::string::npos) << run.log();
    }
    HWND summary = run.waitForSummary();
    ASSERT_NE(summary, nullptr) << run.log();
    EXPECT_EQ(textOf(findComponent(summary, "透明标签4")), "下载总数： " + total);
    // The copied rows leave by their places in the list without the id-less rows.
    EXPECT_EQ(listIds(run), c.leftIds);
    EXPECT_EQ(textOf(run["透明标签4"]), std::to_string(c.leftIds.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, RunStartIdLessRows,
    ::testing::Values(IdLessCase{"FirstLastAndTwoInARow",
                                 {nullptr, &kTaobaoItem, nullptr, nullptr, &kTmallItem, &kNoTitleItem, nullptr},
                                 {kTaobaoItem.id, kTmallItem.id, kNoTitleItem.id},
                                 {kNoTitleItem.id}},
                      IdLessCase{"EveryRow", {nullptr, nullptr}, {}, {}}),
    [](const auto& info) { return std::string(info.param.what); });

// options\api_access.txt that exists but holds no usable record.
struct AccessCase {
    const char* what;
    const char* file;
};

class RunStartWithoutAccess : public ::testing::TestWithParam<AccessCase> {};

TEST_P(RunStartWithoutAccess, IsRefusedAndChangesNothing) {
    MarketplaceRun run("无接口授权", {}, GetParam().file);
    const std::string list = listFileOf({&kTaobaoItem, nullptr, &kTmallItem});
    ASSERT_NO_FATAL_FAILURE(run.importList(list, 3));
    ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
    run.start();
    EXPECT_EQ(run.app().answerMessage("提示"),
              "没有可用的接口授权记录，不能生成数据包。\r\n"
              "请在 options\\api_access.txt 中每行写一条记录（key,secret），然后重新启动程序。");
    Sleep(300);
    expectIdle(run);
    EXPECT_EQ(listIds(run), (std::vector<std::string>{kTaobaoItem.id, "", kTmallItem.id}));
    EXPECT_EQ(textOf(run["透明标签4"]), "3");
    EXPECT_EQ(textOf(run["编辑框3"]), run.packagePath());
    EXPECT_EQ(run.log().find("准备开始采集宝贝"), std::string::npos) << run.log();
    EXPECT_FALSE(folderExists(run.app().file("package")));
}

INSTANTIATE_TEST_SUITE_P(Files, RunStartWithoutAccess,
                         ::testing::Values(AccessCase{"Empty", ""},
                                           AccessCase{"CommentsAndHalfRecords",
                                                      "# key,secret\r\n\r\nquorvane-99,\r\n,quorvane-item-data\r\n"}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(RunStart, ClearsTheUsersSelectionSoOnlyCopiedRowsLeave) {
    delayEveryItem(2000);
    MarketplaceRun run("选择清除", "[SAVE]\r\ntype=5\r\n");
    run.prepare();
    // The item without a title fails: selected by the user, it must stay.
    ASSERT_TRUE(selectRows(run["超级列表框1"], {1, 3}));
    ASSERT_EQ(selectedRows(run["超级列表框1"]), (std::vector<int>{1, 3}));
    run.start();
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isRunning(run); })) << run.log();
    EXPECT_TRUE(selectedRows(run["超级列表框1"]).empty());
    // The picture folder of a chosen path: its folder and its name without ".csv".
    EXPECT_TRUE(folderExists(run.app().file("package")));

    ASSERT_NE(run.waitForSummary(), nullptr) << run.log();
    EXPECT_EQ(listIds(run), (std::vector<std::string>{kNoTitleItem.id}));
}

}  // namespace
}  // namespace quorvane::test
