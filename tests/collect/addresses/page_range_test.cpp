// The page range window's reading of its boxes and its two tests.
#include "collect/addresses/page_range.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvane {
namespace {

TEST(PageRange, BoxesReadTheirLeadingNumber) {
    struct Case {
        const char* text;
        int number;
    };
    const Case cases[] = {
        {"12", 12},
        {"  7", 7},  // leading blanks are skipped
        {"3页", 3},  // the rest after the digits is ignored
        {"-4", -4},  // a sign is taken, so a negative page is refused later
        {"+5", 5},
        {"", 0},                   // nothing typed
        {"abc", 0},                // no leading digits
        {"１２", 0},               // full-width digits are not digits
        {"99999999999", INT_MAX},  // saturates instead of wrapping round
        {"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(pageNumberOf(c.text), c.number);
    }
}

TEST(PageRange, OnlyAReadingPast35PagesAsksARange) {
    struct Case {
        const char* reason;
        int pages;
        bool asks;
    };
    const Case cases[] = {
        {"exactly 35 pages are read at once", 35, false},
        {"36 pages ask", 36, true},
        {"one page", 1, false},
    };
    for (const Case& c : cases) EXPECT_EQ(asksPageRange(c.pages), c.asks) << c.reason;
}

TEST(PageRange, TheRangeAndSpanTests) {
    const std::string badPage = "起始页或结束页输入有误！请修改！";
    const std::string badSpan = "超始页大于结束页或间隔大于35页！请修改！";
    struct Case {
        const char* reason;
        int from;
        int to;
        int lastPage;
        std::string message;
    };
    const Case cases[] = {
        {"1 to 36 is the widest range", 1, 36, 40, ""},
        {"1 to 37 spans too many pages", 1, 37, 40, badSpan},
        {"a range inside", 5, 20, 40, ""},
        {"to may be the last page", 10, 40, 40, ""},
        {"from may not be the last page", 40, 40, 40, badPage},
        {"to past the last page", 5, 41, 40, badPage},
        {"from below 1", 0, 10, 40, badPage},
        {"to below 1", 5, 0, 40, badPage},
        {"from after to", 20, 10, 40, badSpan},
        {"one page", 7, 7, 40, ""},
        {"saturated numbers are refused, not wrapped", INT_MIN, INT_MAX, 40, badPage},
        {"a huge last page keeps the span rule", 1, INT_MAX, INT_MAX, badSpan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(pageRangeRefusal(c.from, c.to, c.lastPage), c.message);
    }
}

}  // namespace
}  // namespace quorvane
