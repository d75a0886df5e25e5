// Conversions between GBK, UTF-8, UTF-16 and Big5.
#include "text/codepage.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }
std::string textOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// "宝贝标题" in each encoding.
const std::string kGbkTitle = "\xB1\xA6\xB1\xB4\xB1\xEA\xCC\xE2";
const std::string kUtf8Title = "\xE5\xAE\x9D\xE8\xB4\x9D\xE6\xA0\x87\xE9\xA2\x98";

TEST(Codepage, SourceLiteralsAreGbk) { EXPECT_EQ(std::string("宝贝标题"), kGbkTitle); }

TEST(Codepage, RoundTripsGbkUtf8Utf16) {
    const std::string texts[] = {kGbkTitle, "abc", "\xA1\xA1" "x\xA3\xA1", "\xD6\xD0\xCE\xC4 2016"};
    for (const auto& gbk : texts) {
        Bytes utf16 = gbkToUtf16(gbk);
        EXPECT_EQ(utf16ToMultiByte(utf16), gbk);
        EXPECT_EQ(utf16ToAnsi(utf16), gbk);
        Bytes utf8 = gbkToUtf8(gbk);
        ASSERT_FALSE(utf8.empty());
        EXPECT_EQ(utf8.back(), 0) << "the terminator unit is converted too";
        EXPECT_EQ(utf8TextToGbk(textOf(utf8)), gbk);
        EXPECT_EQ(utf8BytesToAnsi(utf8), gbk);
        EXPECT_EQ(wideToGbk(gbkToWide(gbk)), gbk);
    }
}

TEST(Codepage, Utf8ToGbk) {
    EXPECT_EQ(utf8TextToGbk(kUtf8Title), kGbkTitle);
    EXPECT_EQ(utf8TextToGbk(""), "");
    // Not UTF-8 at all: converted anyway, never empty.
    EXPECT_FALSE(utf8TextToGbk("\xFF\xFE" "abc").empty());
}

TEST(Codepage, TerminatorsAndLengths) {
    EXPECT_EQ(gbkToUtf8("\xD6\xD0"), (Bytes{0xE4, 0xB8, 0xAD, 0}));
    EXPECT_TRUE(gbkToUtf8("").empty());
    EXPECT_EQ(gbkToUtf16("\xD6\xD0"), (Bytes{0x2D, 0x4E, 0, 0}));
    EXPECT_EQ(gbkToUtf16("\xD6\xD0", true), (Bytes{0x2D, 0x4E}));
    EXPECT_TRUE(gbkToUtf16("").empty());
    EXPECT_EQ(multiByteToUtf16(""), (Bytes{0, 0}));
    EXPECT_EQ(multiByteToUtf16("a", kGbk), (Bytes{'a', 0, 0, 0}));
    EXPECT_EQ(cStringLength(kGbkTitle.substr(0, 6)), 6);
    EXPECT_EQ(utf16ToMultiByte(Bytes{'a', 0, 0, 0, 'b', 0}), "a");
    EXPECT_EQ(utf16ToUtf8(Bytes{'a', 0, 0, 0, 'b', 0}), (Bytes{'a', 0, 'b'}));
}

TEST(Codepage, Utf8BytesEndingOutsideAsciiAreConvertedWhole) {
    // The array has no terminator; its last character is three bytes long.
    EXPECT_EQ(utf8BytesToAnsi(bytesOf("ab\xE4\xB8\xAD")), "ab\xD6\xD0");
    EXPECT_EQ(utf8BytesToAnsi(Bytes{'a', 0, 'b'}), "a");
    EXPECT_EQ(utf8BytesToAnsi(Bytes{}), "");
}

TEST(Codepage, Big5ToGbkKeepsTheCharacters) {
    // "寶貝" in Big5 is the same two traditional characters in GBK.
    EXPECT_EQ(big5ToGbk("\xC4\x5F\xA8\xA9"), "\x8C\x9A\xD8\x90");
    EXPECT_EQ(big5ToGbk("abc"), "abc");
}

TEST(Codepage, MapToSimplifiedKeepsSimplifiedAndAscii) {
    const std::string text = kGbkTitle + " ok 123";
    EXPECT_EQ(mapToSimplifiedChinese(text), text);
    EXPECT_EQ(mapToSimplifiedChinese(""), "");
}

TEST(Codepage, MapsTraditionalToSimplified) {
    std::string mapped = big5ToSimplifiedGbk("\xC4\x5F\xA8\xA9");
    ASSERT_EQ(mapped.size(), 4u);
    // Wine's LCMapString leaves the characters as they are; Windows maps them.
    if (mapped == "\x8C\x9A\xD8\x90") GTEST_SKIP() << "this platform has no traditional-to-simplified mapping";
    EXPECT_EQ(mapped, "\xB1\xA6\xB1\xB4");
}

}  // namespace
}  // namespace quorvane
