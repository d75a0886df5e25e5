// The icon toolbar on a window of its own, read back from its off-screen
// picture: layout, looks, clicks, the selection rule and its resources.
#include "gdiplus_fixture.h"
#include "toolkit/gdiplus/image.h"
#include "toolkit/icon_toolbar.h"

#include <commctrl.h>

#include <vector>

namespace quorvane::toolkit {
namespace {

using gdiplus::kTestFamily;

constexpr COLORREF kBackground = 0x1847B3;
constexpr COLORREF kIconColour = 0x00C000;  // as COLORREF: green

std::vector<std::intptr_t> clicks;
void WINAPI recordClick(std::intptr_t item) { clicks.push_back(item); }

// A 128 x 128 PNG of one colour.
std::vector<unsigned char> iconBytes() {
    gdiplus::Bitmap bitmap;
    EXPECT_TRUE(bitmap.createFromScan0(128, 128));
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) bitmap.setPixel(x, y, gdiplus::colorrefToArgb(kIconColour));
    return bitmap.saveToBytes(gdiplus::guidToText(Gdiplus::ImageFormatPNG));
}

// Region by region: Wine's process memory counters stay 0.
long long committedPrivateBytes() {
    long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<long long>(region.RegionSize);
    }
    return total;
}

int brightness(COLORREF colour) { return GetRValue(colour) + GetGValue(colour) + GetBValue(colour); }

class IconToolbarTest : public gdiplus::GdiplusTest {
protected:
    static void SetUpTestSuite() {
        GdiplusTest::SetUpTestSuite();
        icon = iconBytes();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuorvaneToolbarTest";
        RegisterClassW(&windowClass);
    }

