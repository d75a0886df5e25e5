// The default header lines of each request and the caller's lines they join.
#include "net/request_lines.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

const std::string kAddress = "http://item.taobao.com/item.htm?id=1";
const std::string kAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
const std::string kPageAccept =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
const std::string kReferer = "Referer: " + kAddress + "\r\n";
const std::string kLanguage = "Accept-Language: zh-cn\r\n";

struct LinesCase {
    std::string lines, expected;
};

TEST(DefaultRequestLines, AddsWhatTheCallerLacks) {
    const LinesCase cases[] = {
        {"", kAccept + kReferer + kLanguage},
        {"X-A: 1\r\n", "X-A: 1\r\n" + kAccept + kReferer + kLanguage},
        {"accept: */*\r\n", "accept: */*\r\n" + kReferer + kLanguage},
        {"REFERER: http://x/\r\n", "REFERER: http://x/\r\n" + kAccept + kLanguage},
        // Accept-Language holds no "Accept: ", so Accept is still added.
        {"Accept-Language: en\r\n", "Accept-Language: en\r\n" + kAccept + kReferer},
        // A caller's last line without CRLF is closed, not continued.
        {"Pragma: no-cache", "Pragma: no-cache\r\n" + kAccept + kReferer + kLanguage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(withDefaultRequestLines(c.lines, kAddress), c.expected);
    }
}

TEST(DefaultPageLines, AddsWhatTheCallerLacks) {
    const LinesCase cases[] = {
        {"", kPageAccept + kReferer + kLanguage},
        // Any Accept… key counts as Accept.
        {"Accept-Language: en\r\n", "Accept-Language: en\r\n" + kReferer},
        {"Accept-Encoding: gzip\r\n", "Accept-Encoding: gzip\r\n" + kReferer + kLanguage},
        {"RefererNo\r\nX-A: 1\r\n", "\r\nX-A: 1\r\n" + kPageAccept + kLanguage},
        {"X-A: 1\r\nRefererNo", "X-A: 1\r\n\r\n" + kPageAccept + kLanguage},
        // The stock request's own lines end without CRLF.
        {"Accept: */*\r\nReferer: https://item.taobao.com/item.htm?id=1\r\nUser-Agent: Mozilla/4.0\r\n"
         "Host: detailskip.taobao.com\r\nPragma: no-cache",
         "Accept: */*\r\nReferer: https://item.taobao.com/item.htm?id=1\r\nUser-Agent: Mozilla/4.0\r\n"
         "Host: detailskip.taobao.com\r\nPragma: no-cache\r\n" + kLanguage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(withDefaultPageLines(c.lines, kAddress), c.expected);
    }
}

TEST(PageUserAgent, TakesTheCallersLineOrTheOwnAgent) {
    const LinesCase cases[] = {
        {"User-Agent: Mozilla/4.0\r\nHost: a\r\n", "Mozilla/4.0"},
        {"user-agent:  Custom 1.0 ", "Custom 1.0"},
        {"Host: a\r\n",
         "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
         ".NET CLR 3.5.21022)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(userAgentOfPageLines(c.lines), c.expected);
    }
}

TEST(BrowserHeaderBlock, EndsWithoutCrlfAndSplitsIntoPairs) {
    const std::string block = defaultBrowserHeaderBlock(kAddress);
    EXPECT_EQ(block.substr(0, 9 + kAddress.size() + 2), "Referer: " + kAddress + "\r\n");
    EXPECT_FALSE(block.ends_with("\r\n"));
    const auto pairs = headerPairs(block);
    ASSERT_EQ(pairs.size(), 5u);
    EXPECT_EQ(pairs[0].first, "Referer");
    EXPECT_EQ(pairs[0].second, " " + kAddress);  // value after the first ":" only
    EXPECT_EQ(pairs[1].second, " zh-cn");
    EXPECT_EQ(pairs[2].second, " Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1)");
    EXPECT_EQ(pairs[4].first, "Content-Type");
    EXPECT_EQ(pairs[4].second, " application/x-www-form-urlencoded");
}

TEST(HeaderPairs, SkipsLinesWithoutColon) {
    const auto pairs = headerPairs("X-A:1\r\nnothing\r\n\r\nX-B: a:b");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0], std::make_pair(std::string("X-A"), std::string("1")));
    EXPECT_EQ(pairs[1], std::make_pair(std::string("X-B"), std::string(" a:b")));
}

}  // namespace
}  // namespace quorvane
