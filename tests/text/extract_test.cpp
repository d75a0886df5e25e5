// Cutting texts between markers, and the CRLF line helpers.
#include "text/extract.h"

#include "text/com.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

const std::string kTrailLt = "\x81\x3C";     // a lead byte whose trail byte is "<"

struct BetweenCase {
    std::string source, left, right, expected;
};

TEST(TextBetween, CutsAfterTheLeftMarkerUpToTheNextRightMarker) {
    const BetweenCase cases[] = {
        {"a<b>c", "<b>", "<", ""},
        {"a<b>c", "a", "c", "<b>"},
        {"Title", "TITLE", "", ""},
        {"Title", "ti", "", ""},  // an empty right marker gives nothing, even with text left
        {"Title", "ti", "e", "tl"},
        {"x]y[z]", "[", "]", "z"},  // a right marker before the left one does not count
        {"ab", "ab", "x", ""},      // nothing after the left marker
        {"abc", "", "c", "ab"},
        {"a" + kTrailLt + "<v>", "<", ">", "v"},
        {"\xD6\xD0" "title=\xCE\xC4;", "title=", ";", "\xCE\xC4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textBetween(c.source, std::string_view(c.left), std::string_view(c.right)), c.expected)
            << c.source << " between " << c.left << " and " << c.right;
    }
}

TEST(TextBetween, TurnsThePlaceholderIntoAQuoteAndStoresTheMarkersBack) {
    std::string left = "data-catid=#引号", right = "#引号";
    EXPECT_EQ(textBetween("<li data-catid=\"5012\">", left, right), "5012");
    EXPECT_EQ(left, "data-catid=\"");
    EXPECT_EQ(right, "\"");
    EXPECT_EQ(textBetween("{\"title\":\"Bag\"}", "title#引号:#引号", "\""), "Bag");
}

TEST(TextBetween, CaseSensitiveWhenAsked) {
    EXPECT_EQ(textBetween("Title", "ti", "e", 1, true), "");
    EXPECT_EQ(textBetween("title", "ti", "e", 1, true), "tl");
}

TEST(TextBetweenMatchCase, CopiesMarkersAndHonoursStartAndCase) {
    std::string page(6000, '.');
    page.replace(10, 12, "\"title\":\"A\"");
    page.replace(5100, 12, "\"title\":\"B\"");
    EXPECT_EQ(textBetweenMatchCase(page, "title#引号:#引号", "#引号", 5000, true), "B");
    EXPECT_EQ(textBetweenMatchCase(page, "title#引号:#引号", "#引号"), "A");
    EXPECT_EQ(textBetweenMatchCase("TITLE=x;", "title=", ";"), "");
    EXPECT_EQ(textBetweenMatchCase("TITLE=x;", "title=", ";", 1, true), "x");
    EXPECT_EQ(textBetweenMatchCase("a=1", "a=", ";"), "");
}

TEST(MarkerHelpers, AfterLastLeftOfAndOpenEnds) {
    EXPECT_EQ(textAfterLastMarker("a/b/c", "/"), "c");
    EXPECT_EQ(textAfterLastMarker("abc", "/"), "");
    EXPECT_EQ(textAfterLastMarker("a/b/", "/"), "");
    EXPECT_EQ(textLeftOfMarker("k=v; path=/", ";"), "k=v");
    EXPECT_EQ(textLeftOfMarker("k=v", ";"), "");
    EXPECT_EQ(textLeftOfMarker("a;b;c", ";", 3), "a;b");
    EXPECT_EQ(textBetweenOpenEnds("Set-Cookie: a=1; path=/", "Set-Cookie:", ";"), " a=1");
    EXPECT_EQ(textBetweenOpenEnds("Set-Cookie: a=1; path=/", "=", ""), "1; path=/");
    EXPECT_EQ(textBetweenOpenEnds("a=1; b", "", ";"), "a=1");
    EXPECT_EQ(textBetweenOpenEnds("whole", "", ""), "whole");
    EXPECT_EQ(textBetweenOpenEnds("a=1", "x", ""), "");
    EXPECT_EQ(textBetweenOpenEnds("a=1", "=", ";"), "");
}

TEST(NextTextBetween, WalksFromTheAnchor) {
    std::string left;
    int position = 0;
    EXPECT_EQ(nextTextBetween("x=0; a=1; b=2", position, "a=", left, false, ";"), "a=1");
    EXPECT_EQ(position, 6);
    EXPECT_EQ(left, "a=");

    position = 0;
    EXPECT_EQ(nextTextBetween("x=0; A=1", position, "a=", left, false, ";", true, false), "1");
    EXPECT_EQ(position, 8);

    position = 0;
    EXPECT_EQ(nextTextBetween("x=0", position, "a=", left, false, ";"), "");
    EXPECT_EQ(position, -1);

    std::string bracket = "[";
    position = 0;
    EXPECT_EQ(nextTextBetween("id: [7]; z", position, "id", bracket, true, "]", true, false), "7");
    EXPECT_EQ(bracket, "[");
    position = 0;
    EXPECT_EQ(nextTextBetween("id: 7", position, "id", bracket, true, "]"), "");
    EXPECT_EQ(position, -1);
}

TEST(ExtractAllBetween, ReturnsEverySubMatchInPageOrder) {
    ComScope com;
    std::vector<std::string> results{"stale"};
    const std::string page =
        "<img src=\"//img/a_60x60q90.jpg\"><img src=\"//img/b_60x60q90.jpg\"><img src=\"//img/_60x60q90.jpg\">";
    EXPECT_EQ(extractAllBetween(page, "src=\"//img/", "_60x60q90.jpg", results), 3);
    EXPECT_EQ(results, (std::vector<std::string>{"a", "b", ""}));

    // "+", "*" and "?" match themselves; "." still matches any character but a line feed.
    EXPECT_EQ(extractAllBetween("a+b=1;a+b=2;", "a+b=", ";", results), 2);
    EXPECT_EQ(results, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(extractAllBetween("x*?y", "x*?", "", results), 1);
    EXPECT_EQ(extractAllBetween("aXb aYb a\nb", "a.", "b", results), 2);

    EXPECT_EQ(extractAllBetween("nothing here", "<", ">", results), 0);
    EXPECT_TRUE(results.empty());
}

TEST(ReplacePairs, AppliesPairsInOrder) {
    EXPECT_EQ(replacePairs("a?b", std::nullopt, 0, false, {{"?", "\\?"}, {"\\", "/"}}), "a/?b");
    EXPECT_EQ(replacePairs("xXx", 1, 2, false, {{"x", "y"}}), "xyx");
    EXPECT_EQ(replacePairs("xXx", std::nullopt, 1, true, {{"x", "y"}, {"", "z"}}), "yXy");
}

struct LinesCase {
    std::string text;
    int count;
};

TEST(Lines, CountsCrlfPiecesAndPicksOne) {
    const LinesCase cases[] = {{"", 0}, {"a", 1}, {"a\r\nb\r\n", 2}, {"a\r\n\r\nb", 3}, {"a\nb", 1}};
    for (const auto& c : cases) EXPECT_EQ(countLines(c.text), c.count) << c.text;
    const std::string text = "a\r\n\r\nb";
    EXPECT_EQ(lineAt(text, 1), "a");
    EXPECT_EQ(lineAt(text, 2), "");
    EXPECT_EQ(lineAt(text, 3), "b");
    EXPECT_EQ(lineAt(text, 0), "");
    EXPECT_EQ(lineAt(text, 4), "");
}

}  // namespace
}  // namespace quorvane
