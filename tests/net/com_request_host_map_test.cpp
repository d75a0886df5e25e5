// Both COM requests follow QUORVANE_HOST_MAP: the program sets it before
// anything reads it, pointing two marketplace hosts at a loopback server.
#include "net/browser_cookies.h"
#include "net/com_request.h"

#include "tests/support/loopback_server.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

namespace quorvane {
namespace {

using test::Answer;
using test::LoopbackServer;

LoopbackServer* server = nullptr;

class MappedServer : public ::testing::Environment {
public:
    void SetUp() override {
        server_ = std::make_unique<LoopbackServer>();
        server = server_.get();
        const std::string target = "127.0.0.1:" + std::to_string(server->port());
        SetEnvironmentVariableA("QUORVANE_HOST_MAP",
                                ("item.taobao.com=" + target + ",*.tmall.com=" + target).c_str());
    }
    void TearDown() override {
        server = nullptr;
        server_.reset();
    }

private:
    std::unique_ptr<LoopbackServer> server_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new MappedServer);

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

int hostLineCount(const test::RecordedRequest& sent) {
    int count = 0;
    for (const std::string& line : sent.headerLines) count += line.starts_with("Host:") ? 1 : 0;
    return count;
}

struct MappedCase {
    std::string address, target, hostLine;
};

const MappedCase kCases[] = {
    {"http://item.taobao.com/item.htm?id=1", "/item.htm?id=1", "item.taobao.com"},
    {"https://detail.tmall.com/item.htm?id=2", "/item.htm?id=2", "detail.tmall.com"},
    {"http://item.taobao.com:8080/item.htm", "/item.htm", "item.taobao.com:8080"},
};

TEST(ComRequestHostMap, TheComRequestGoesToTheMappedPlaceWithTheOriginalHost) {
    Answer answer;
    answer.body = "mapped";
    server->script("/item.htm", answer);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.address);
        std::string address = c.address;
        ComRequest request;
        request.address = &address;
        EXPECT_EQ(comHttpRequest(request), bytesOf("mapped"));
        const auto sent = server->lastRequest("/item.htm");
        EXPECT_EQ(sent.target, c.target);
        EXPECT_EQ(sent.header("Host"), c.hostLine);
        EXPECT_EQ(hostLineCount(sent), 1);
        EXPECT_EQ(sent.header("Referer"), c.address);
    }
}

TEST(ComRequestHostMap, TheRequestWithBrowserCookiesDoesTooAndKeepsTheStoreOfTheOriginalDomain) {
    Answer answer;
    answer.body = "mapped";
    answer.headerLines = {"Set-Cookie: mapped_tok=t1; path=/"};
    server->script("/item.htm", answer);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.address);
        std::string address = c.address;
        BrowserCookieRequest request;
        request.address = &address;
        EXPECT_EQ(comRequestWithBrowserCookies(request), bytesOf("mapped"));
        const auto sent = server->lastRequest("/item.htm");
        EXPECT_EQ(sent.target, c.target);
        EXPECT_EQ(sent.header("Host"), c.hostLine);
        EXPECT_EQ(hostLineCount(sent), 1);
    }
    EXPECT_EQ(readBrowserCookies("taobao.com", "mapped_tok"), "t1");
    EXPECT_EQ(readBrowserCookies("tmall.com", "mapped_tok"), "t1");
}

TEST(ComRequestHostMap, HostsOutsideTheMapAreLeftAlone) {
    Answer answer;
    answer.body = "direct";
    server->script("/direct", answer);
    std::string address = server->url("/direct");
    ComRequest request;
    request.address = &address;
    EXPECT_EQ(comHttpRequest(request), bytesOf("direct"));
    EXPECT_EQ(server->lastRequest("/direct").header("Host"), "127.0.0.1:" + std::to_string(server->port()));
}

}  // namespace
}  // namespace quorvane
