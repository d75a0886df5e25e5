// The system cookie store as the request with browser cookies reads and
// writes it. Each test uses a host of its own: the store lasts the process.
#include "net/browser_cookies.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(BrowserCookies, WrittenItemsComeBackWholeAndByExactName) {
    writeBrowserCookies("shop.one.test", "a=1; t=x=y==; gone=; sid=s1; flag");
    const std::string stored = readBrowserCookies("http://shop.one.test/item.htm?id=2");
    EXPECT_NE(stored.find("a=1"), std::string::npos) << stored;
    EXPECT_NE(stored.find("t=x=y=="), std::string::npos) << stored;
    EXPECT_EQ(stored.find("gone"), std::string::npos) << stored;
    EXPECT_EQ(stored.find("flag"), std::string::npos) << stored;
    EXPECT_EQ(stored.find(" ;"), std::string::npos) << stored;

    struct Case {
        std::string name, value;
    } cases[] = {{"a", "1"}, {"t", "x=y=="}, {"sid", "s1"}, {"id", ""}, {"gone", ""}, {"nothing", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readBrowserCookies("shop.one.test", c.name), c.value);
    }
}

TEST(BrowserCookies, NamesLoseTheBlankAfterTheSemicolon) {
    writeBrowserCookies("http://shop.two.test/", "x=1; y=2;  z=3");
    EXPECT_EQ(readBrowserCookies("shop.two.test", "y"), "2");
    EXPECT_EQ(readBrowserCookies("shop.two.test", "z"), "3");
}

TEST(BrowserCookies, ALaterItemOfTheSameNameReplacesTheStoredOne) {
    writeBrowserCookies("shop.three.test", "sid=1");
    writeBrowserCookies("shop.three.test", "sid=2");
    EXPECT_EQ(readBrowserCookies("shop.three.test"), "sid=2");
}

TEST(BrowserCookies, AnHttpsAddressWritesForItsHostOverHttps) {
    writeBrowserCookies("https://secure.four.test/login", "s=1");
    char buffer[256] = {};
    DWORD length = sizeof buffer;
    ASSERT_TRUE(InternetGetCookieA("https://secure.four.test/", nullptr, buffer, &length));
    EXPECT_STREQ(buffer, "s=1");
}

TEST(BrowserCookies, AStoreWithNothingOrTooMuchGivesNothing) {
    EXPECT_EQ(readBrowserCookies("nobody.five.test"), "");
    std::string many;
    for (int i = 0; i < 10; ++i) many += "big" + std::to_string(i) + "=" + std::string(900, 'v') + "; ";
    writeBrowserCookies("crowded.five.test", many);
    EXPECT_EQ(readBrowserCookies("crowded.five.test"), "");
    EXPECT_EQ(readBrowserCookies("crowded.five.test", "big1"), "");
}

}  // namespace
}  // namespace quorvane
