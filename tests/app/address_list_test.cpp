// Pasted addresses become list rows through the real program against the
// loopback marketplace: a shop, every kind of category list, a long shop
// narrowed to a page range, single items pasted through the address input
// window; the rows then run into the package; and an analysis in progress
// keeps a second one, a run and a list import out and ends with the program.
#include "tests/app/main_window_modes.h"
#include "tests/app/marketplace_run.h"

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

constexpr const char* kPageRangeTitle = "待列出宝贝数量太多！";
constexpr std::string_view kLayout4X = "[SAVE]\r\ntype=4\r\n";

std::vector<ListRow> rowsOf(HWND listView) {
    std::vector<ListRow> rows;
    for (const std::vector<std::string>& cells : listRows(listView)) {
        if (cells.size() < 4) continue;
        rows.push_back({cells[0], cells[1], cells[2], cells[3]});
    }
    return rows;
}

View viewOf(const Listing& listing) { return listing.mode == ListingMode::Shop ? View::Shop : View::List; }

std::string countText(std::size_t n) { return std::to_string(n); }

// Each line once, in this order, among the log's lines.
void expectLogInOrder(const std::string& log, const std::vector<std::string>& messages) {
    std::size_t at = 0;
    for (const std::string& message : messages) {
        const std::size_t found = log.find(message + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << "\"" << message << "\" not in order in\n" << log;
        at = found + message.size();
    }
}

// The log lines of a reading of pages first..last of a listing with total pages.
std::vector<std::string> readingLog(const Listing& listing, int first, int last) {
    std::vector<std::string> lines;
    for (int page = first; page <= last; ++page) {
        lines.push_back("  线程：1  正在读取宝贝列表 第：  " + std::to_string(page) + " /" + std::to_string(last) + " 页");
        lines.push_back("  线程：1  读取成功，成功提取了：  " + countText(expectedRows(listing, first, page).size()) +
                        "  个宝贝");
    }
    lines.push_back("  宝贝列表完成 【共提取了：  " + countText(expectedRows(listing, first, last).size()) + "  个宝贝】");
    return lines;
}

std::string completionLine(std::size_t rows) { return "  宝贝列表完成 【共提取了：  " + countText(rows) + "  个宝贝】"; }

// The mode's view, the address in the box, 添加到列表.
void analyse(MarketplaceRun& run, View view, std::string_view address) {
    ASSERT_NE(run.app().main(), nullptr);
    if (view != View::SingleItems) {
        ASSERT_TRUE(switchTo(run.app(), view));
    }
    setText(run["编辑框1"], address);
    pressButton(run["添加到列表"]);
}

bool waitForLog(MarketplaceRun& run, const std::string& message, int milliseconds = 20000) {
    return MarketplaceRun::waitFor([&] { return run.log().find(message + "\r\n") != std::string::npos; },
                                   milliseconds);
}

// Every answer of the marketplace held back for a while, for this test only.
class SlowMarketplace {
public:
    explicit SlowMarketplace(std::chrono::milliseconds delay) { marketplace().setAnswerDelay(delay); }
    ~SlowMarketplace() { marketplace().setAnswerDelay(std::chrono::milliseconds(0)); }
};

TEST(AddressListTest, ShopRowsInPageOrderThenThePackage) {
    MarketplaceRun run("店铺采集", kLayout4X);
    ASSERT_NO_FATAL_FAILURE(analyse(run, View::Shop, kTaobaoShop.address));
    const std::vector<ListRow> expected = expectedRows(kTaobaoShop);
    ASSERT_TRUE(waitForLog(run, completionLine(expected.size()))) << run.log();

    EXPECT_EQ(rowsOf(run["超级列表框1"]), expected);
    EXPECT_EQ(textOf(run["透明标签4"]), countText(expected.size()));
    std::vector<std::string> log = {
        "  正在分析地址……",
        "  共搜索到：" + std::string(kTaobaoShop.resultCount) + " 个商品",
        "  宝贝页码从第 1 页到第  3  页下载，总页码数是 3 页！",
    };
    for (const std::string& line : readingLog(kTaobaoShop, 1, kTaobaoShop.pages)) log.push_back(line);
    expectLogInOrder(run.log(), log);

    // The shop lists the marketplace's items in the order of the list file,
    // so the run gives the package of that file.
    delayItemDataAnswers({{kTaobaoItem.id, 0}, {kTmallItem.id, 700}, {kItemDataItem.id, 1400}, {kNoTitleItem.id, 2100}});
    ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
    run.start();
    ASSERT_NE(run.waitForSummary(), nullptr) << run.log();
    EXPECT_EQ(withRowsSorted(comparablePackage(run.packagePath()), 1),
              withRowsSorted(expectedPackage("run_package_4x.csv"), 1));
}

TEST(AddressListTest, EveryListingGivesItsRows) {
    for (const Listing* listing : listings()) {
        if (listing->pages > 35) continue;  // the page range window; below
        SCOPED_TRACE(listing->address);
        MarketplaceRun run("列表采集");
        ASSERT_NO_FATAL_FAILURE(analyse(run, viewOf(*listing), listing->address));
        const std::vector<ListRow> expected = expectedRows(*listing);
        ASSERT_TRUE(waitForLog(run, completionLine(expected.size()))) << run.log();
        EXPECT_EQ(rowsOf(run["超级列表框1"]), expected);
        EXPECT_EQ(textOf(run["透明标签4"]), countText(expected.size()));
        const std::string pages = std::to_string(listing->pages);
        std::vector<std::string> log = {
            "  共搜索到：" + std::string(listing->resultCount) + " 个商品",
            "  宝贝页码从第 1 页到第  " + pages + "  页下载，总页码数是 " + pages + " 页！",
        };
        for (const std::string& line : readingLog(*listing, 1, listing->pages)) log.push_back(line);
        expectLogInOrder(run.log(), log);
    }
}

TEST(AddressListTest, RefusedAddressesSayWhy) {
    struct Case {
        View view;
        std::string address;
        std::string message;
    };
    const Case cases[] = {
        {View::Shop, "https://item.taobao.com/item.htm?id=527018364901", "  店铺地址不正确，未识别到宝贝！"},
        {View::Shop, "nuanyang.taobao.com", "  店铺地址不正确，未识别到宝贝！"},
        {View::Shop, "https://nuanyang.taobao.com:8080/", "  店铺地址不正确，未识别到宝贝！"},
        {View::Shop, "https://nobody.taobao.com/", "  该店铺未识别到宝贝！"},
        {View::List, "https://nuanyang.taobao.com/search.htm?scid=1102345678", "  分类地址不正确，未识别到宝贝！"},
        {View::List, "https://nuanyang.taobao.com/search.htm?&search=y&scid=999&x=1", "  该分类未识别到宝贝！"},
    };
    MarketplaceRun run("地址不正确");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        ASSERT_NO_FATAL_FAILURE(analyse(run, c.view, c.address));
        EXPECT_TRUE(waitForLog(run, c.message)) << run.log();
        setText(run["编辑框2"], "");
    }
    EXPECT_EQ(listRowCount(run["超级列表框1"]), 0);
}