    void SetUp() override {
        clicks.clear();
        parent = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"QuorvaneToolbarTest", L"bar", WS_POPUP, 0, 0,
                                 896, 64, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        host = CreateWindowExW(0, L"QuorvaneToolbarTest", L"", WS_CHILD | WS_VISIBLE, 0, 0, 896, 64, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        ShowWindow(parent, SW_SHOWNOACTIVATE);
        toolbar.setCaptionFamily(std::string(kTestFamily));
    }
    void TearDown() override {
        if (IsWindow(parent)) DestroyWindow(parent);
    }

    // The navigation bar's set-up: six captioned items, a line after five.
    void attachNavigation(const ToolbarOptions& options) {
        ASSERT_TRUE(toolbar.attach(host, 65, 58, options));
        toolbar.setClickCallback(recordClick);
        const char* captions[] = {"单个采集", "列表采集", "店铺采集", "下载配置", "使用帮助", "退出系统"};
        for (const char* caption : captions) toolbar.addItem({.icon = icon, .caption = caption});
        toolbar.addSeparator(5);
        render();
    }
    void render() {
        toolbar.redraw();
        UpdateWindow(host);
        ASSERT_NE(toolbar.memoryDc(), nullptr);
    }
    COLORREF at(int x, int y) const { return GetPixel(toolbar.memoryDc(), x, y); }
    void mouse(UINT message, int x, int y = 20) { SendMessageW(host, message, 0, MAKELPARAM(x, y)); }

    static inline std::vector<unsigned char> icon;
    static constexpr ToolbarOptions kNavigation{
        .textColour = 0xFFFFFF, .backgroundColour = kBackground, .gradientEnabled = false, .selectionMode = true};
    HWND parent = nullptr;
    HWND host = nullptr;
    IconToolbar toolbar;
};

TEST_F(IconToolbarTest, ItemsSeparatorAndCaptionsAreLaidOutInTheBar) {
    attachNavigation(kNavigation);
    EXPECT_EQ(toolbar.itemCount(), 6);
    // Items start at 5, 75, 145, ...: gaps and unselected items show the background.
    for (int x : {2, 72, 142, 212, 282}) EXPECT_EQ(at(x, 30), kBackground) << x;
    EXPECT_EQ(at(80, 10), kBackground) << "item 2 beside its icon";
    // A captioned icon is 36 x 36 at (x + 14.5, 2.9).
    EXPECT_EQ(at(75 + 32, 20), kIconColour);
    EXPECT_EQ(at(75 + 12, 20), kBackground);
    EXPECT_EQ(at(75 + 32, 42), kBackground) << "below the icon";
    // The caption in (x, 40.9, 65, 22): white on the background.
    int caption = 0;
    for (int y = 41; y < 58; ++y)
        for (int x = 75; x < 140; ++x) caption += brightness(at(x, y)) > brightness(kBackground) + 150;
    EXPECT_GT(caption, 15);
    // The separator after item 5, from y 4 down.
    EXPECT_LT(brightness(at(352, 30)), brightness(kBackground) - 30);
    EXPECT_EQ(at(352, 2), kBackground);
    EXPECT_EQ(at(422, 30), kBackground) << "no line after item 6";
}

TEST_F(IconToolbarTest, SelectedHoverAndPressedLooks) {
    attachNavigation(kNavigation);
    EXPECT_EQ(toolbar.selectedIndex(), 1) << "selection mode selects the first item";
    EXPECT_TRUE(toolbar.isItemSelected(1));
    const int normalTop = brightness(at(145 + 5, 8)), normalBottom = brightness(at(145 + 5, 52));
    EXPECT_GT(brightness(at(5 + 5, 8)), normalTop + 40) << "selected: lighter at the top";

    mouse(WM_MOUSEMOVE, 150);
    EXPECT_EQ(toolbar.hoverIndex(), 3);
    EXPECT_GT(brightness(at(145 + 5, 8)), normalTop + 40) << "hover highlight";
    EXPECT_GT(brightness(at(145 + 32, 55)), brightness(kBackground) + 40) << "hover glow at the bottom";
    mouse(WM_MOUSEMOVE, 2);
    EXPECT_EQ(toolbar.hoverIndex(), 0);
    EXPECT_EQ(brightness(at(145 + 5, 8)), normalTop) << "back to normal";

    mouse(WM_MOUSEMOVE, 220);
    mouse(WM_LBUTTONDOWN, 220);
    EXPECT_GT(brightness(at(215 + 5, 52)), normalBottom + 40) << "pressed: lighter at the bottom";
    EXPECT_TRUE(clicks.empty()) << "the click takes effect on release";
}

TEST_F(IconToolbarTest, EdgesAndGapsHoverNoItem) {
    attachNavigation(kNavigation);
    struct Case {
        int x;
        int item;
    } cases[] = {{5, 0}, {6, 1}, {69, 1}, {70, 0}, {72, 0}, {75, 0}, {76, 2}, {419, 6}, {420, 0}, {800, 0}};
    for (const Case& c : cases) {
        mouse(WM_MOUSEMOVE, c.x, 200);  // the height plays no part
        EXPECT_EQ(toolbar.hoverIndex(), c.item) << c.x;
    }
}

TEST_F(IconToolbarTest, ClicksReachTheCallbackExceptOnTheSelectedItem) {
    attachNavigation(kNavigation);
    mouse(WM_LBUTTONUP, 30);
    EXPECT_TRUE(clicks.empty()) << "item 1 is already selected";
    mouse(WM_LBUTTONUP, 100);
    EXPECT_EQ(clicks, (std::vector<std::intptr_t>{2}));
    EXPECT_TRUE(toolbar.isItemSelected(2));
    EXPECT_FALSE(toolbar.isItemSelected(1));
    EXPECT_EQ(at(5 + 5, 8), kBackground) << "the old selection is repainted";
    mouse(WM_LBUTTONUP, 100);
    mouse(WM_LBUTTONUP, 72);   // a gap
    mouse(WM_LBUTTONUP, 600);  // past the items
    EXPECT_EQ(clicks, (std::vector<std::intptr_t>{2}));
    mouse(WM_LBUTTONUP, 400);
    mouse(WM_LBUTTONUP, 30);
    EXPECT_EQ(clicks, (std::vector<std::intptr_t>{2, 6, 1}));
    EXPECT_TRUE(toolbar.selectItem(3, true));
    EXPECT_EQ(clicks.back(), 3);
    EXPECT_FALSE(toolbar.selectItem(7, true));
}

TEST_F(IconToolbarTest, OutsideSelectionModeTogglingItemsFlip) {
    ASSERT_TRUE(toolbar.attach(host, 65, 58, {.backgroundColour = kBackground}));
    toolbar.setClickCallback(recordClick);
    toolbar.addItem({.icon = icon, .toggles = true});
    toolbar.addItem({.icon = icon, .caption = "帮助", .iconBeside = true});
    render();
    EXPECT_FALSE(toolbar.isItemSelected(1));
    mouse(WM_LBUTTONUP, 30);
    EXPECT_TRUE(toolbar.isItemSelected(1));
    mouse(WM_LBUTTONUP, 30);
    EXPECT_FALSE(toolbar.isItemSelected(1));
    mouse(WM_LBUTTONUP, 100);
    EXPECT_FALSE(toolbar.isItemSelected(2)) << "an item that does not toggle";
    EXPECT_EQ(clicks, (std::vector<std::intptr_t>{1, 1, 2}));
    EXPECT_FALSE(toolbar.selectItem(2, true));
    // Icon alone: 0.7 of the smaller side, centred; icon beside: 0.3 of the width at x + 3.
    EXPECT_EQ(at(5 + 32, 29), kIconColour);
    EXPECT_EQ(at(5 + 10, 29), at(2, 29)) << "the background beside the icon";
    EXPECT_EQ(at(75 + 4, 29), kIconColour);
    EXPECT_NE(at(75 + 30, 29), kIconColour);
}

TEST_F(IconToolbarTest, RepaintingAnItemLeavesItsNeighboursAlone) {
    for (int style : {0, 2, 3}) {
        SCOPED_TRACE(style);
        attachNavigation({.backgroundColour = kBackground, .gradientStyle = style});
        const COLORREF neighbour = at(75 + 5, 30), distant = at(285 + 5, 30);
        for (int i = 0; i < 5; ++i) {
            mouse(WM_MOUSEMOVE, 30);
            mouse(WM_MOUSEMOVE, 2);
        }
        EXPECT_EQ(at(75 + 5, 30), neighbour);
        EXPECT_EQ(at(285 + 5, 30), distant);
    }
}

TEST_F(IconToolbarTest, GradientStylesLightenTheBackground) {
    struct Case {
        int style;
        int x, y;  // where the overlay is strongest
        bool lighter;
    } cases[] = {{0, 2, 60, true}, {1, 2, 2, true}, {2, 2, 30, true}, {3, 2, 30, true}, {4, 2, 30, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        attachNavigation({.backgroundColour = kBackground, .gradientStyle = c.style});
        EXPECT_EQ(brightness(at(c.x, c.y)) > brightness(kBackground) + 10, c.lighter);
    }
}

TEST_F(IconToolbarTest, RedrawsKeepResourcesFlat) {
    attachNavigation(kNavigation);
    HGDIOBJ first = GetCurrentObject(toolbar.memoryDc(), OBJ_BITMAP);
    render();
    EXPECT_EQ(GetObjectType(first), 0u) << "the old picture's bitmap is deleted";
    const long long before = committedPrivateBytes();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 50; ++i) render();
    // A picture is 896 x 64 x 4 bytes: fifty kept would be over 11 MB.
    EXPECT_LT(committedPrivateBytes() - before, 3 << 20);
}

TEST_F(IconToolbarTest, TooltipsOnlyForItemsThatHaveOne) {
    ASSERT_TRUE(toolbar.attach(host, 65, 58));
    toolbar.addItem({.icon = icon, .tooltip = "单个采集"});
    toolbar.addItem({.icon = icon});
    toolbar.addItem({.icon = icon, .tooltip = "店铺"});
    ASSERT_NE(toolbar.toolTips(), nullptr);
    EXPECT_EQ(SendMessageW(toolbar.toolTips(), TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST_F(IconToolbarTest, ASecondAttachTakesOverWithoutCallingItself) {
    const LONG_PTR original = GetWindowLongPtrW(host, GWLP_WNDPROC);
    ASSERT_TRUE(toolbar.attach(host, 65, 58));
    ASSERT_TRUE(toolbar.attach(host, 65, 58, {.tag = {1, 2}}));
    EXPECT_NE(GetWindowLongPtrW(host, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageW(host, WM_ERASEBKGND, 0, 0), 1) << "ours";
    EXPECT_EQ(SendMessageW(host, WM_GETTEXTLENGTH, 0, 0), 0) << "passed on once, not to ourselves";
    EXPECT_EQ(toolbar.tag(), (std::vector<unsigned char>{1, 2}));
    EXPECT_TRUE(GetWindowLongPtrW(host, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(IconToolbarTest, TheWindowsEndResetsTheBar) {
    attachNavigation(kNavigation);
    DestroyWindow(parent);
    EXPECT_EQ(toolbar.window(), nullptr);
    EXPECT_EQ(toolbar.itemCount(), 0);
    EXPECT_EQ(toolbar.memoryDc(), nullptr);
    EXPECT_EQ(toolbar.tag(), (std::vector<unsigned char>{0}));
    toolbar.redraw();  // no window: nothing to invalidate
}

}  // namespace
}  // namespace quorvane::toolkit
