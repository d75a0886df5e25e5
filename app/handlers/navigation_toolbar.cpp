#include "app/handlers/handlers.h"
#include "app/runtime/runtime.h"
#include "toolkit/icon_toolbar.h"

#include <cstddef>
#include <span>
#include <string_view>

extern const unsigned char navigationIcon1[], navigationIcon2[], navigationIcon3[], navigationIcon4[],
    navigationIcon5[], navigationIcon6[];
extern const std::size_t navigationIcon1_size, navigationIcon2_size, navigationIcon3_size, navigationIcon4_size,
    navigationIcon5_size, navigationIcon6_size;

namespace quorvane {
namespace {

constexpr COLORREF kCaptionColour = 0xFFFFFF;
constexpr COLORREF kHeaderColour = 0x1847B3;
constexpr int kItemWidth = 65;
constexpr int kItemHeight = 58;
constexpr int kItemsBeforeSeparator = 5;

struct NavigationItem {
    std::string_view caption;
    std::span<const unsigned char> icon;
};

const NavigationItem kItems[] = {
    {"单个采集", {navigationIcon1, navigationIcon1_size}}, {"列表采集", {navigationIcon2, navigationIcon2_size}},
    {"店铺采集", {navigationIcon3, navigationIcon3_size}}, {"下载配置", {navigationIcon4, navigationIcon4_size}},
    {"使用帮助", {navigationIcon5, navigationIcon5_size}}, {"退出系统", {navigationIcon6, navigationIcon6_size}},
};

toolkit::IconToolbar* toolbarObject = nullptr;

}  // namespace

void createNavigationToolbar() {
    if (!toolbarObject) toolbarObject = new toolkit::IconToolbar;
}

void destroyNavigationToolbar() {
    delete toolbarObject;
    toolbarObject = nullptr;
}

void WINAPI navigationCallback(std::intptr_t itemNumber) { onNavigationItemClicked(static_cast<int>(itemNumber)); }

void buildNavigationToolbar() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main || !toolbarObject) return;
    toolkit::IconToolbar& toolbar = *toolbarObject;
    // Selection mode: item 1, the mode the program starts in, is the selected one.
    if (!toolbar.attach((*main)["透明标签3"].handle(), kItemWidth, kItemHeight,
                        {.textColour = kCaptionColour,
                         .backgroundColour = kHeaderColour,
                         .gradientEnabled = false,
                         .gradientStyle = 0,
                         .selectionMode = true}))
        return;
    toolbar.setClickCallback(navigationCallback);
    toolkit::ToolbarItem item;
    for (const NavigationItem& entry : kItems) {
        item.icon.assign(entry.icon.begin(), entry.icon.end());
        item.caption = entry.caption;
        item.selected = false;
        toolbar.addItem(item);
        if (toolbar.itemCount() == 1) toolbar.addSeparator(kItemsBeforeSeparator);
    }
    toolbar.redraw();
}

void redrawNavigationToolbar() {
    if (toolbarObject) toolbarObject->redraw();
}

}  // namespace quorvane