TEST(AddressListTest, LongShopIsReadInTheRangeTheSellerNarrowsItTo) {
    MarketplaceRun run("页码范围");
    ASSERT_NO_FATAL_FAILURE(analyse(run, View::Shop, kTmallShop.address));
    HWND dialog = run.app().program().waitForWindow(kPageRangeTitle);
    ASSERT_NE(dialog, nullptr) << run.log();
    EXPECT_TRUE(waitForLog(run, "  宝贝页码从第 1 页到第  40  页下载，总页码数是 40 页！"));

    struct Refused {
        const char* from;
        const char* to;
        const char* message;
    };
    const Refused refused[] = {
        {"1", "38", "超始页大于结束页或间隔大于35页！请修改！"},
        {"", "", "起始页或结束页输入有误！请修改！"},
        {"40", "40", "起始页或结束页输入有误！请修改！"},
    };
    HWND message = findComponent(dialog, "标签4");
    for (const Refused& r : refused) {
        SCOPED_TRACE(std::string(r.from) + ".." + r.to);
        setText(findComponent(dialog, "编辑框1"), r.from);
        setText(findComponent(dialog, "编辑框2"), r.to);
        pressButton(findComponent(dialog, "按钮1"));
        EXPECT_TRUE(MarketplaceRun::waitFor([&] { return textOf(message) == r.message && isShown(message); }))
            << textOf(message);
    }
    // Only an accepted range closes it.
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    Sleep(300);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(listRowCount(run["超级列表框1"]), 0);

    setText(findComponent(dialog, "编辑框1"), "2");
    setText(findComponent(dialog, "编辑框2"), "4");
    pressButton(findComponent(dialog, "按钮1"));
    ASSERT_TRUE(run.app().program().waitForWindowGone(kPageRangeTitle));
    const std::vector<ListRow> expected = expectedRows(kTmallShop, 2, 4);
    ASSERT_TRUE(waitForLog(run, completionLine(expected.size()))) << run.log();
    EXPECT_EQ(rowsOf(run["超级列表框1"]), expected);
    expectLogInOrder(run.log(), readingLog(kTmallShop, 2, 4));
    EXPECT_EQ(run.log().find("第：  1 /"), std::string::npos) << "page 1 was read";
}

