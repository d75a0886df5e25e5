// Parsing QUORVANE_HOST_MAP and routing requests by it.
#include "net/host_map.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(ParseHostMap, ReadsPairsAndSkipsMalformedOnes) {
    const HostMap map = parseHostMap(
        " Item.Taobao.com = 127.0.0.1:8080 ,*.tmall.com=localhost:9000,"
        "nohost,=127.0.0.1:1,a.com=127.0.0.1,b.com=127.0.0.1:0,c.com=127.0.0.1:70000,d.com=h:x,*.=h:1,,"
        "gw.api.taobao.com=127.0.0.1:8081");
    ASSERT_EQ(map.size(), 3u);
    EXPECT_EQ(map[0].from, "item.taobao.com");
    EXPECT_EQ(map[0].toHost, "127.0.0.1");
    EXPECT_EQ(map[0].toPort, 8080);
    EXPECT_EQ(map[1].from, "*.tmall.com");
    EXPECT_EQ(map[1].toHost, "localhost");
    EXPECT_EQ(map[1].toPort, 9000);
    EXPECT_EQ(map[2].from, "gw.api.taobao.com");
    EXPECT_EQ(map[2].toPort, 8081);
}

TEST(ParseHostMap, EmptyTextMapsNothing) {
    EXPECT_TRUE(parseHostMap("").empty());
    EXPECT_TRUE(parseHostMap(" , ").empty());
}

struct RouteCase {
    bool secure;
    std::string host;
    int port;
    bool mapped;
    bool secureAfter;
    std::string toHost;
    int toPort;
    std::string hostLine;
};

TEST(RouteRequest, SendsMatchingHostsToTheirTargetOverPlainHttp) {
    const HostMap map = parseHostMap("item.taobao.com=127.0.0.1:8080,*.tmall.com=127.0.0.1:9000");
    const RouteCase cases[] = {
        {false, "item.taobao.com", 80, true, false, "127.0.0.1", 8080, "item.taobao.com"},
        {false, "ITEM.taobao.com", 80, true, false, "127.0.0.1", 8080, "ITEM.taobao.com"},
        {true, "detail.tmall.com", 443, true, false, "127.0.0.1", 9000, "detail.tmall.com"},
        {true, "a.b.tmall.com", 8443, true, false, "127.0.0.1", 9000, "a.b.tmall.com:8443"},
        {false, "item.taobao.com", 81, true, false, "127.0.0.1", 8080, "item.taobao.com:81"},
        // "*.tmall.com" is every host under the domain, not the domain itself.
        {true, "tmall.com", 443, false, true, "tmall.com", 443, ""},
        {false, "eviltmall.com", 80, false, false, "eviltmall.com", 80, ""},
        {false, "detail.tmall.com.invalid", 80, false, false, "detail.tmall.com.invalid", 80, ""},
        {false, "s.taobao.com", 80, false, false, "s.taobao.com", 80, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        const RequestTarget target = routeRequest(map, c.secure, c.host, c.port);
        EXPECT_EQ(target.mapped, c.mapped);
        EXPECT_EQ(target.secure, c.secureAfter);
        EXPECT_EQ(target.host, c.toHost);
        EXPECT_EQ(target.port, c.toPort);
        EXPECT_EQ(target.hostLine, c.hostLine);
    }
}

TEST(RouteRequest, FirstMatchingPairWins) {
    const HostMap map = parseHostMap("*.taobao.com=127.0.0.1:1,item.taobao.com=127.0.0.1:2");
    EXPECT_EQ(routeRequest(map, false, "item.taobao.com", 80).port, 1);
}

TEST(RouteRequest, AnEmptyMapChangesNothing) {
    const RequestTarget target = routeRequest(HostMap{}, true, "item.taobao.com", 443);
    EXPECT_FALSE(target.mapped);
    EXPECT_TRUE(target.secure);
    EXPECT_EQ(target.host, "item.taobao.com");
    EXPECT_EQ(target.port, 443);
}

// What the login window and the start and help pages open.
TEST(RoutedBrowserAddress, MappedHostsBecomePlainHttpToTheirTargetWithThePathKept) {
    const HostMap map = parseHostMap("*.quorvane.net=127.0.0.1:8080,login.taobao.com=localhost:9");
    const struct {
        const char* address;
        const char* expected;
    } cases[] = {
        {"http://www.quorvane.net/start.htm", "http://127.0.0.1:8080/start.htm"},
        {"http://help.quorvane.net:81/a/help.htm?x=1", "http://127.0.0.1:8080/a/help.htm?x=1"},
        {"https://login.taobao.com/", "http://localhost:9/"},
        {"https://login.taobao.com", "http://localhost:9/"},
        {"http://www.example-mall.cn/start.htm", "http://www.example-mall.cn/start.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(routedBrowserAddress(map, c.address), c.expected);
    }
}

}  // namespace
}  // namespace quorvane
