#include "app/handlers/handlers.h"

#include "app/handlers/address_state.h"
#include "app/handlers/skin_tint.h"
#include "app/handlers/stored_pages.h"
#include "app/runtime/runtime.h"
#include "app/windows/pictures.h"
#include "app/windows/templates.h"
#include "net/host_map.h"
#include "toolkit/skin.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

namespace {

constexpr std::string_view kSingleModeText =
    "【单个模式】 就是指定采集一个宝贝 粘贴该宝贝地址即可进行采集 可以添加多个";

// What the header, the address label and the page control show for each
// navigation target; the settings and help views leave the mode alone.
struct View {
    ui::Picture (*banner)();
    std::string_view headerText;
    std::string_view addressLabel;
    int page;
    std::optional<CollectionMode> mode;
};

const View kViews[] = {
    {singleModeBanner, kSingleModeText, "宝贝地址：", 0, CollectionMode::SingleItems},
    {listModeBanner, "【列表模式】 就是采集某个店铺的一个分类 粘贴分类的网页地址即可进行采集", "列表地址：", 0,
     CollectionMode::List},
    {shopModeBanner, "【店铺模式】 就是采集整个店铺的所有宝贝 粘贴店铺的首页地址即可进行采集", "店铺地址：", 0,
     CollectionMode::Shop},
    {settingsBanner, "可以对采集的一些信息进行设置", "", 1, std::nullopt},
    {helpBanner, "", "", 2, std::nullopt},
};

constexpr int kExitItem = 6;

ui::Window* mainWindow() { return ui::findWindow("MainWindow"); }

void showView(const View& view) {
    ui::Window* main = mainWindow();
    if (!main) return;
    (*main)["画板8"].setPicture(view.banner());
    (*main)["透明标签14"].setText(view.headerText);
    if (view.mode) (*main)["透明标签1"].setText(view.addressLabel);
    (*main)["高级选择夹1"].setPage(view.page);
    if (!view.mode) return;
    // The box keeps what the seller typed when the mode stays the same.
    AddressState& state = addressState();
    if (state.collectionMode != *view.mode) (*main)["编辑框1"].setText(addressBoxHint(*view.mode));
    state.collectionMode = *view.mode;
}

ui::Component addressBox() { return (*mainWindow())["编辑框1"]; }

void applySkinTint() {
    const SkinTint& tint = skinTint();
    toolkit::adjustSkinHsv(tint.hue, tint.saturation, tint.value);
}

}  // namespace

SkinTint& skinTint() {
    static SkinTint tint;
    return tint;
}

void onNavigationItemClicked(int itemNumber) {
    if (itemNumber >= 1 && itemNumber < kExitItem) showView(kViews[itemNumber - 1]);
    if (itemNumber == kExitItem) ui::loadWindow(exitConfirmDialogTemplate(), true);
}

void showStartUpHeader() {
    if (ui::Window* main = mainWindow()) {
        (*main)["画板8"].setPicture(singleModeBanner());
        (*main)["透明标签14"].setText(kSingleModeText);
    }
    addressState().collectionMode = CollectionMode::SingleItems;
}

void onSingleModeMenuClicked() { onNavigationItemClicked(1); }
void onListModeMenuClicked() { onNavigationItemClicked(2); }
void onShopModeMenuClicked() { onNavigationItemClicked(3); }
void onSettingsMenuClicked() { onNavigationItemClicked(4); }
void onHelpMenuClicked() { onNavigationItemClicked(5); }

void onMainWindowActivated() { redrawNavigationToolbar(); }
void onMainWindowFocusLost() { redrawNavigationToolbar(); }

// A click into a box that shows a mode's hint clears it for typing; the
// pasted-addresses marker stays, it stands for the pasted list.
void onAddressBoxMouseDown(const ui::EventArgs&) {
    ui::Component box = addressBox();
    if (isModeHint(box.text())) box.setText("");
}

void onAddressBoxMouseUp(const ui::EventArgs&) { addressBox().selectAllText(); }

void onAddressBoxDoubleClicked(const ui::EventArgs&) { ui::loadWindow(addressInputDialogTemplate(), true); }

void onAddressBoxFocusLost() {
    ui::Component box = addressBox();
    if (box.text().empty()) box.setText(addressBoxHint(addressState().collectionMode));
}

void onLoginButtonClicked() { ui::loadWindow(loginBrowserWindowTemplate(), true); }

void onLoginBrowserCreated() {
    ui::Window* window = ui::eventWindow();
    if (!window) return;
    // The login page follows the host map as the requests do.
    (*window)["互联网浏览器1"].navigate(routedBrowserAddress("https://" + std::string(hosts::kLoginPage) + "/"));
}

void onHeaderAnimationClicked() { openStoredPage(kHeaderPage); }

void onHueSliderReleased() {
    if (ui::Window* main = mainWindow()) skinTint().hue = (*main)["滑块条1"].position() - 181;
    applySkinTint();
}

void onSaturationSliderReleased() {
    if (ui::Window* main = mainWindow()) skinTint().saturation = (*main)["滑块条2"].position() - 101;
    applySkinTint();
}

void onBrightnessSliderReleased() {
    if (ui::Window* main = mainWindow()) skinTint().value = (*main)["滑块条3"].position() - 101;
    applySkinTint();
}

void WINAPI trayCallbackEntry(std::intptr_t mouseMessage) { onTrayIconMouse(mouseMessage); }

void onTrayIconMouse(std::intptr_t mouseMessage) {
    ui::Window* main = mainWindow();
    if (!main) return;
    if (mouseMessage == WM_LBUTTONDBLCLK) main->restore();
    if (mouseMessage == WM_RBUTTONDOWN) ui::popupMenu(*main, "系统菜单");
}

}  // namespace quorvane