TEST(AddressListTest, PastedItemsBecomeRowsThenThePackage) {
    MarketplaceRun run("单个采集", kLayout4X);
    ASSERT_NE(run.app().main(), nullptr);
    // Blank lines and blanks around the lines, as sellers paste them.
    std::string pasted;
    std::vector<ListRow> expected;
    int refused = 0;
    for (const ItemPage* page : itemPages()) {
        if (!pasted.empty()) pasted += "\r\n \r\n";
        pasted += "  " + std::string(page->address) + " ";
        if (std::optional<ListRow> row = expectedRow(*page)) {
            expected.push_back(*row);
        } else {
            ++refused;
        }
    }
    HWND dialog = openAddressInput(run.app());
    ASSERT_NE(dialog, nullptr);
    setText(findComponent(dialog, "编辑框1"), pasted);
    ASSERT_TRUE(closeAddressInput(run.app(), dialog, "确定保存"));
    ASSERT_EQ(textOf(run["编辑框1"]), kPastedMarker);

    pressButton(run["添加到列表"]);
    ASSERT_TRUE(waitForLog(run, completionLine(expected.size()))) << run.log();
    EXPECT_EQ(rowsOf(run["超级列表框1"]), expected);
    EXPECT_EQ(textOf(run["透明标签4"]), countText(expected.size()));
    EXPECT_EQ(occurrences(run.log(), "  地址不正确，未识别到宝贝！\r\n"), refused);

    // Only the marketplace's own items copy; they finish in the list file's order.
    delayItemDataAnswers({{kTaobaoItem.id, 0}, {kTmallItem.id, 700}, {kItemDataItem.id, 1400}});
    ASSERT_NO_FATAL_FAILURE(run.choosePackageFile());
    run.start();
    ASSERT_NE(run.waitForSummary(), nullptr) << run.log();
    EXPECT_EQ(withRowsSorted(comparablePackage(run.packagePath()), 1),
              withRowsSorted(expectedPackage("run_package_4x.csv"), 1));
    // The run's end empties the pasted list: the box's marker now stands for nothing.
    ASSERT_TRUE(MarketplaceRun::waitFor([&] { return isEnabled(run["添加到列表"]); }));
    setText(run["编辑框2"], "");
    pressButton(run["添加到列表"]);
    EXPECT_TRUE(waitForLog(run, completionLine(listRowCount(run["超级列表框1"])))) << run.log();
    EXPECT_EQ(run.log().find("地址不正确"), std::string::npos) << run.log();
}

TEST(AddressListTest, AnAnalysisInProgressKeepsOthersOut) {
    MarketplaceRun run("重复添加");
    ASSERT_NE(run.app().main(), nullptr);
    const std::vector<ListRow> expected = expectedRows(kTaobaoShop);
    {
        const SlowMarketplace slow(std::chrono::milliseconds(1500));
        ASSERT_NO_FATAL_FAILURE(analyse(run, View::Shop, kTaobaoShop.address));
        ASSERT_TRUE(waitForLog(run, "  正在分析地址……"));
        for (const char* button : {"添加到列表", "开始", "添加到列表1"})
            EXPECT_FALSE(isEnabled(run[button])) << button;
        // Clicks that reach the handlers anyway do nothing.
        for (const char* button : {"添加到列表", "开始", "添加到列表1"})
            PostMessageW(GetParent(run[button]), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(run[button]), BN_CLICKED),
                         reinterpret_cast<LPARAM>(run[button]));
        // The window keeps being served meanwhile.
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutW(run.app().main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result), 0);
        ASSERT_TRUE(waitForLog(run, completionLine(expected.size()), 30000)) << run.log();
    }
    EXPECT_EQ(rowsOf(run["超级列表框1"]), expected);
    EXPECT_EQ(occurrences(run.log(), "  正在分析地址……\r\n"), 1);
    EXPECT_EQ(run.log().find("准备开始采集宝贝"), std::string::npos);
    EXPECT_EQ(run.app().program().findWindow("打开"), nullptr);
    for (const char* button : {"添加到列表", "开始", "添加到列表1"}) EXPECT_TRUE(isEnabled(run[button])) << button;
}

TEST(AddressListTest, TheProgramEndsDuringASlowAnalysis) {
    MarketplaceRun run("分析中退出");
    ASSERT_NE(run.app().main(), nullptr);
    const SlowMarketplace slow(std::chrono::milliseconds(8000));
    ASSERT_NO_FATAL_FAILURE(analyse(run, View::Shop, kTaobaoShop.address));
    ASSERT_TRUE(waitForLog(run, "  正在分析地址……"));
    chooseMenuBarItem(run.app().main(), 5);
    HWND dialog = run.app().program().waitForWindow("退出程序？");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pressButton(dialog, "确 定"));
    // It does not wait for the page first.
    EXPECT_EQ(run.app().program().waitForExit(3000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace quorvane::test
