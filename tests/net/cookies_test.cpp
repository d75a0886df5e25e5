// Answer cookies in each request's own form, cookie lists and their merge.
#include "net/cookies.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

const std::string kHeaders =
    "HTTP/1.1 200 OK\r\n"
    "Set-Cookie: a=1; path=/\r\n"
    "Set-Cookie: b=; expires=Thu, 01 Jan 1970 00:00:00 GMT\r\n"
    "Set-Cookie: plain=2\r\n"
    "set-cookie: t=x=y==; domain=.taobao.com\r\n"
    "X-Note: Set-Cookie: fake=1\r\n"
    "Set-Cookie: novalue\r\n"
    "Content-Length: 0\r\n";

TEST(AnswerCookies, EachRequestFormKeepsCookiesWithoutAttributes) {
    EXPECT_EQ(cookiesJoined(kHeaders), "a=1; plain=2; t=x=y==");
    EXPECT_EQ(cookiesEachClosed(kHeaders), "a=1;b=;plain=2;t=x=y==;");
    EXPECT_EQ(cookieList(kHeaders), "a=1; b=; plain=2; t=x=y==;");
}

TEST(AnswerCookies, NoSetCookieGivesNothing) {
    EXPECT_EQ(cookiesJoined("HTTP/1.1 200 OK\r\n\r\n"), "");
    EXPECT_EQ(cookiesEachClosed(""), "");
    EXPECT_EQ(cookieList(""), "");
}

struct StoreCase {
    std::string line;
    bool found;
    std::string name, data;
};

TEST(StoreCookie, KeepsTheAttributesForTheStore) {
    const StoreCase cases[] = {
        {"Set-Cookie: a=1; path=/; domain=.taobao.com", true, "a", "1; path=/; domain=.taobao.com"},
        {"Set-Cookie: plain=2", true, "plain", "2"},
        {"Set-Cookie:t=x=y", true, "t", "x=y"},
        {"Set-Cookie: novalue", false, "", ""},
        {"Set-Cookie: =1", false, "", ""},
        {"Location: http://a/?Set-Cookie: a=1", false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto cookie = storeCookieOfSetCookieLine(c.line);
        ASSERT_EQ(cookie.has_value(), c.found);
        if (!cookie) continue;
        EXPECT_EQ(cookie->name, c.name);
        EXPECT_EQ(cookie->data, c.data);
    }
}

TEST(CookieItems, SplitsAtTheFirstEqualsAndDropsBlanksBeforeNames) {
    const auto items = cookieItems(" a=1; t=x=y;; flag ;b=; c = 3");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].name, "a");
    EXPECT_EQ(items[0].value, "1");
    EXPECT_EQ(items[1].name, "t");
    EXPECT_EQ(items[1].value, "x=y");
    EXPECT_EQ(items[2].name, "b");
    EXPECT_EQ(items[2].value, "");
    EXPECT_EQ(items[3].name, "c");
    EXPECT_EQ(items[3].value, "3");
}

TEST(CookieValue, MatchesWholeNamesOnly) {
    const std::string list = "uid=7; cid=x; id=42; t=a=b";
    EXPECT_EQ(cookieValue(list, "id"), "42");
    EXPECT_EQ(cookieValue(list, "uid"), "7");
    EXPECT_EQ(cookieValue(list, "t"), "a=b");
    EXPECT_EQ(cookieValue(list, "x"), "");
}

struct MergeCase {
    std::string a, b;
    std::string merged, bAfter;
};

TEST(MergeCookies, ReplacesByNameAndDropsEmptiedItems) {
    const MergeCase cases[] = {
        {"", "", "", ""},
        {"a=1", "", "a=1;", ""},
        {"", "a=1", "a=1;", "a=1;"},
        {"a=1; b=2", "b=3", "a=1; b=3;", "b=3;"},
        {"a=1;b=2;", " c=4 ", "a=1; b=2; c=4;", "c=4;"},
        // A name inside another name or inside a value is not that cookie.
        {"uid=7; x=id", "id=9", "uid=7; x=id; id=9;", "id=9;"},
        {"cookie2=abc; t=1", "t=2", "cookie2=abc; t=2;", "t=2;"},
        // A piece without "=" is no cookie, but it stays in the list.
        {"flag; a=1", "a=2", "flag; a=2;", "a=2;"},
        // Values keep every "=" after the first.
        {"tk=a=b; n=1", "tk=c==", "tk=c==; n=1;", "tk=c==;"},
        // An emptied value deletes the cookie; empty pieces leave no item.
        {"a=1; b=2", "b=", "a=1;", "b=;"},
        {"a=1;; ;b=2", "", "a=1; b=2;", ""},
        // Blanks before names are not part of the name.
        {"a=1;  b=2", " b=5", "a=1; b=5;", "b=5;"},
        // The same name twice in a takes the new value twice.
        {"a=1; a=2", "a=3", "a=3; a=3;", "a=3;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " | " + c.b);
        std::string a = c.a, b = c.b;
        EXPECT_EQ(mergeCookies(a, b), c.merged);
        EXPECT_EQ(a, c.merged);
        EXPECT_EQ(b, c.bAfter);
    }
}

}  // namespace
}  // namespace quorvane
