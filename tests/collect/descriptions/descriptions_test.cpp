// The description, subtitle and wireless description: the text fixes on
// texts given here, and the fixture items read from the loopback
// marketplace's pages and services.
#include "collect/descriptions/descriptions.h"

#include "collect/item/item_page_fields.h"
#include "text/search.h"

#include "tests/support/description_services.h"
#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"

#include <windows.h>

#include <boost/regex.hpp>
#include <gtest/gtest.h>

#include <random>

namespace quorvane {
namespace {

const bool mapSet = test::routeHostsToSharedMarketplace();

TEST(FixedDescriptionAddresses, AbsoluteHttpAddressesWithoutWebpAndBackslashes) {
    struct Case {
        const char* why;
        const char* text;
        const char* fixed;
    };
    const Case cases[] = {
        {"a protocol-relative attribute", R"(<img src=""//a/b.jpg"">)", R"(<img src=""http://a/b.jpg"">)"},
        {"https and the webp suffix", "https://a/b.jpg_.webp", "http://a/b.jpg"},
        {"an escaped quote ends doubled", R"(<img src=\""https://a/b.jpg\"">)", R"(<img src=""http://a/b.jpg"">)"},
        {"a single quote keeps its slashes", "<img src='//a/b.jpg'>", "<img src='//a/b.jpg'>"},
        {"HTTPS in capitals stays", "HTTPS://a/b.jpg", "HTTPS://a/b.jpg"},
        {"a backslash in a character's second byte stays", "乗\\x", "乗x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(fixedDescriptionAddresses(c.text), c.fixed);
    }
}

TEST(WirelessDescriptionOf, PagesJoinedSizesDroppedQuotesDoubled) {
    struct Case {
        const char* why;
        const char* answer;
        const char* wireless;
    };
    const Case cases[] = {
        {"two pages, a sized picture", R"({"data":{"pages":["<img size=750x1000>//a/1.jpg</img>","<txt>abc</txt>"]}})",
         "<wapDesc><img>http://a/1.jpg</img><txt>abc</txt></wapDesc>"},
        {"sizes across a line end, in capitals",
         "{\"pages\":[\"<IMG SIZE=750\r\nx100>//a/1.jpg</img>\",\"<img size=1x1>//a/2.jpg</img>\"]}",
         "<wapDesc><img>http://a/1.jpg</img><img>http://a/2.jpg</img></wapDesc>"},
        {"a quote inside a page", R"({"pages":["<txt>a "b"</txt>"]})", R"(<wapDesc><txt>a ""b""</txt></wapDesc>)"},
        {"no pages", R"({"data":{}})", "<wapDesc></wapDesc>"},
        {"no answer", "", "<wapDesc></wapDesc>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(wirelessDescriptionOf(c.answer), c.wireless);
    }
}

// The picture sizes against the Boost.Regex pattern whose meaning they keep,
// on pages without quotes (whose quotes the description would double).
class PictureSizesTest : public ::testing::Test {
protected:
    void expectSameAsBoost(const std::string& pages) {
        SCOPED_TRACE(testing::PrintToString(pages));
        const std::string sized =
            findLeft(pages, "img size") == -1
                ? pages
                : boost::regex_replace(pages, pattern_, "<img>http://", boost::regex_constants::format_literal);
        EXPECT_EQ(wirelessDescriptionOf("{\"pages\":[\"" + pages + "\"]}"), "<wapDesc>" + sized + "</wapDesc>");
    }

    const boost::regex pattern_{"<img size=.*?>//", boost::regex::perl | boost::regex::icase | boost::regex::mod_s};
};

TEST_F(PictureSizesTest, TrickyPagesReadAsThePatternReadsThem) {
    struct Case {
        const char* why;
        std::string pages;
    };
    const Case cases[] = {
        {"sizes end at the nearest >//", "<img size=1>/x>//a</img><img size=2>//b</img>"},
        {"a size that runs over line ends", "<img size=1\r\n\f2>//a"},
        {"a picture without its >//, then one with it", "<img size=1>/a<img size=2>//b"},
        {"an empty size", "<img size=>//a"},
        {"the >// of the opening itself is none", "<img size=>/>//"},
        {"capitals after the lower-case test passed", "img size<IMG SIZE=1>//a<Img Size=2>//b"},
        {"the test is for lower case, the pattern is not", "<IMG SIZE=1>//a"},
        {"no blank but a space", "<img\tsize=1>//a img size"},
        {"double-byte characters round the tag", "\x81<img size=\x81>\x81>//\xa8\xa1"},
        {"a zero byte", std::string("<img size=\0>//a", 15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        expectSameAsBoost(c.pages);
    }
}

TEST_F(PictureSizesTest, EveryByteInEveryPlaceReadsAsThePatternReadsIt) {
    const std::string sized = "<img size=1>//";
    for (std::size_t at = 0; at < sized.size(); ++at) {
        for (int byte = 0; byte < 256; ++byte) {
            if (byte == '"') continue;  // a page holds no bare quote
            std::string pages = sized;
            pages[at] = static_cast<char>(byte);
            expectSameAsBoost(pages + "img size");
            if (HasFailure()) return;
        }
    }
}

TEST_F(PictureSizesTest, RandomPagesReadAsThePatternReadsThem) {
    const std::string pieces[] = {"<img size=", "<IMG SIZE=", "img size", ">", "/", "//", "\n", "1", "中", "<"};
    std::mt19937 random(20261211);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int n = 0; n < 2000; ++n) {
        std::string pages;
        for (int i = length(random); i > 0; --i) pages += pieces[piece(random)];
        expectSameAsBoost(pages);
        if (HasFailure()) return;
    }
}

// 4 MB of pictures whose sizes are never closed: the engine took seconds and
// then gave up, leaving even the first picture's size in place.
TEST_F(PictureSizesTest, CraftedPagesLoseTheirSizesInMoments) {
    std::string open;
    while (open.size() < (4u << 20)) open += "<img size=1>/";
    const ULONGLONG start = GetTickCount64();
    const std::string wireless = wirelessDescriptionOf("{\"pages\":[\"<img size=9>//a" + open + "\"]}");
    // Generous for a loaded machine: this takes a fraction of it.
    EXPECT_LT(GetTickCount64() - start, 2000u);
    EXPECT_TRUE(wireless == "<wapDesc><img>http://a" + open + "</wapDesc>");  // not printed: 4 MB
}

struct ItemCase {
    const char* why;
    const test::MarketplaceItem* item;
    const char* description;
    const char* subtitle;
    const char* wireless;
};

class ReadDescriptionsTest : public ::testing::TestWithParam<ItemCase> {
protected:
    void SetUp() override { ASSERT_TRUE(mapSet); }
};

TEST_P(ReadDescriptionsTest, TheItemsTextsFromItsPageAndTheServices) {
    const ItemCase& c = GetParam();
    ItemFields item;
    item.itemId = c.item->id;
    item.pageText = itemPageText(test::readFixture(std::string("marketplace/") + c.item->page));
    item.isTmall = findLeft(item.pageText, "天猫Tmall") != -1;
    std::vector<std::string> log;
    const WorkerProgress progress{[&](const std::string& line) { log.push_back(line); }, 3, 2, 7};
    readDescriptions(item, progress);

    EXPECT_EQ(item.description, c.description);
    EXPECT_EQ(item.subtitle, c.subtitle);
    EXPECT_EQ(item.wireless_desc, c.wireless);
    EXPECT_EQ(log, (std::vector<std::string>{"线程：3  获取成功 第：2/7 个宝贝   基本信息！",
                                             "线程：3  开始获取 第：2/7  个宝贝   描述信息！",
                                             "线程：3  成功获取 第：2/7  个宝贝   描述信息！"}));
}

INSTANTIATE_TEST_SUITE_P(
    Items, ReadDescriptionsTest,
    ::testing::Values(
        ItemCase{
            "Taobao: the mobile description, a subtitle with an entity and a plain quote", &test::kTaobaoItem,
            R"(<p><img align=""absmiddle"" src=""http://img.example-mall.cn/imgextra/i1/nuanyang/desc_1.jpg"" /></p>)"
            R"(<p>手工编织，每条围巾都有 ""温度""。</p><table background=""http://img.example-mall.cn/imgextra/i2/nuanyang/desc_bg.gif"" width=""750"">)"
            R"(<tr><td><IMG SRC=""http://img.example-mall.cn/imgextra/i3/nuanyang/desc_2.png""><a href=""http://nuanyang.taobao.com/"">进店看看</a></td></tr></table>)"
            R"(<p><img src=""http://img.example-mall.cn/imgextra/i1/nuanyang/desc_1.jpg""></p>)",
            R"(冬季新品 & 手工编织 "限量")",
            "<wapDesc><img>http://img.example-mall.cn/imgextra/i1/nuanyang/w_1.jpg</img><txt>手工编织 羊毛围巾</txt>"
            "<img>http://img.example-mall.cn/imgextra/i1/nuanyang/w_2.gif</img></wapDesc>"},
        ItemCase{
            "Tmall: the page's description address, the first paragraph without its tabs", &test::kTmallItem,
            R"(<p><img src=""http://img.example-mall.cn/imgextra/i4/qingyu/d_1.jpg"" style=""max-width:750px;""></p>)"
            R"(<p><img src=""http://img.example-mall.cn/imgextra/i4/qingyu/d_1.jpg_60x60.jpg""></p><div><p>轻羽 ""暖冬"" 系列</p>)"
            R"(<table><tr><td background=""http://img.example-mall.cn/imgextra/i4/qingyu/d_bg.png"">)"
            R"(<a href=""http://detail.tmall.com/item.htm?id=541236987013"">搭配购买</a></td></tr></table></div>)",
            R"(轻盈保暖三防面料 & ""暖冬"" 新款)",
            "<wapDesc><img>http://img.example-mall.cn/imgextra/i4/qingyu/w_1.png</img><txt>三防面料</txt></wapDesc>"},
        ItemCase{"no description at the services", &test::kItemDataItem, "", "", "<wapDesc></wapDesc>"}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace quorvane
