// The parts of the page step that need no request: page text, entities,
// locations, escapes, and Tmall pages (their fields all come from the page).
#include "collect/item/item_page_fields.h"
#include "collect/item/unicode_escapes.h"

#include "text/codepage.h"
#include "text/com.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(ItemPageTextTest, GbkDeclarationsKeepTheBytesAndOthersAreConvertedFromUtf8) {
    const std::string utf8Title = "\xe5\x9b\xb4\xe5\xb7\xbe";  // 围巾 in UTF-8
    struct Case {
        std::string page;
        std::string text;
    };
    const Case cases[] = {
        {"<meta charset=GBK>围巾", "<meta charset=GBK>围巾"},
        {"<meta charset=\"gbk\">围巾", "<meta charset=\"gbk\">围巾"},
        {"<meta charset=\"GBK\">" + utf8Title, "<meta charset=\"GBK\">围巾"},
        {"<meta charset=gbk>" + utf8Title, "<meta charset=gbk>围巾"},
        {"<meta charset=utf-8>" + utf8Title, "<meta charset=utf-8>围巾"},
        {std::string("a\0b charset=GBK", 15), "a b charset=GBK"},
    };
    for (const Case& c : cases) EXPECT_EQ(itemPageText(bytesOf(c.page)), c.text) << c.page;
}

TEST(DecodeTitleEntitiesTest, ReplacesInOrder) {
    struct Case {
        const char* title;
        const char* decoded;
    };
    const Case cases[] = {
        {"A&amp;B", "A&B"},
        {"&quot;x&quot;", "\"\"x\"\""},
        {"&amp;quot;", "\"\""},
        {"&amp;lt;b&amp;gt;", "<b>"},
        {"&apos;&middot;&rsquo;&mdash;&lsquo;&ldquo;&rdquo;&deg;", "'·’—‘“”°"},
        {"&AMP; &nbsp;", "&AMP; &nbsp;"},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeTitleEntities(c.title), c.decoded) << c.title;
}

