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

// What a request sends from the store is what the narrow call gives, however
// much the store holds (past the first read's buffer too) and in GBK.
TEST(BrowserCookies, ARequestGetsTheStoresCookiesWhole) {
    std::string many;
    for (int i = 0; i < 12; ++i) many += "big" + std::to_string(i) + "=" + std::string(900, 'v') + "; ";
    struct Case {
        const char* why;
        const char* host;
        std::string cookies;
    } cases[] = {
        {"nothing stored", "empty.six.test", ""},
        {"a few", "few.six.test", "a=1; b=2"},
        {"more than a first read takes", "many.six.test", many},
        {"a value in GBK", "gbk.six.test", "name=中文"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::string address = std::string("http://") + c.host + "/a/b/item.htm?id=1";
        writeBrowserCookies(c.host, c.cookies);
        std::string expected(64 * 1024, '\0');
        DWORD length = static_cast<DWORD>(expected.size());
        if (!InternetGetCookieA(address.c_str(), nullptr, expected.data(), &length)) length = 0;
        expected.resize(expected.find('\0'));
        EXPECT_EQ(storeCookiesFor(address), expected);
        EXPECT_EQ(expected.empty(), c.cookies.empty());
    }
}

}  // namespace
}  // namespace quorvane
