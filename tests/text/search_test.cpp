// The search primitives: 1-based positions, GBK character stepping, the
// byte-cutting helpers and the split and trim rules.
#include "text/search.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// "中" in GBK is D6 D0; "乗" is 81 5C and "亅" is 81 7C: their trail bytes
// equal "\" and "|", which must never be found inside the character.
const std::string kTrailBackslash = "\x81\x5C";
const std::string kTrailBar = "\x81\x7C";

struct FindCase {
    std::string text, sought;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(FindLeft, FollowsTheSearchRules) {
    const FindCase cases[] = {
        {"abcabc", "bc", 1, false, 2},
        {"abcabc", "bc", 3, false, 5},
        {"abcabc", "bc", 0, false, 2},         // below 1 means 1
        {"abcabc", "bc", -5, false, 2},
        {"abc", "c", 4, false, -1},            // start beyond the last byte
        {"abc", "", 3, false, 3},              // empty sought in a non-empty rest
        {"abc", "", 4, false, -1},
        {"", "", 1, false, -1},
        {"Title", "TITLE", 1, true, 1},
        {"Title", "TITLE", 1, false, -1},
        {"[", "{", 1, true, -1},               // only letters fold, not other bytes 0x20 apart
        {kTrailBackslash + "\\", "\\", 1, false, 3},
        {kTrailBar + "|", "|", 1, false, 3},
        {"\xD6\xD0" "x", "\xD0" "x", 1, false, -1},  // no match starting on a trail byte
        // Stepping counts from the start byte, so starting on a trail byte finds it.
        {kTrailBackslash, "\\", 2, false, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findLeft(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << "text=" << c.text << " sought=" << c.sought << " start=" << c.start;
    }
}

TEST(FindRight, FindsTheLastOccurrenceOnACharacterBoundary) {
    EXPECT_EQ(findRight("a/b/c", "/"), 4);
    EXPECT_EQ(findRight("aaa", "aa"), 2);
    EXPECT_EQ(findRight("abc", "/"), -1);
    EXPECT_EQ(findRight("x/" + kTrailBackslash + "y", "\\"), -1);
    EXPECT_EQ(findRight("A/a", "A", true), 3);
    // After a match the search goes on at the next character, not the next
    // byte: from the trail byte D0 the second character would be read as D0 D6.
    EXPECT_EQ(findRight("中中", "中"), 3);
}

TEST(CutBytes, LeftRightMiddle) {
    EXPECT_EQ(leftBytes("abc", 2), "ab");
    EXPECT_EQ(leftBytes("abc", 9), "abc");
    EXPECT_EQ(leftBytes("abc", 0), "");
    EXPECT_EQ(rightBytes("abc", 2), "bc");
    EXPECT_EQ(rightBytes("abc", 9), "abc");
    EXPECT_EQ(rightBytes("abc", -1), "");
    EXPECT_EQ(middleBytes("abcdef", 2, 3), "bcd");
    EXPECT_EQ(middleBytes("abcdef", 5, 9), "ef");
    EXPECT_EQ(middleBytes("abcdef", 0, 2), "");
    EXPECT_EQ(middleBytes("abcdef", 7, 2), "");
    EXPECT_EQ(middleBytes("abcdef", 2, 0), "");
}

TEST(ReplaceText, ReplacesFromStartWithoutOverlap) {
    EXPECT_EQ(replaceText("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(replaceText("a-a-a", "a", "x", 2), "a-x-x");
    EXPECT_EQ(replaceText("a-a-a", "a", "x", 1, 2), "x-x-a");
    EXPECT_EQ(replaceText("Aa", "a", "x", 1, -1, false), "xx");
    EXPECT_EQ(replaceText("Aa", "a", "x", 1, -1, true), "Ax");
    EXPECT_EQ(replaceText("abc", "", "x"), "abc");
    EXPECT_EQ(replaceText(kTrailBackslash + "\\", "\\", "/"), kTrailBackslash + "/");
}

TEST(SplitText, KeepsInnerEmptyPiecesAndDropsATrailingOne) {
    using V = std::vector<std::string>;
    EXPECT_EQ(splitText("", ","), V{});
    EXPECT_EQ(splitText("a,b", ","), (V{"a", "b"}));
    EXPECT_EQ(splitText(",a,,b,", ","), (V{"", "a", "", "b"}));
    EXPECT_EQ(splitText("a,b", ""), V{"a,b"});
    EXPECT_EQ(splitText("a" + kTrailBar + "|b", "|"), (V{"a" + kTrailBar, "b"}));
}

TEST(TrimText, RemovesAsciiAndFullWidthSpacesOnly) {
    EXPECT_EQ(trimText("  \xA1\xA1 a b \xA1\xA1  "), "a b");
    EXPECT_EQ(trimText("\ta\r\n"), "\ta\r\n");
    EXPECT_EQ(trimText("   "), "");
    // B0 A1 is one character, so the final A1 A1 straddles it and is no space.
    EXPECT_EQ(trimText("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
    // B0 A1 ends in A1 too, yet the pairs after it are full-width spaces.
    EXPECT_EQ(trimText("\xB0\xA1\xA1\xA1\xA1\xA1"), "\xB0\xA1");
}

TEST(BytesAsText, EndsAtTheFirstZeroByte) {
    EXPECT_EQ(bytesAsText(Bytes{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(bytesAsText(Bytes{}), "");
}

TEST(CaseTest, OnlyAsciiLettersChangeAndGbkTrailBytesStay) {
    struct Case {
        std::string text, upper, lower;
    };
    // 0x81 0x41 and 0x81 0x61 are GBK characters whose trail bytes are "A" and "a".
    const Case cases[] = {
        {"Get post", "GET POST", "get post"},
        {"\x81\x41x\x81\x61Y", "\x81\x41X\x81\x61Y", "\x81\x41x\x81\x61y"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(upperText(c.text), c.upper);
        EXPECT_EQ(lowerText(c.text), c.lower);
    }
}

}  // namespace
}  // namespace quorvane
