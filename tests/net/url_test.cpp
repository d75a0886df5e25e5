// Splitting addresses into host, path and port, for plain HTTP and for
// addresses that may be https.
#include "net/url.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

struct PlainCase {
    std::string address;
    std::string host, hostWithPort, path;
    int port;
};

TEST(PlainUrl, SplitsHostPathAndPort) {
    const PlainCase cases[] = {
        {"http://Item.Taobao.com/item.htm?id=1", "item.taobao.com", "item.taobao.com", "/item.htm?id=1", 80},
        {"http://127.0.0.1:8080/a/b?c=d", "127.0.0.1", "127.0.0.1:8080", "/a/b?c=d", 8080},
        {"http://example.com", "example.com", "example.com", "/", 80},
        {"http://example.com:81", "example.com", "example.com:81", "/", 81},
        {"example.com/x", "example.com", "example.com", "/x", 80},         // no scheme: from the first byte
        {"https://secure.com/x", "https", "https:", "/x", 0},  // plain HTTP only
        {"http://h:abc/", "h", "h:abc", "/", 0},                             // a port that is no number
        {"http://h:80.6/", "h", "h:80.6", "/", 81},                          // rounded
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(hostOfUrl(c.address), c.host);
        EXPECT_EQ(hostOfUrl(c.address, true), c.hostWithPort);
        EXPECT_EQ(pathOfUrl(c.address), c.path);
        EXPECT_EQ(portOfUrl(c.address), c.port);
    }
}

TEST(PlainUrl, LowerCasesOnlyAsciiLetters) {
    // 81 41 is one GBK character whose trail byte reads as "A".
    const std::string gbkWithCapitalTrail = "\x81\x41";
    EXPECT_EQ(hostOfUrl("http://A" + gbkWithCapitalTrail + ".CN/"), "a" + gbkWithCapitalTrail + ".cn");
}

struct HttpsCase {
    std::string address;
    bool https;
    std::string host, path;
    int port;
};

TEST(HttpsUrl, SplitsAndKeepsTheGivenPort) {
    const HttpsCase cases[] = {
        {"https://Shop.Taobao.com/search.htm?q=1", true, "shop.taobao.com", "/search.htm?q=1", 443},
        // The page request puts "http://" before a capital scheme; alone it names no host.
        {"HTTPS://shop.taobao.com/", false, "https", "//shop.taobao.com/", 0},
        {"https://127.0.0.1:8443/a", true, "127.0.0.1", "/a", 8443},  // an explicit https port counts
        {"http://127.0.0.1:8080/a", false, "127.0.0.1", "/a", 8080},
        {"http://host.com", false, "host.com", "/", 80},
        {"http://HOST.com:81/", false, "host.com", "/", 81},
        {"http://t/x", false, "t", "/x", 80},
        {"host.com:82/x", false, "host.com", "/x", 82},
        // "https://" inside the query does not make the request secure.
        {"http://a.com/go?to=https://b.com/", false, "a.com", "/go?to=https://b.com/", 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(isHttpsUrl(c.address), c.https);
        EXPECT_EQ(stripHttpsScheme(c.address), c.host);
        EXPECT_EQ(pathOfHttpsUrl(c.address), c.path);
        EXPECT_EQ(portOfUrlOrDefault(c.address), c.port);
    }
}

struct DomainCase {
    std::string address;
    bool lastTwo, keepPort;
    std::string domain;
};

TEST(DomainOfUrl, CutsTheCookieDomain) {
    const DomainCase cases[] = {
        {"http://Item.Taobao.com/item.htm", false, false, "item.taobao.com"},
        {"http://item.taobao.com/item.htm", true, false, "taobao.com"},
        {"https://a.b.tmall.com:8443/x", true, false, "tmall.com"},
        {"https://a.b.tmall.com:8443/x", false, true, "a.b.tmall.com:8443"},
        {"http://localhost:8080/", true, false, "localhost"},  // one label stays whole
        {"taobao.com", true, false, "taobao.com"},
        {"", true, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(domainOfUrl(c.address, c.lastTwo, c.keepPort), c.domain);
    }
}

}  // namespace
}  // namespace quorvane
