// What our skin engine does to real windows, seen through its spy build:
// which windows it skins, the tint that the HSV call changes, the windows
// detached for good, the title-bar menu, and unloading.
#include "tests/toolkit/image_view.h"
#include "toolkit/skin.h"
#include "toolkit/skin_dll/skin_spy.h"
#include "toolkit/skin_file.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace quorvane::toolkit {
namespace {

class SkinEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        skinModule = loadLibraryFromMemory(spyImage());
        ASSERT_NE(skinModule, nullptr);
        log = reinterpret_cast<skin::SpyLogExport>(getMemoryProcAddress(skinModule, "SkinSpy_Log"))();
        isSkinned = reinterpret_cast<skin::SpyIsSkinnedExport>(getMemoryProcAddress(skinModule, "SkinSpy_IsSkinned"));
        ASSERT_NE(isSkinned, nullptr);

        HMENU menu = CreateMenu();
        AppendMenuW(menu, MF_STRING, 1, L"File");
        main = CreateWindowW(L"STATIC", L"skinned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr, menu,
                             nullptr, nullptr);
        bordered = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 24, main,
                                   nullptr, nullptr, nullptr);
        borderless =
            CreateWindowW(L"STATIC", L"label", WS_CHILD | WS_VISIBLE, 10, 50, 100, 24, main, nullptr, nullptr, nullptr);
        popup = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(main && bordered && borderless && popup);
    }
    void TearDown() override {
        freeMemoryLibrary(skinModule);
        skinModule = nullptr;
        DestroyWindow(popup);
        DestroyWindow(main);
    }

    HBRUSH menuBackground() const {
        MENUINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIM_BACKGROUND;
        GetMenuInfo(GetMenu(main), &info);
        return info.hbrBack;
    }

    const skin::SpyLog* log = nullptr;
    skin::SpyIsSkinnedExport isSkinned = nullptr;
    HWND main = nullptr, bordered = nullptr, borderless = nullptr, popup = nullptr;
};

TEST_F(SkinEngineTest, SkinsCaptionedWindowsAndTheirBorderedChildren) {
    attachSkin(carriedSkinFile());
    EXPECT_TRUE(isSkinned(main));
    EXPECT_TRUE(isSkinned(bordered));
    EXPECT_FALSE(isSkinned(borderless)) << "nothing to tint";
    EXPECT_FALSE(isSkinned(popup)) << "no frame";
    DestroyWindow(bordered);
    EXPECT_FALSE(isSkinned(bordered)) << "a destroyed window leaves the skin";
}

TEST_F(SkinEngineTest, HsvShiftTurnsTheOrangeFrameBlue) {
    attachSkin(carriedSkinFile());
    const COLORREF plain = log->frameColour;
    EXPECT_GT(GetRValue(plain), GetBValue(plain));
    adjustSkinHsv(180, -14, 10);
    const COLORREF tinted = log->frameColour;
    EXPECT_GT(GetBValue(tinted), GetRValue(tinted));
    EXPECT_NE(log->edgeColour, 0u);

    // The outermost line of the frame is painted in the tinted colour.
    RedrawWindow(main, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetWindowDC(main);
    const COLORREF corner = GetPixel(dc, 0, 100);
    ReleaseDC(main, dc);
    EXPECT_EQ(corner, tinted);
}

TEST_F(SkinEngineTest, DetachedWindowStaysOutOfTheSkinForGood) {
    attachSkin(carriedSkinFile());
    detachSkin(bordered);
    EXPECT_FALSE(isSkinned(bordered));
    EXPECT_TRUE(isSkinned(main));
    attachSkin(carriedSkinFile());
    EXPECT_FALSE(isSkinned(bordered));
}

TEST_F(SkinEngineTest, TitleMenuBarTakesTheTint) {
    attachSkin(carriedSkinFile());
    EXPECT_EQ(menuBackground(), nullptr);
    setSkinTitleBar(main, 1, 22, 0, 15);
    EXPECT_NE(menuBackground(), nullptr);
    setSkinTitleBar(main, 0);
    EXPECT_EQ(menuBackground(), nullptr);
}

TEST_F(SkinEngineTest, UnloadingGivesTheWindowsTheirOwnLookBack) {
    attachSkin(carriedSkinFile());
    setSkinTitleBar(main);
    freeMemoryLibrary(skinModule);
    skinModule = nullptr;
    // No message may reach the released engine any more.
    RedrawWindow(main, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageW(main, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(bordered, WM_NCPAINT, 1, 0);
    EXPECT_EQ(menuBackground(), nullptr);
}

}  // namespace
}  // namespace quorvane::toolkit
