// The text rules of the address analysis: page text, item id and title, shop
// host, category classification, result page addresses, page counts, the
// items of a result page and the cleaning of pasted address lines.
#include "collect/addresses/address_analysis.h"
#include "collect/addresses/address_input.h"
#include "collect/addresses/list_page_items.h"
#include "collect/item/page_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

namespace quorvane {
namespace {

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(PageTextTest, OnlyTheExactGbkDeclarationsKeepTheBytes) {
    const std::string utf8Scarf = "\xe5\x9b\xb4\xe5\xb7\xbe";  // 围巾 in UTF-8
    struct Case {
        const char* reason;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"quoted lower-case gbk is GBK", "charset=\"gbk\">围巾", "charset=\"gbk\">围巾"},
        {"unquoted upper-case GBK is GBK", "charset=GBK>围巾", "charset=GBK>围巾"},
        {"quoted upper-case GBK is UTF-8", "charset=\"GBK\">" + utf8Scarf, "charset=\"GBK\">围巾"},
        {"unquoted lower-case gbk is UTF-8", "charset=gbk>" + utf8Scarf, "charset=gbk>围巾"},
        {"no declaration is UTF-8", "<p>" + utf8Scarf, "<p>围巾"},
        {"zero bytes are blanks, not the end", std::string("a\0b\0charset=GBK", 15), "a b charset=GBK"},
        {"a zero byte breaks a declaration before the test", std::string("charset=G\0BK", 12) + utf8Scarf,
         "charset=G BK围巾"},
        {"nothing fetched", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(pageText(bytesOf(c.bytes)), c.text);
        EXPECT_EQ(gbkPageText(spacedPageText(bytesOf(c.bytes))), c.text);
    }
}

TEST(ItemIdOfPageTest, MarkerPairsInOrderAndOnlyDigitIds) {
    struct Case {
        const char* reason;
        const char* page;
        const char* id;
    };
    const Case cases[] = {
        {"first pair", "var g={itemId:\"520001\",x:1}", "520001"},
        {"second pair", "{itemId:'520002',x:1}", "520002"},
        {"third pair", "<input id=\"item_id\" value=\"520003\"/>", "520003"},
        {"fourth pair", "<input id=\"J_itemId\" value='520004'/>", "520004"},
        {"a blank result takes the next pair", "itemId:\"  \", <x item_id\" value=\"520003\"/>", "520003"},
        {"the first pair that gives an id wins", "itemId:\"111\", itemId:'222',", "111"},
        {"markers ignore case", "ITEMID:\"520001\",", "520001"},
        {"blanks around the id are dropped", "itemId:\" 520001 \",", "520001"},
        {"an id that is not digits is none, not the next pair",
         "itemId:\"abc\", <x item_id\" value=\"520003\"/>", ""},
        {"an id with an address in it is none", "itemId:\"1/../2\",", ""},
        {"twenty digits are an id", "itemId:\"12345678901234567890\",", "12345678901234567890"},
        {"twenty-one digits are none", "itemId:\"123456789012345678901\",", ""},
        {"a left marker without its right one", "itemId:\"520001", ""},
        {"a page without an id, such as a time-out notice", "<html>请求超时</html>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(itemIdOfPage(c.page), c.id) << c.reason;
}

TEST(ItemTitleOfPageTest, KeepsThePagesOwnSpacing) {
    struct Case {
        const char* reason;
        const char* page;
        const char* title;
    };
    const Case cases[] = {
        {"spacing stays", "<head><title>  羊毛围巾-淘宝网 </title>", "  羊毛围巾-淘宝网 "},
        {"the spaced tag is the fallback", "<title >围巾</title>", "围巾"},
        {"the plain tag comes first", "<title >B</title><title>A</title>", "A"},
        {"tags ignore case", "<TITLE>围巾</TITLE>", "围巾"},
        {"no title", "<head></head>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(itemTitleOfPage(c.page), c.title) << c.reason;
}

TEST(ShopHostOfAddressTest, HttpsFirstThenHttpUpToTheNextSlash) {
    struct Case {
        const char* reason;
        const char* address;
        const char* host;
    };
    const Case cases[] = {
        {"https", "https://shop1.taobao.com/search.htm", "shop1.taobao.com"},
        {"http", "http://shop1.taobao.com/", "shop1.taobao.com"},
        {"blanks around the host", "  https:// shop1.taobao.com /x", "shop1.taobao.com"},
        {"the scheme ignores case", "HTTP://shop1.taobao.com/", "shop1.taobao.com"},
        {"https is taken even after an http address", "http://a.taobao.com/ https://b.taobao.com/",
         "b.taobao.com"},
        {"no slash after the host", "https://shop1.taobao.com", ""},
        {"no scheme", "shop1.taobao.com/", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(shopHostOfAddress(c.address), c.host) << c.reason;
}

TEST(ShopHostTest, ItemHostsAndMalformedHostsAreRefused) {
    struct Case {
        const char* reason;
        std::string host;
        bool plain;
        bool shop;
    };
    const Case cases[] = {
        {"a shop", "shop1.taobao.com", true, true},
        {"nothing", "", false, false},
        {"the item host", "item.taobao.com", true, false},
        {"the Tmall item host", "detail.tmall.com", true, false},
        {"the item host compared exactly", "ITEM.TAOBAO.COM", true, true},
        {"a blank inside", "shop1 .taobao.com", false, false},
        {"a full-width blank inside", "shop1\xA1\xA1.taobao.com", false, false},
        {"a tab inside", "shop1\t.taobao.com", false, false},
        {"a line break inside", "shop1\r\n.taobao.com", false, false},
        {"a delete character", "shop1\x7f.taobao.com", false, false},
        {"a port", "shop1.taobao.com:8080", false, false},
        {"user information", "me@shop1.taobao.com", false, false},
        {"a Chinese name stays possible", "店铺.com", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(isPlainHost(c.host), c.plain);
        EXPECT_EQ(isShopHost(c.host), c.shop);
    }
}

TEST(ClassifyListAddressTest, LaterRulesOverrideEarlierOnes) {
    const std::string host = "shop1.taobao.com";
    const std::string base = "https://shop1.taobao.com/shop1.taobao.com/";
    struct Case {
        const char* reason;
        std::string address;
        ListKind kind;
        std::string key;
    };
    const Case cases[] = {
        {"scid between ampersands", "https://shop1.taobao.com/search.htm?a=1&scid= 123 &b=2", ListKind::ScidCategory,
         "123"},
        {"scid without a leading ampersand", "https://shop1.taobao.com/search.htm?scid=123&b=2",
         ListKind::ScidCategory, ""},
        {"scid without a trailing ampersand", "https://shop1.taobao.com/search.htm?a=1&scid=123",
         ListKind::ScidCategory, ""},
        {"catId", "https://shop1.taobao.com/search.htm?a=1&catId=55&b", ListKind::CatIdCategory, "55"},
        {"catId overrides scid", "https://shop1.taobao.com/search.htm?a=1&scid=9&catId=55&b",
         ListKind::CatIdCategory, "55"},
        {"category- cut before its dash", "https://shop1.taobao.com/category-123-456.htm", ListKind::CatIdCategory,
         "123"},
        {"category- without a dash", "https://shop1.taobao.com/category-789.htm", ListKind::CatIdCategory, "789"},
        {"searcy_type gives the base address", "https://shop1.taobao.com/search.htm?searcy_type=item&s_from=#bd",
         ListKind::BaseAddress, base + "search.htm?searcy_type=item&s_from=#bd"},
        {"categoryp gives the base address of the trimmed text",
         "  https://shop1.taobao.com/categoryp-5.htm?x=1  ", ListKind::BaseAddress, base + "categoryp-5.htm?x=1"},
        {"searcy_type saves a scid without ampersands", "https://shop1.taobao.com/search.htm?scid=1&searcy_type=2",
         ListKind::BaseAddress, base + "search.htm?scid=1&searcy_type=2"},
        {"category- and scid: base address without #bd",
         "https://shop1.taobao.com/category-123-456.htm?&scid=9&x#bd#bd", ListKind::BaseAddress,
         base + "category-123-456.htm?&scid=9&x"},
        {"conditions are case-sensitive", "https://shop1.taobao.com/search.htm?a=1&SCID=123&b", ListKind::None, ""},
        {"no category", "https://shop1.taobao.com/", ListKind::None, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const ListAddress list = classifyListAddress(c.address, host);
        EXPECT_EQ(list.kind, c.kind);
        EXPECT_EQ(list.key, c.key);
    }
}

TEST(ResultPageAddressTest, ShopAndEachListKind) {
    const std::string base = "https://s.com/s.com/";
    struct Case {
        const char* reason;
        std::string address;
        std::string expected;
    };
    const Case cases[] = {
        {"shop search page", shopSearchAddress("s.com"), base + "search.htm?search=y"},
        {"shop result page", shopPageAddress("s.com", 3), base + "search.htm?search=y&pageNum=3"},
        {"scid category", listPageAddress({ListKind::ScidCategory, "12"}, "s.com", 1),
         base + "search.htm?&search=y&scid=12&viewType=grid&orderType=_hotsell&pageNum=1"},
        {"catId category", listPageAddress({ListKind::CatIdCategory, "34"}, "s.com", 2),
         base + "search.htm?&search=y&catId=34&viewType=grid&orderType=_hotsell&pageNum=2"},
        {"base address", listPageAddress({ListKind::BaseAddress, "https://x/y?a=1"}, "s.com", 36),
         "https://x/y?a=1&pageNum=36"},
        {"no kind, no address", listPageAddress({ListKind::None, "12"}, "s.com", 1), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.address, c.expected) << c.reason;
}

TEST(ResultCountTextTest, TrimmedOrEmpty) {
    EXPECT_EQ(resultCountText("<p>共搜索到<span> 128 </span>个符合条件的商品。</p>"), "128");
    EXPECT_EQ(resultCountText("<p>没有找到</p>"), "");
}

TEST(PageIndicatorTotalTest, FourMarkerPairsThenTheTextAfterTheLastSlash) {
    struct Case {
        const char* reason;
        const char* page;
        const char* total;
    };
    const Case cases[] = {
        {"quoted span", "<span class=\"page-info\">1/35</span>", "35"},
        {"unquoted span", "<span class=page-info>2/36</span>", "36"},
        {"quoted b", "<b class=\"ui-page-s-len\">1/7</b>", "7"},
        {"unquoted b", "<b class=ui-page-s-len>1/8</b>", "8"},
        {"the first pair wins", "<b class=\"ui-page-s-len\">1/7</b><span class=\"page-info\">1/9</span>", "9"},
        {"an empty indicator takes the next pair", "<span class=\"page-info\"></span><b class=ui-page-s-len>1/8</b>",
         "8"},
        {"the last slash", "<span class=\"page-info\">1/2/3</span>", "3"},
        {"no slash", "<span class=\"page-info\">35</span>", ""},
        {"no indicator", "<p>1/35</p>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(pageIndicatorTotal(c.page), c.total) << c.reason;
}

TEST(PageCountOfTest, LeadingDigitsOrZeroAndSaturation) {
    struct Case {
        const char* reason;
        const char* total;
        int pages;
    };
    const Case cases[] = {
        {"35 asks no page range", "35", 35},
        {"36 asks a page range", "36", 36},
        {"empty", "", 0},
        {"not a number", "abc", 0},
        {"zero", "0", 0},
        {"blanks before", " 12", 12},
        {"text after", "12页 ", 12},
        {"a sign is no page count", "-5", 0},
        {"the largest count", "2147483647", INT_MAX},
        {"one beyond saturates", "2147483648", INT_MAX},
        {"far beyond saturates", "99999999999999999999999", INT_MAX},
    };
    for (const Case& c : cases) EXPECT_EQ(pageCountOf(c.total), c.pages) << c.reason;
}

TEST(ItemPartOfResultPageTest, BeforeDaoDiFromPaiXu) {
    struct Case {
        const char* reason;
        const char* page;
        const char* part;
    };
    const Case cases[] = {
        {"both markers", "a排序b到第c", "排序b"},
        {"排序 only after 到第 is cut away with it", "a到第b排序c", "a"},
        {"neither marker", "abc", "abc"},
        {"排序 only", "x排序y", "排序y"},
    };
    for (const Case& c : cases) EXPECT_EQ(itemPartOfResultPage(c.page), c.part) << c.reason;
}

TEST(ItemsOfResultPageTest, CurrentLayoutOlderLayoutAndPairing) {
    const std::string current =
        "<a class=\"item-name\" href=\"//x/1?id=1\">不在排序之前</a>"
        "<div>排序</div>\n"
        "<dl><dd><a class=\"item-name J_TGoldData\" href=\"//item.taobao.com/item.htm?id=12345&spm=abc\" "
        "target=\"_blank\">\n   羊毛围巾</a></dd>\n"
        "<span class=\"c-price\">38.00 </span>\n"
        "<A CLASS=\"ITEM-NAME\" HREF=\"//item.taobao.com/item.htm?id=\">没有编号</A>"
        "<span class=\"c-price\">1.00</span>\n"
        "<a class=\"item-name\" href=\"//item.taobao.com/item.htm?id=678\">帽子</a>\n"
        "<span class=\"c-price\">20.00</span>\n"
        "<a class=\"item-name\" href=\"//item.taobao.com/item.htm?id=910\">手套</a>\n"
        "<a class=\"item-name\" href=\"//item.taobao.com/item.htm?id=91x\">坏编号</a>\n"
        "<p>到第</p><a class=\"item-name\" href=\"//x/1?id=2\">在到第之后</a>";
    const std::string older =
        "<a target=\"_blank\" href=\"http://item.taobao.com/item.htm?id=999&x=1\" class=\"permalink\" style=\"\">\n"
        "  旧围巾\n  </a><strong>12.00 元</strong>";
    struct Case {
        const char* reason;
        std::string page;
        std::vector<ListPageItem> items;
    };
    const Case cases[] = {
        {"current layout: ids cut at &, links without an id or with a non-digit one skipped but its price kept in line, missing prices empty",
         current,
         {{"羊毛围巾", "38.00", "12345"}, {"帽子", "20.00", "678"}, {"手套", "", "910"}}},
        {"older layout when the current one finds nothing", older, {{"旧围巾", "12.00", "999"}}},
        {"neither layout", "<div>排序</div><p>没有宝贝</p>", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const std::vector<ListPageItem> items = itemsOfResultPage(c.page).items;
        ASSERT_EQ(items.size(), c.items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].name, c.items[i].name);
            EXPECT_EQ(items[i].price, c.items[i].price);
            EXPECT_EQ(items[i].itemId, c.items[i].itemId);
        }
    }
    EXPECT_EQ(listedItemAddress("12345"), "http://item.taobao.com/item.htm?id=12345");
}

// Read on the interface thread: a page of links keeps the window waiting.
TEST(ItemsOfResultPageTest, AMegabyteOfLinksIsReadAtOnce) {
    std::string page = "<div>排序</div>\n";
    while (page.size() < (1 << 20)) page += "<a href=\"//item.taobao.com/item.htm?id=1\">x</a>\n";
    page += R"(<a class="item-name" href="//item.taobao.com/item.htm?id=538056700101">钱包</a>)"
            R"(<span class="c-price">168.00</span>)";
    const ULONGLONG start = GetTickCount64();
    const ResultPageItems read = itemsOfResultPage(page);
    EXPECT_LT(GetTickCount64() - start, 500u);
    EXPECT_TRUE(read.whole);
    ASSERT_EQ(read.items.size(), 1u);
    EXPECT_EQ(read.items[0].itemId, "538056700101");
    EXPECT_EQ(read.items[0].price, "168.00");
}

TEST(ItemsOfResultPageTest, AnItemTooComplexToSearchLeavesThePageNotWhole) {
    std::string tangle = R"(<a class="item-name" )";
    while (tangle.size() < 4000) tangle += R"(href="id="">)";
    const std::string item = R"(<a class="item-name" href="//item.taobao.com/item.htm?id=12">围巾</a>)";
    const ResultPageItems read = itemsOfResultPage(item + tangle + item);
    EXPECT_FALSE(read.whole);
    ASSERT_EQ(read.items.size(), 2u) << "the items around it are read";
    EXPECT_EQ(read.items[1].name, "围巾");
    EXPECT_TRUE(itemsOfResultPage(item).whole);
}

TEST(RemoveBlankLinesTest, BlankLinesBetweenLinesGoAndOneEndPairIsWrittenBack) {
    struct Case {
        const char* reason;
        std::string text;
        std::string cleaned;
        std::string writtenBack;
    };
    const Case cases[] = {
        {"two empty lines between two addresses", "a\r\n\r\n\r\nb", "a\r\nb", "a\r\n\r\n\r\nb"},
        {"a line of spaces and tabs", "a\r\n \t \r\nb", "a\r\nb", "a\r\n \t \r\nb"},
        {"several runs", "a\r\n\r\nb\r\n  \r\nc", "a\r\nb\r\nc", "a\r\n\r\nb\r\n  \r\nc"},
        {"two leading pairs keep one", "\r\n\r\na\r\nb", "\r\na\r\nb", "\r\na\r\nb"},
        {"two trailing pairs keep one", "a\r\nb\r\n\r\n", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"blanks around inner lines stay", " a \r\n b ", " a \r\n b ", " a \r\n b "},
        {"Chinese lines", "围巾\r\n\r\n帽子", "围巾\r\n帽子", "围巾\r\n\r\n帽子"},
        {"line feeds alone are not line breaks here", "a\n\nb", "a\n\nb", "a\n\nb"},
        {"empty", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string text = c.text;
        EXPECT_EQ(removeBlankLines(text), c.cleaned);
        EXPECT_EQ(text, c.writtenBack);
    }
}

}  // namespace
}  // namespace quorvane
