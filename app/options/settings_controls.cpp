#include "app/options/settings_controls.h"

namespace quorvane {

namespace {

struct CheckBox {
    const char* component;
    bool SettingsPage::*field;
};

constexpr CheckBox kCheckBoxes[] = {
    {"选择框6", &SettingsPage::downloadPictures},      {"选择框1", &SettingsPage::shortenLongAliases},
    {"选择框2", &SettingsPage::removeSaleProperties},  {"选择框3", &SettingsPage::removeAliases},
    {"选择框4", &SettingsPage::removePromotionTables}, {"选择框5", &SettingsPage::mapToStandardColours},
    {"选择框7", &SettingsPage::useNewestProperties},
};

constexpr const char* kKeepLinks = "单选框5";
constexpr const char* kRemoveLinks = "单选框4";
constexpr const char* kReplaceLinks = "单选框3";

}  // namespace

SettingsPage readSettingsPage(const SettingsControls& controls) {
    SettingsPage page;
    for (const auto& box : kCheckBoxes) page.*box.field = controls.checked(box.component);
    page.failureChoice = controls.text("组合框1");
    page.linkHandling = controls.checked(kKeepLinks)      ? LinkHandling::Keep
                        : controls.checked(kRemoveLinks)  ? LinkHandling::Remove
                        : controls.checked(kReplaceLinks) ? LinkHandling::Replace
                                                          : LinkHandling::None;
    page.replacementLink = controls.text("编辑框4");
    page.packageFormat = controls.checked("单选框1") ? 4 : 5;
    return page;
}

void showSettingsPage(const SettingsPage& page, SettingsControls& controls) {
    for (const auto& box : kCheckBoxes) controls.setChecked(box.component, page.*box.field);
    controls.setText("组合框1", page.failureChoice);
    controls.setChecked(kKeepLinks, page.linkHandling == LinkHandling::Keep);
    controls.setChecked(kRemoveLinks, page.linkHandling == LinkHandling::Remove);
    controls.setChecked(kReplaceLinks, page.linkHandling == LinkHandling::Replace);
    controls.setText("编辑框4", page.replacementLink);
    controls.setChecked("单选框1", page.packageFormat == 4);
    controls.setChecked("单选框2", page.packageFormat != 4);
}

}  // namespace quorvane
