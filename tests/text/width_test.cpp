#include "text/width.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(TextWidth, FullWidthFormHasTwoBytesForEveryCharacter) {
    std::string ascii;
    for (char c = ' '; c <= '~'; ++c) ascii += c;
    const std::string full = fullWidthText(ascii);
    EXPECT_EQ(full.size(), 2 * ascii.size());
    EXPECT_EQ(halfWidthText(full), ascii);
}

TEST(TextWidth, ConvertsOnlyTheAsciiRange) {
    const struct {
        const char* text;
        const char* full;
        const char* half;
    } cases[] = {
        {"AB 12", "ＡＢ　１２", "AB 12"},
        {"黑色L", "黑色Ｌ", "黑色L"},
        {"ＸＬ码", "ＸＬ码", "XL码"},  // already full width
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fullWidthText(c.text), c.full);
        EXPECT_EQ(halfWidthText(c.text), c.half);
    }
}

}  // namespace
}  // namespace quorvane
