// The menu 功能菜单 switches the main window's view: the header text and
// banner, the address label, the page of 高级选择夹1 and, when the mode
// changes, the address box's hint. 按钮3 opens the login browser window.
#include "tests/app/main_window_modes.h"
#include "tests/support/loopback_server.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quorvane::test {
namespace {

class Navigation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(app.main(), nullptr); }

    // The page of 高级选择夹1 that shows, told by one control of each page;
    // -1 unless exactly one of them shows.
    int shownPage() const {
        const bool shown[] = {isShown(app["编辑框1"]), isShown(app["按钮4"]), isShown(app["工具条3"])};
        int page = -1;
        for (int p = 0; p < 3; ++p) {
            if (!shown[p]) continue;
            if (page >= 0) return -1;
            page = p;
        }
        return page;
    }

    // The banner's colour stripe at its left edge, as the screen shows it.
    COLORREF bannerStripe() const {
        POINT at{2, 19};
        ClientToScreen(app["画板8"], &at);
        HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, at.x, at.y);
        ReleaseDC(nullptr, screen);
        return colour;
    }

    ProgramInFolder app{"导航"};
};

TEST_F(Navigation, StartsInTheSingleItemView) {
    EXPECT_EQ(textOf(app["透明标签14"]), kSingleHeader);
    EXPECT_EQ(textOf(app["透明标签1"]), "商品地址：");
    EXPECT_EQ(shownPage(), 0);
    EXPECT_EQ(textOf(app["编辑框1"]), kSingleHint);
}

TEST_F(Navigation, EachMenuItemShowsItsView) {
    struct Row {
        const char* why;
        const char* typed;  // into the address box before choosing; nullptr: nothing
        View chosen;
        const char* addressLabel;
        int page;
        std::string_view box;
    };
    // A row whose view looks as before is checked by the next one, which
    // the program handles after it: such rows are followed by settings or
    // help, which leave the box alone.
    const std::vector<Row> rows = {
        {"single at start-up: the mode stays, so the typed text stays", "http://a", View::SingleItems, "宝贝地址：", 0,
         "http://a"},
        {"settings leave the label and the box", nullptr, View::Settings, "宝贝地址：", 1, "http://a"},
        {"help too, with an empty header", nullptr, View::Help, "宝贝地址：", 2, "http://a"},
        {"single again: settings and help did not change the mode", nullptr, View::SingleItems, "宝贝地址：", 0,
         "http://a"},
        {"list: a new mode puts its hint in the box", nullptr, View::List, "列表地址：", 0, kListHint},
        {"list twice keeps what was typed", "http://b", View::List, "列表地址：", 0, "http://b"},
        {"settings after list", nullptr, View::Settings, "列表地址：", 1, "http://b"},
        {"shop", "http://c", View::Shop, "店铺地址：", 0, kShopHint},
        {"help after shop", nullptr, View::Help, "店铺地址：", 2, kShopHint},
        {"list from shop, through help", nullptr, View::List, "列表地址：", 0, kListHint},
        {"single from list: no addresses pasted, so the single hint", "http://d", View::SingleItems, "宝贝地址：", 0,
         kSingleHint},
    };
    // Each view's banner differs from the others' and is the same each time.
    // Until the window is painted the screen shows black there, and a panel
    // being painted shows its background first.
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    auto painted = [&](COLORREF seen) { return seen != CLR_INVALID && seen != RGB(0, 0, 0) && seen != background; };
    ASSERT_TRUE(ProgramInFolder::waitFor([&] { return painted(bannerStripe()); }));
    std::map<View, COLORREF> banners{{View::SingleItems, bannerStripe()}};
    auto bannerFits = [&](View view, COLORREF seen) {
        if (!painted(seen)) return false;
        for (const auto& [other, colour] : banners)
            if ((other == view) != (colour == seen)) return false;
        return true;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.typed) setText(app["编辑框1"], row.typed);
        chooseView(app.main(), row.chosen);
        const std::string_view header = headerOf(row.chosen);
        const bool shown = ProgramInFolder::waitFor([&] {
            return textOf(app["透明标签14"]) == header && textOf(app["透明标签1"]) == row.addressLabel &&
                   shownPage() == row.page && textOf(app["编辑框1"]) == row.box &&
                   bannerFits(row.chosen, bannerStripe());
        });
        EXPECT_TRUE(shown) << "header \"" << textOf(app["透明标签14"]) << "\", label \"" << textOf(app["透明标签1"])
                           << "\", page " << shownPage() << ", box \"" << textOf(app["编辑框1"]) << "\", banner "
                           << std::hex << bannerStripe();
        banners.emplace(row.chosen, bannerStripe());
    }
    EXPECT_EQ(banners.size(), 5u);
}

// The login page goes to a server of the test through the host map.
TEST(LoginWindow, LoginButtonOpensTheBrowserWindowModallyOnTheLoginPage) {
    LoopbackServer server;
    server.script("/", okAnswer("<html><body>login</body></html>", {"Content-Type: text/html"}));
    const std::string map = "login.taobao.com=127.0.0.1:" + std::to_string(server.port());
    ASSERT_TRUE(SetEnvironmentVariableA("QUORVANE_HOST_MAP", map.c_str()));
    ProgramInFolder app{"登陆窗口"};
    ASSERT_NE(app.main(), nullptr);

    const char* title = "浏览器（在不能列出宝贝或属性不完整的情况下，登陆一下淘宝即可解决）";
    pressButton(app["按钮3"]);
    HWND browser = app.program().waitForWindow(title);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(GetWindow(browser, GW_OWNER), app.main());
    EXPECT_TRUE(ProgramInFolder::waitFor([&] { return !isEnabled(app.main()); }));
    ASSERT_TRUE(server.waitForRequests(1, std::chrono::seconds(10)));
    EXPECT_EQ(server.requests().front().requestLine, "GET / HTTP/1.1");
    EXPECT_EQ(server.requests().front().header("Host"), "127.0.0.1:" + std::to_string(server.port()));

    PostMessageW(browser, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.program().waitForWindowGone(title));
    EXPECT_TRUE(ProgramInFolder::waitFor([&] { return isEnabled(app.main()); }));
}

}  // namespace
}  // namespace quorvane::test
