// At most 1000 rows make a run: 1001 rows are refused with the limit message
// and leave the list as it was; one row fewer starts the run. One import
// serves both, since importing a thousand rows takes long.
#include "tests/app/marketplace_run.h"
#include "tests/app/test_desktop.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace quorvane::test {
namespace {

constexpr int kRows = 1001;

std::string idOf(int n) { return std::to_string(600000000000LL + n); }

std::string numberedRows(int count) {
    std::string file;
    for (int n = 1; n <= count; ++n)
        file += "测试宝贝" + std::to_string(n) + "||" + idOf(n) + "||1.00||https://item.taobao.com/item.htm?id=" +
                idOf(n) + "\r\n";
    return file;
}

// The item-data service holds every answer for a minute: a started run stays
// under way until it is stopped.
void holdEveryItem() {
    marketplace().server().script(std::string(kItemDataPath), [](const RecordedRequest&) {
        Answer held;
        held.status = 404;
        held.reason = "Not Found";
        held.delayBeforeHeaders = std::chrono::milliseconds(60000);
        return held;
    });
}

TEST(RunLimit, AThousandAndOneRowsAreRefusedAndAThousandStart) {
    TestDesktop desktop;
    ASSERT_EQ(shellDesktopFolder(), desktop.folder());
    holdEveryItem();
    MarketplaceRun run("数量上限");
    const DWORD importStart = GetTickCount();
    ASSERT_NO_FATAL_FAILURE(run.importList(numberedRows(kRows), kRows));
    std::printf("importing %d rows took %lu ms\n", kRows, GetTickCount() - importStart);
    HWND list = run["超级列表框1"];
    const std::string counter = textOf(run["透明标签4"]);

    run.start();
    EXPECT_EQ(run.app().answerMessage("提示"), "每次采集数量不超过1000个，如超过，请按帮助拆分为几次分别采集！");
    Sleep(300);
    expectIdle(run);
    // The default path was fixed before the count was checked, and stays.
    const std::string path = textOf(run["编辑框3"]);
    EXPECT_GE(defaultPackageSeconds(path, desktop.folder()), 0) << path;
    EXPECT_TRUE(folderExists(desktop.folder() + "Karvello生成数据包"));
    EXPECT_EQ(textOf(run["透明标签4"]), counter);
    EXPECT_EQ(run.log().find("准备开始采集宝贝"), std::string::npos) << run.log();
    const auto rows = listRows(list);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(rows.front()[3], idOf(1));
    EXPECT_EQ(rows.back()[3], idOf(kRows));

    ASSERT_TRUE(selectRows(list, {kRows - 1}));
    pressButton(run["按钮6"]);
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return listRowCount(list) == kRows - 1; }));
    run.start();
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isEnabled(run["停止按钮"]); })) << run.log();
    expectRunning(run);
    EXPECT_EQ(textOf(run["透明标签4"]), std::to_string(kRows - 1));
    EXPECT_NE(run.log().find("  准备开始采集宝贝……\r\n"), std::string::npos) << run.log();
    // A path in the box is used as it stands.
    EXPECT_EQ(textOf(run["编辑框3"]), path);
    EXPECT_TRUE(folderExists(path.substr(0, path.size() - 4))) << path;

    pressButton(run["停止按钮"]);
    auto box = run.app().program().waitForMessageBox("是否将已完成的宝贝生成数据包！");
    ASSERT_TRUE(box);
    answerMessageBox(box->window, IDNO);
    EXPECT_TRUE(MarketplaceRun::waitFor([&] { return isEnabled(run["开始"]); }, 8000));
}

}  // namespace
}  // namespace quorvane::test
