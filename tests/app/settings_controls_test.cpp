// The settings page shown in and read back from its named controls.
#include "app/options/option_table.h"
#include "app/options/options.h"
#include "app/options/settings_controls.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace quorvane {
namespace {

// Named controls as a plain map; the two radio groups clear each other.
class FakeControls : public SettingsControls {
public:
    bool checked(std::string_view component) const override { return checks.count(std::string(component)) != 0; }
    void setChecked(std::string_view component, bool on) override {
        const std::string name(component);
        if (!on) {
            checks.erase(name);
            return;
        }
        for (const auto& group : kGroups)
            if (group.count(name))
                for (const auto& other : group) checks.erase(other);
        checks.insert(name);
    }
    std::string text(std::string_view component) const override {
        const auto found = texts.find(std::string(component));
        return found == texts.end() ? "" : found->second;
    }
    void setText(std::string_view component, std::string_view value) override {
        texts[std::string(component)] = std::string(value);
    }

    std::set<std::string> checks;
    std::map<std::string, std::string> texts;

private:
    const std::set<std::string> kGroups[2] = {{"单选框5", "单选框4", "单选框3"}, {"单选框1", "单选框2"}};
};

TEST(SettingsControls, TheDefaultFileShowsTheDefaultControls) {
    FakeControls controls;
    SettingsPage page = readSettingsPage(controls);
    OptionMirrors mirrors;
    applyOptions(IniText(defaultOptionsFileText()), page, mirrors);
    showSettingsPage(page, controls);
    EXPECT_EQ(controls.checks, (std::set<std::string>{"选择框6", "单选框5", "单选框2"}));
    EXPECT_EQ(controls.text("组合框1"), "重新下载 仍失败删除");
    EXPECT_EQ(controls.text("编辑框4"), "");
}

TEST(SettingsControls, UnknownValuesLeaveTheControlsAsTheyWere) {
    FakeControls controls;
    controls.setText("组合框1", "删除图片");
    controls.setChecked("单选框3", true);
    controls.setChecked("选择框6", true);
    SettingsPage page = readSettingsPage(controls);
    OptionMirrors mirrors;
    applyOptions(IniText("[DL_PIC]\r\nfall=9\r\nqcl=7\r\n"), page, mirrors);
    showSettingsPage(page, controls);
    EXPECT_EQ(controls.text("组合框1"), "删除图片");
    EXPECT_EQ(controls.checks, (std::set<std::string>{"选择框6", "单选框2"}));  // qcl 7 checks no link button
}

TEST(SettingsControls, ShownPagesReadBackUnchanged) {
    SettingsPage every;
    every.downloadPictures = every.shortenLongAliases = every.removeSaleProperties = every.removeAliases = true;
    every.removePromotionTables = every.mapToStandardColours = every.useNewestProperties = true;
    every.failureChoice = "保持不变";
    every.linkHandling = LinkHandling::Replace;
    every.replacementLink = "http://a.cn/";
    every.packageFormat = 4;
    SettingsPage removing;
    removing.linkHandling = LinkHandling::Remove;
    SettingsPage none;
    for (const SettingsPage& page : {every, removing, none}) {
        FakeControls controls;
        showSettingsPage(page, controls);
        EXPECT_EQ(readSettingsPage(controls), page);
    }
}

}  // namespace
}  // namespace quorvane
