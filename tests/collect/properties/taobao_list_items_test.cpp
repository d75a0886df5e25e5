// The Taobao list-item reader against the regular-expression object it stands
// in for: on every text below both give the same matches.
#include "collect/properties/taobao_list_items.h"

#include "text/com.h"
#include "text/regexp.h"
#include "text/regexp_literals.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>

namespace quorvane {

void PrintTo(const ListItemMatch& match, std::ostream* out) { *out << "{" << match.pair << ", " << match.shown << "}"; }

namespace {

class TaobaoListItemsTest : public ::testing::Test {
protected:
    std::vector<ListItemMatch> objectMatches(const std::string& text) {
        regExp_.create(kTaobaoListItemPattern);
        std::vector<ListItemMatch> matches;
        for (int i = 1, count = regExp_.execute(text); i <= count; ++i)
            matches.push_back({regExp_.subMatchText(i, 1), regExp_.subMatchText(i, 3)});
        return matches;
    }

    std::optional<ListItemMatch> objectMatchShowing(const std::string& text, const std::string& shown) {
        regExp_.create("<li data-value=\"(.*?)(\".*?|\".*?\\s<a.*?\\s.*?)<span>(" + escapedForRegExp(shown) +
                       ")</span>");
        if (regExp_.execute(text) == 0) return std::nullopt;
        return ListItemMatch{regExp_.subMatchText(1, 1), regExp_.subMatchText(1, 3)};
    }

    // Both patterns, the second with each shown text, read alike.
    void expectSameAsObject(const std::string& text, std::initializer_list<std::string> shownTexts = {}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(taobaoListItems(text), objectMatches(text));
        for (const std::string& shown : shownTexts) {
            SCOPED_TRACE(shown);
            EXPECT_EQ(taobaoListItemShowing(text, shown), objectMatchShowing(text, shown));
        }
    }

    ComScope com_;
    RegExpA regExp_;
};

TEST_F(TaobaoListItemsTest, TrickyItemsReadAsTheObjectReadsThem) {
    struct Case {
        const char* why;
        std::string text;
        std::initializer_list<std::string> shownTexts;
    };
    const Case cases[] = {
        {"the usual item",
         "<li data-value=\"1627207:28320\" title=\"白色\"><a href=\"javascript:;\"><span>白色</span></a></li>",
         {"白色", "白", "黑色"}},
        {"anchor and name on lines of their own",
         "<li data-value=\"20509:28315\">\n<a href=\"javascript:;\">\n<span>170/M</span>\n</a>\n</li>",
         {"170/M"}},
        {"the same with CR LF line ends",
         "<li data-value=\"20509:28315\">\r\n<a href=\"#\">\r\n<span>170/M</span>\r\n",
         {"170/M"}},
        {"the name on the second line, the anchor's blank a line end",
         "<li data-value=\"1:2\" title=\"a\"\n<a href><span>红</span>",
         {"红"}},
        {"entities in a shown text",
         "<li data-value=\"1:1001\"><a><span>藏青&quot;经典&quot;&lt;新&gt;&rarr;</span></a>",
         {"藏青&quot;经典&quot;&lt;新&gt;&rarr;"}},
        {"several anchors before a name two lines down",
         "<li data-value=\"1:2\" \" <a <a x\n<a y <a\n<span>z</span>",
         {"z"}},
        {"a name without its closing tag on its line",
         "<li data-value=\"1:2\"><a><span>x</span\n</span><span>y</span>",
         {"x", "y"}},
        {"a closing tag before the opening one", "<li data-value=\"1:2\"></span><a> <span>x", {"x"}},
        {"the first of two opening tags", "<li data-value=\"1:2\"><span><span>x</span>", {"x", "<span>x"}},
        {"letter case", "<LI DATA-VALUE=\"1:2\" TITLE=\"X\">\n<A HREF=\"#\">\n<SPAN>Xl</SPAN>", {"xL", "XL", "x"}},
        {"an empty pair and an empty name", "<li data-value=\"\"><span></span>", {""}},
        {"no quote on the item's first line", "<li data-value=\"1:2\n\" <a <span>x</span>", {"x"}},
        {"a full-width blank before the anchor", "<li data-value=\"1:2\"　<a　\n<span>宽</span>", {"宽"}},
        {"a tab and a form feed as blanks", "<li data-value=\"1:2\"\t<a\f\n<span>t</span>", {"t"}},
        {"GBK characters whose second byte is pattern syntax or a letter",
         "<li data-value=\"\x81\x5c:\x81\x7c\" \x81\x61<a \x81\x5b\n<span>\x81\x5d\x81\x41</span>",
         {"\x81\x5d\x81\x41", "\x81\x5d\x81\x61"}},
        {"bytes that are no GBK character", "<li data-value=\"\xff\x81\"\x80<a\xfe \n<span>\x81</span>", {"\x81", "?"}},
        {"full-width and Greek letters in another case", "<li data-value=\"1:2\"><span>ＡΣб</span>", {"ａσБ", "ＡΣб"}},
        {"two items on one line",
         "<li data-value=\"1:2\"><span>a</span><li data-value=\"3:4\"><span>b</span>",
         {"a", "b"}},
        {"an item whose name is read from inside the next one",
         "<li data-value=\"1:2\"><a><li data-value=\"3:4\"><span>b</span>",
         {"b"}},
        {"shown texts holding pattern syntax are plain text",
         "<li data-value=\"1:2\"><span>X</span><li data-value=\"1:3\"><span>XL?</span>"
         "<li data-value=\"1:4\"><span>a|b</span><li data-value=\"1:5\"><span>{1}^$\\d.*</span>",
         {"XL?", "a|b", "b", "{1}^$\\d.*", "\\d", "(", "["}},
        {"items three line ends apart, the first without a name",
         "<li data-value=\"1:2\" \" <a \" <a </span><span>\n\n\n<li data-value=\"3:4\"><span>c</span>\n\n\n",
         {"c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        expectSameAsObject(c.text, c.shownTexts);
    }
}

// Items made at random of the pieces the patterns turn on.
TEST_F(TaobaoListItemsTest, RandomItemsReadAsTheObjectReadsThem) {
    const std::string pieces[] = {"\"",     " ", "\n", "\r", "<a", "<A ",     "<span>",           "</span>",
                                  "<SPAN>", "x", "中", "　", "\t", "</SPAN>", "<li data-value=\""};
    std::mt19937 random(20261211);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int n = 0; n < 1500; ++n) {
        std::string text = "<li data-value=\"";
        for (int i = length(random); i > 0; --i) text += pieces[piece(random)];
        expectSameAsObject(text, {"x", "中", ""});
        if (HasFailure()) return;
    }
}

// A crafted item of under 1 KB that is no match cost the object minutes.
TEST_F(TaobaoListItemsTest, CraftedItemsCostNoTime) {
    std::string item = "<li data-value=\"1:2\" ";
    while (item.size() < 1000) item += "\" <a ";
    item += "</span><span>\n";
    std::string page;
    for (int i = 0; i < 200; ++i) page += item + "\n\n";
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(taobaoListItems(page).empty());
    EXPECT_FALSE(taobaoListItemShowing(page, "x"));
    // Generous for a loaded machine: this takes milliseconds.
    EXPECT_LT(GetTickCount64() - start, 2000u);
}

}  // namespace
}  // namespace quorvane
