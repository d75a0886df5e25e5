#pragma once
// The main window's views chosen through the menu 功能菜单, and the address
// input window opened from the address box: what the tests of the modes and
// of the address box share.
#include "tests/app/program_in_folder.h"

#include <string_view>

namespace quorvane::test {

// The items of 功能菜单, in the menu bar's order.
enum class View { SingleItems, List, Shop, Settings, Help };

inline constexpr std::string_view kSingleHeader =
    "【单个模式】 就是指定采集一个宝贝 粘贴该宝贝地址即可进行采集 可以添加多个";
inline constexpr std::string_view kListHeader =
    "【列表模式】 就是采集某个店铺的一个分类 粘贴分类的网页地址即可进行采集";
inline constexpr std::string_view kShopHeader =
    "【店铺模式】 就是采集整个店铺的所有宝贝 粘贴店铺的首页地址即可进行采集";
inline constexpr std::string_view kSettingsHeader = "可以对采集的一些信息进行设置";

inline constexpr std::string_view kSingleHint = "请粘贴宝贝地址，双击可粘贴多个宝贝地址！";
inline constexpr std::string_view kListHint = "请粘贴列表地址";
inline constexpr std::string_view kShopHint = "请粘贴店铺地址";
inline constexpr std::string_view kPastedMarker = "已粘贴多行地址";

inline constexpr std::string_view kAddressInputTitle = "请按照提示输入";

inline std::string_view headerOf(View view) {
    switch (view) {
    case View::SingleItems: return kSingleHeader;
    case View::List: return kListHeader;
    case View::Shop: return kShopHeader;
    case View::Settings: return kSettingsHeader;
    case View::Help: break;
    }
    return "";
}

inline void chooseView(HWND main, View view) { chooseMenuBarItem(main, static_cast<int>(view)); }

// Chooses a view that is not showing yet and waits until its header shows.
inline bool switchTo(const ProgramInFolder& app, View view) {
    chooseView(app.main(), view);
    return ProgramInFolder::waitFor([&] { return textOf(app["透明标签14"]) == headerOf(view); });
}

// The address input window, opened by a double click on the address box;
// nullptr when it did not open.
inline HWND openAddressInput(ProgramInFolder& app) {
    doubleClick(app["编辑框1"], POINT{5, 5});
    return app.program().waitForWindow(kAddressInputTitle);
}

// Confirms or cancels the address input window and waits until it is gone.
inline bool closeAddressInput(ProgramInFolder& app, HWND dialog, std::string_view button) {
    return pressButton(dialog, button) && app.program().waitForWindowGone(kAddressInputTitle);
}

}  // namespace quorvane::test
