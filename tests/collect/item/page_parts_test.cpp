// What the page patterns read of a page: its list items and SKU entries, each
// cut where a match cannot reach past.
#include "collect/item/page_parts.h"

#include <string>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(ListItemsText, EachItemUpToTheNextItemItsThirdLineEndOrItsBound) {
    const std::string longItem = "<li data-value=\"1:2\" " + std::string(2000, 'x');
    struct Case {
        const char* why;
        std::string page;
        std::initializer_list<std::string_view> required;
        std::string items;
    };
    const Case cases[] = {
        {"items in page order, the text around them left out",
         "<ul><li data-value=\"1:2\"><span>a</span></li>\n<LI DATA-VALUE=\"3:4\"><span>b</span></li></ul>",
         {},
         "<li data-value=\"1:2\"><span>a</span></li>\n\n\n\n<LI DATA-VALUE=\"3:4\"><span>b</span></li></ul>\n\n\n"},
        {"up to the third line end; CR and LF count alone",
         "<li data-value=\"1:2\">\n<a>\r\n<span>a</span>",
         {},
         "<li data-value=\"1:2\">\n<a>\r\n\n\n"},
        {"an item without a required text is left out",
         "<li data-value=\"1:2\"><a>x</a></li><li data-value=\"3:4\"><SPAN>b</SPAN></li>",
         {"<span>", "</span>"},
         "<li data-value=\"3:4\"><SPAN>b</SPAN></li>\n\n\n"},
        {"a long item is cut at its bound", longItem, {}, longItem.substr(0, kListItemBytes) + "\n\n\n"},
        {"a cut never splits a character",
         std::string(kListItemBytes - 1 - 16, 'x').insert(0, "<li data-value=\"") + "图",
         {},
         std::string(kListItemBytes - 1 - 16, 'x').insert(0, "<li data-value=\"") + "\n\n\n"},
        {"a page without items", "<ul><li>1</li></ul>", {}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(listItemsText(c.page, c.required), c.items) << c.why;
}

TEST(SkuEntriesText, EachEntryUpToItsClosingBrace) {
    const std::string entry = R"(";1627207:28341;":{"price":"9.00","priceCent":900,"skuId":"1","stock":5})";
    struct Case {
        const char* why;
        std::string page;
        std::string entries;
    };
    const Case cases[] = {
        {"entries of a map, the text around them left out", "skuMap:{" + entry + "," + entry + "}};",
         entry + "\n\n\n" + entry + "\n\n\n"},
        {"an entry over lines", "{\";1:2;\":\n{\n\"skuId\" : \"1\"\n}\n", "\";1:2;\":\n{\n\"skuId\" : \"1\"\n}\n\n\n"},
        {"an entry without its brace before the next is left out", "\";1:2;\":{\"price\":\"1\"" + entry,
         entry + "\n\n\n"},
        {"so is one whose brace lies past the bound",
         "\";1:2;\":{\"price\":\"" + std::string(kSkuEntryBytes, '9') + "\"}", ""},
        {"a page without entries", "<p>;\"</p>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(skuEntriesText(c.page), c.entries) << c.why;
}

}  // namespace
}  // namespace quorvane
