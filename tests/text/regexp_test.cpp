// Both wrappers against the platform's own "VBScript.RegExp".
#include "text/regexp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane {
namespace {

class RegExpTest : public ::testing::Test {
protected:
    ComScope com_;
};

std::vector<std::string> allMatches(const RegExpA& re) {
    std::vector<std::string> found;
    for (int i = 1; i <= re.matchCount(); ++i) found.push_back(re.matchText(i));
    return found;
}

std::vector<std::string> allMatches(const RegExpB& re) {
    std::vector<std::string> found;
    for (int i = 1; i <= re.matchCount(); ++i) found.push_back(re.matchText(i));
    return found;
}

TEST_F(RegExpTest, CreateDefaultsIgnoreCaseAnchorLinesAndFindAll) {
    RegExpA re;
    ASSERT_TRUE(re.create("^ab$"));
    EXPECT_EQ(re.execute("AB\nab\nxab"), 2);
    EXPECT_EQ(allMatches(re), (std::vector<std::string>{"AB", "ab"}));
}

struct FlagCase {
    const char* name;
    const char* pattern;
    bool ignoreCase;
    bool multiline;
    bool global;
    const char* text;
    std::vector<std::string> expected;
};

const FlagCase kFlagCases[] = {
    {"case kept", "ab", false, true, true, "AB ab aB", {"ab"}},
    {"whole-text anchors", "^ab$", true, false, true, "ab\nab", {}},
    {"whole-text anchors match the whole text", "^a.*b$", true, false, true, "a\nb", {}},
    {"first match only", "a\\d", true, true, false, "a1 a2 a3", {"a1"}},
    {"dot stops at a line feed", "a.b", true, true, true, "a\nb a-b", {"a-b"}},
};

TEST_F(RegExpTest, CreateFlagsAreHonoured) {
    for (const FlagCase& c : kFlagCases) {
        SCOPED_TRACE(c.name);
        RegExpA re;
        ASSERT_TRUE(re.create(c.pattern, c.ignoreCase, c.multiline, c.global));
        EXPECT_EQ(re.execute(c.text), static_cast<int>(c.expected.size()));
        EXPECT_EQ(allMatches(re), c.expected);
    }
}

TEST_F(RegExpTest, ExecuteDefaultsIgnoreCaseUnlessCaseSensitive) {
    RegExpB re;
    ASSERT_TRUE(re.execute("^abc$", "ABC\nabc"));
    EXPECT_EQ(allMatches(re), (std::vector<std::string>{"ABC", "abc"}));
    ASSERT_TRUE(re.execute("^abc$", "ABC\nabc", true));
    EXPECT_EQ(allMatches(re), (std::vector<std::string>{"abc"}));
    ASSERT_TRUE(re.execute("a\\d", "a1 a2", false, true, false));
    EXPECT_EQ(allMatches(re), (std::vector<std::string>{"a1"}));
}

TEST_F(RegExpTest, QueriesWithoutMatchesAreEmpty) {
    RegExpA a;
    EXPECT_EQ(a.getPattern(), "");
    EXPECT_EQ(a.matchText(1), "");
    EXPECT_EQ(a.replace("abc", "x"), "");
    ASSERT_TRUE(a.create("(x)(y)"));
    EXPECT_EQ(a.matchText(1), "") << "before any execute";
    EXPECT_EQ(a.subMatchCount(), 0);
    EXPECT_EQ(a.execute("abc"), 0);
    EXPECT_EQ(a.matchCount(), 0);
    EXPECT_EQ(a.subMatchCount(), 0);
    EXPECT_EQ(a.matchText(1), "");
    EXPECT_EQ(a.subMatchText(1, 1), "");

    RegExpB b;
    EXPECT_EQ(b.getPattern(), "");
    EXPECT_EQ(b.matchCount(), 0);
    EXPECT_EQ(b.replace("x"), "");
    ASSERT_TRUE(b.execute("(x)(y)", "abc")) << "an empty collection is still a result";
    EXPECT_EQ(b.matchCount(), 0);
    EXPECT_EQ(b.subMatchCount(), 0);
    int position = 7;
    EXPECT_EQ(b.matchText(1, &position), "");
    EXPECT_EQ(position, -1);
}

TEST_F(RegExpTest, RejectedPatternGivesNoMatchesAndNoReplacement) {
    RegExpA a;
    ASSERT_TRUE(a.create("(ab"));
    EXPECT_EQ(a.execute("ab"), 0);
    EXPECT_EQ(a.matchText(1), "");
    EXPECT_EQ(a.replace("ab", "x"), "") << "not the unchanged text";

    RegExpB b;
    ASSERT_TRUE(b.execute("a", "a"));
    EXPECT_FALSE(b.execute("(ab", "ab"));
    EXPECT_EQ(b.matchCount(), 0) << "nothing left of the earlier execute";
    EXPECT_EQ(b.replace("x"), "");
}

TEST_F(RegExpTest, ReplaceAppliesToAllMatchesWithGroupReferences) {
    RegExpA a;
    ASSERT_TRUE(a.create("(\\w+)@(\\w+)"));
    EXPECT_EQ(a.replace("me@home, you@work", "$2:$1"), "home:me, work:you");
    EXPECT_EQ(a.replace("nothing here", "x"), "nothing here");

    RegExpB b;
    ASSERT_TRUE(b.execute("\\d", "a1b2"));
    EXPECT_EQ(b.replace("#"), "a#b#");
}

TEST_F(RegExpTest, ReplaceRemovesALineOfSpaces) {
    RegExpB b;
    ASSERT_TRUE(b.execute("\\n\\s*\\r", "first line\r\n    \r\nthird line"));
    EXPECT_EQ(b.replace(""), "first line\r\nthird line");
}

TEST_F(RegExpTest, SubMatchesIncludingAGroupThatTookNoPart) {
    const char* pattern = "(\\d+)-(x)?(\\w+)";
    const char* text = "12-ab 34-xcd";
    struct Case {
        int i, j;
        const char* expected;
    };
    const Case cases[] = {
        {1, 1, "12"}, {1, 2, ""}, {1, 3, "ab"}, {2, 1, "34"}, {2, 2, "x"}, {2, 3, "cd"},
        {0, 1, ""},   {3, 1, ""}, {1, 0, ""},   {1, 4, ""},   {-1, 1, ""},
    };
    RegExpA a;
    ASSERT_TRUE(a.create(pattern));
    ASSERT_EQ(a.execute(text), 2);
    EXPECT_EQ(a.subMatchCount(), 3);
    RegExpB b;
    ASSERT_TRUE(b.execute(pattern, text));
    EXPECT_EQ(b.subMatchCount(), 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "match " << c.i << " group " << c.j);
        EXPECT_EQ(a.subMatchText(c.i, c.j), c.expected);
        EXPECT_EQ(b.subMatchText(c.i, c.j), c.expected);
    }
    EXPECT_EQ(a.matchText(0), "");
    EXPECT_EQ(a.matchText(3), "");
    EXPECT_EQ(b.matchText(3), "");
}