TEST(SplitLocationTest, ThreeCharacterProvincesAndOthers) {
    struct Case {
        const char* text;
        const char* province;
        const char* city;
    };
    const Case cases[] = {
        {"黑龙江哈尔滨", "黑龙江", "哈尔滨"},
        {"内蒙古包头", "内蒙古", "包头"},
        {"浙江杭州", "浙江", "杭州"},
        {"上海", "上海", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const Location location = splitLocation(c.text);
        EXPECT_EQ(location.province, c.province) << c.text;
        EXPECT_EQ(location.city, c.city) << c.text;
    }
}

class ComThread : public ::testing::Test {
    ComScope com_;
};

using DecodeUnicodeEscapesTest = ComThread;

TEST_F(DecodeUnicodeEscapesTest, DecodesThroughJScript) {
    struct Case {
        const char* text;
        const char* decoded;
    };
    const Case cases[] = {
        {"\\u6d59\\u6c5f\r\n\\u676d\\u5dde", "浙江\r\n杭州"},
        {"it's %41 \\u0042", "it's A B"},
        {"\r\\u4e0a\\u6d77", "上海"},
        {"plain", "plain"},
        {"’", "'"},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeUnicodeEscapes(c.text), c.decoded) << c.text;
}

TEST_F(DecodeUnicodeEscapesTest, ABrokenScriptGivesNothing) {
    // A trailing backslash escapes the literal's closing apostrophe.
    EXPECT_EQ(decodeUnicodeEscapes("ends in \\"), "");
}

class TmallPageTest : public ComThread {
protected:
    PageFieldsCheck read(const std::string& page) {
        item_ = {};
        item_.itemId = "541236987012";
        return readItemPageFields(item_, bytesOf(page), regexes_, progress_);
    }
    static std::string sku(std::string_view key, std::string_view price, std::string_view stock) {
        return "\";" + std::string(key) + ";\":{\"price\":\"" + std::string(price) +
               "\",\"priceCent\":1,\"skuId\":\"1\",\"stock\":" + std::string(stock) + "}";
    }
    static std::string page(std::string_view body) {
        return "<meta charset=\"gbk\"><a>天猫Tmall</a>\n" + std::string(body) + "\n";
    }
    ItemFields item_;
    WorkerRegexes regexes_;
    WorkerProgress progress_;
};

TEST_F(TmallPageTest, SkusComeInReversePageOrderWithoutNegativePairs) {
    struct Case {
        std::string skuMap;
        std::string skuProps;
    };
    const Case cases[] = {
        {"{" + sku("1:1", "1.00", "5") + "," + sku("1:2", "2.00", "6") + "," + sku("1:3", "3.00", "7") + "}",
         "3.00:7::1:3;2.00:6::1:2;1.00:5::1:1;"},
        {"{" + sku("1627207:3;-1:-2", "99.00", "5") + "}", "99.00:5::1627207:3;"},
        {"{" + sku("1627207:-3", "99.00", "5") + "}", "99.00:5::1627207:-3;"},
        // Nothing but negative pairs: the entry goes, rather than run into the next.
        {"{" + sku("-1:-2", "9.00", "1") + "," + sku("5:6", "8.00", "2") + "}", "8.00:2::5:6;"},
        {"{}", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(page(c.skuMap)), PageFieldsCheck::Ok);
        EXPECT_EQ(item_.skuProps, c.skuProps) << c.skuMap;
    }
}

TEST_F(TmallPageTest, CategoryIdOfTheItemLinkComesBeforeDataCatid) {
    struct Case {
        const char* body;
        const char* cid;
    };
    const Case cases[] = {
        {"<a href=\"//list.example/?q=item%5f50000436&s=1\"></a><li data-catid=\"50010850\">", "50000436"},
        {"<li data-catid=\"50010850\"><a href=\"//list.example/?q=item%5f50000436&s=1\"></a>", "50000436"},
        {"<li data-catid=\"50010850\">", "50010850"},
        {"<a href=\"//list.example/?q=item%5f&s=1\"></a><li data-catid=\"50010850\">", "50010850"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(page(c.body)), PageFieldsCheck::Ok);
        EXPECT_EQ(item_.cid, c.cid) << c.body;
    }
}

TEST_F(TmallPageTest, JsonTitleCountsOnlyFromByte5000) {
    const std::string early = page("\"title\":\"早\"" + std::string(6000, ' '));
    EXPECT_EQ(read(early), PageFieldsCheck::Ok);
    EXPECT_EQ(item_.title, "");
    EXPECT_EQ(read(page(std::string(5000, ' ') + "\"Title\":\"晚&amp;\"")), PageFieldsCheck::Ok);
    EXPECT_EQ(item_.title, "晚&");
}

// Values are kept as the page gives them (a stock cut with its brace or
// quotes trimmed to its digits); only one that would break its bare column
// fails the item, with a line that names the column and the reason.
TEST_F(TmallPageTest, BareFieldsFailTheItemOnlyWhenTheyWouldBreakTheRow) {
    struct Case {
        std::string body;
        PageFieldsCheck check;
        const char* price;
        const char* num;
        const char* refusal;  // the message after the start line; "" for none
    };
    const Case cases[] = {
        {"data-catid=\"50000436\" \"reservePrice\":\"699.00\" \"quantity\":12,", PageFieldsCheck::Ok, "699.00", "12",
         ""},
        {"data-catid=\"\" \"reservePrice\":\"\" \"quantity\":,", PageFieldsCheck::Ok, "", "", ""},
        {"\"reservePrice\":\"699.00 - 799.00\" \"quantity\":3,", PageFieldsCheck::Ok, "699.00 - 799.00", "3", ""},
        {"\"reservePrice\":\"1.\"", PageFieldsCheck::Ok, "1.", "", ""},
        {"\"quantity\":\"12\",", PageFieldsCheck::Ok, "", "12", ""},   // quoted
        {"\"quantity\":12}},", PageFieldsCheck::Ok, "", "12", ""},    // last in its objects
        {"\"quantity\":12\r\n},", PageFieldsCheck::Ok, "", "12", ""},  // and on a line of its own
        {"\"quantity\":-1,", PageFieldsCheck::Ok, "", "-1", ""},
        {"\"quantity\":10件,", PageFieldsCheck::Ok, "", "10件", ""},
        {"data-catid=\"500,01\"", PageFieldsCheck::UnsafeBareField, "", "", "宝贝类目字段不是数字"},
        {"\"reservePrice\":\"1,299.00\"", PageFieldsCheck::UnsafeBareField, "1,299.00", "", "宝贝价格字段含逗号"},
        {"\"quantity\":\"12\"|*|x,", PageFieldsCheck::UnsafeBareField, "", "\"12\"|*|x", "宝贝数量字段含双引号"},
        {"\"quantity\":1\r\n2,", PageFieldsCheck::UnsafeBareField, "", "1\r\n2", "宝贝数量字段含换行符"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        std::vector<std::string> lines;
        progress_ = {[&](const std::string& line) { lines.push_back(line); }, 2, 4, 9};
        EXPECT_EQ(read(page(c.body)), c.check);
        EXPECT_EQ(item_.price, c.price);
        EXPECT_EQ(item_.num, c.num);
        std::vector<std::string> expected{"线程：2  开始获取 第：4/9 个宝贝   基本信息！"};
        if (*c.refusal) expected.push_back("线程：2  放弃 第：4/9 个宝贝   " + std::string(c.refusal) + "，不能写入数据包！");
        EXPECT_EQ(lines, expected);
    }
}

TEST_F(TmallPageTest, ItemIdsThatAreNotDigitsStopTheStep) {
    std::vector<std::string> lines;
    progress_ = {[&](const std::string& line) { lines.push_back(line); }, 1, 2, 3};
    item_ = {};
    item_.itemId = "54123x";
    EXPECT_EQ(readItemPageFields(item_, bytesOf(page("")), regexes_, progress_), PageFieldsCheck::BadItemId);
    EXPECT_EQ(item_.pageText, "");
    EXPECT_EQ(lines, (std::vector<std::string>{"线程：1  放弃 第：2/3 个宝贝   数字ID字段不是数字，不能写入数据包！"}));
}

TEST_F(TmallPageTest, LogsTheStartLineWithTheWorkerAndItemNumbers) {
    std::vector<std::string> lines;
    progress_ = {[&](const std::string& line) { lines.push_back(line); }, 3, 7, 12};
    EXPECT_EQ(read(page("")), PageFieldsCheck::Ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"线程：3  开始获取 第：7/12 个宝贝   基本信息！"}));
}

}  // namespace
}  // namespace quorvane
