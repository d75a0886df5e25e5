// The host map is read once per process, so this program sets it before any
// request is made and keeps it for all of its tests.
#include "net/page_request.h"
#include "net/timed_request.h"

#include "tests/support/loopback_server.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using test::Answer;
using test::bodyText;
using test::LoopbackServer;
using test::okAnswer;

LoopbackServer& marketplace() {
    static LoopbackServer server;
    return server;
}

const bool mapSet = [] {
    const std::string to = "127.0.0.1:" + std::to_string(marketplace().port());
    const std::string map = "item.taobao.com=" + to + ", *.quorvane.net=" + to;
    return SetEnvironmentVariableA("QUORVANE_HOST_MAP", map.c_str()) != 0;
}();

TEST(WininetHostMapTest, MappedHostsGoToTheLoopbackWithTheirOwnHostLine) {
    ASSERT_TRUE(mapSet);
    LoopbackServer& server = marketplace();
    server.script("/item.htm", okAnswer("item page"));
    server.script("/item_get", okAnswer("item data"));
    server.script("/quorvane_api/down.php", okAnswer("file", {"Set-Cookie: mapped=1"}));

    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = "http://item.taobao.com/item.htm?id=5"})), "item page");
    EXPECT_EQ(server.lastRequest("/item.htm").requestLine, "GET /item.htm?id=5 HTTP/1.1");
    EXPECT_EQ(server.lastRequest("/item.htm").header("Host"), "item.taobao.com");

    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = "http://items.quorvane.net:8080/item_get", .method = "POST",
                                           .body = "id=5"})),
              "item data");
    EXPECT_EQ(server.lastRequest("/item_get").header("Host"), "items.quorvane.net:8080");
    EXPECT_EQ(server.lastRequest("/item_get").body, "id=5");

    // An https address of a mapped host is served over plain HTTP.
    std::string address = "https://files.quorvane.net/quorvane_api/down.php?un=a";
    EXPECT_EQ(bodyText(fetchWebPage({.address = &address})), "file");
    EXPECT_EQ(server.lastRequest("/quorvane_api/down.php").header("Host"), "files.quorvane.net");

    // The store keeps the cookie under the host the request was meant for.
    char buffer[1024] = {};
    DWORD length = sizeof buffer;
    ASSERT_TRUE(InternetGetCookieA("http://files.quorvane.net/", nullptr, buffer, &length));
    EXPECT_NE(std::string(buffer).find("mapped=1"), std::string::npos);
}

TEST(WininetHostMapTest, UnmappedHostsAreLeftAlone) {
    LoopbackServer other;
    other.script("/direct", okAnswer("direct"));
    EXPECT_EQ(bodyText(httpRequestWithTimeout({.address = other.url("/direct")})), "direct");
    EXPECT_EQ(other.lastRequest("/direct").header("Host"), "127.0.0.1:" + std::to_string(other.port()));
}

}  // namespace
}  // namespace quorvane