TEST_F(RegExpTest, ChineseTextRoundTrips) {
    RegExpA a;
    ASSERT_TRUE(a.create("【(.+?)】价格：(\\d+)元"));
    EXPECT_EQ(a.getPattern(), "【(.+?)】价格：(\\d+)元");
    ASSERT_EQ(a.execute("新品【淘宝店铺】价格：25元，【天猫】价格：30元"), 2);
    EXPECT_EQ(a.matchText(1), "【淘宝店铺】价格：25元");
    EXPECT_EQ(a.subMatchText(1, 1), "淘宝店铺");
    EXPECT_EQ(a.subMatchText(2, 1), "天猫");
    EXPECT_EQ(a.subMatchText(2, 2), "30");
    EXPECT_EQ(a.replace("【天猫】价格：30元", "$1=$2"), "天猫=30");

    RegExpB b;
    ASSERT_TRUE(b.execute("[^，]+店", "第一，淘宝店，第三"));
    EXPECT_EQ(b.matchText(1), "淘宝店");
    EXPECT_EQ(b.replace("网店"), "第一，网店，第三");
}

TEST_F(RegExpTest, PositionsAreByteOffsetsInTheGbkText) {
    struct Case {
        const char* name;
        const char* pattern;
        const char* text;
        int i, j;  // j == 0: the match itself
        const char* expected;
        int position;
    };
    const Case cases[] = {
        {"ASCII only", "b", "aab", 1, 0, "b", 2},
        {"double-byte characters before", "a", "中中a", 1, 0, "a", 4},
        {"second of two", "a", "中中中a a", 2, 0, "a", 8},
        // The character FirstIndex counts to lies before an earlier "a".
        {"not the earlier occurrence", "a$", "中中中a a", 1, 0, "a", 8},
        {"at the start", "^中", "中文", 1, 0, "中", 0},
        {"sub-match of the first", "价格：(\\d+)", "商品价格：25，价格：30", 1, 1, "25", 10},
        {"sub-match of the second", "价格：(\\d+)", "商品价格：25，价格：30", 2, 1, "30", 20},
        {"sub-match searched from its match", "(\\d)x", "1 中1x", 1, 1, "1", 4},
        {"group that took no part", "(x)?y", "中y", 1, 1, "", -1},
        {"match out of range", "y", "中y", 2, 0, "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegExpB b;
        ASSERT_TRUE(b.execute(c.pattern, c.text));
        int position = 99;
        EXPECT_EQ(c.j == 0 ? b.matchText(c.i, &position) : b.subMatchText(c.i, c.j, &position), c.expected);
        EXPECT_EQ(position, c.position);
    }
}

TEST_F(RegExpTest, CopiesKeepTheMatchesOfTheirTime) {
    RegExpA a;
    ASSERT_TRUE(a.create("(\\d)"));
    ASSERT_EQ(a.execute("1 2"), 2);
    const auto aCopy = a.copy();
    ASSERT_TRUE(a.create("z"));
    EXPECT_EQ(a.matchCount(), 0) << "create drops the matches";
    EXPECT_EQ(a.execute("z"), 1);
    EXPECT_EQ(aCopy->matchCount(), 2);
    EXPECT_EQ(aCopy->matchText(2), "2");
    EXPECT_EQ(aCopy->subMatchText(1, 1), "1");
    EXPECT_EQ(aCopy->getPattern(), "(\\d)");

    RegExpB b;
    ASSERT_TRUE(b.execute("中", "中文中"));
    const auto bCopy = b.copy();
    ASSERT_TRUE(b.execute("x", "y"));
    EXPECT_EQ(bCopy->matchCount(), 2);
    int position = 0;
    EXPECT_EQ(bCopy->matchText(2, &position), "中");
    EXPECT_EQ(position, 4) << "the copy searches its own copy of the text";
    EXPECT_EQ(bCopy->replace("英"), "英文英");
}

}  // namespace
}  // namespace quorvane
