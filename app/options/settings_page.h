#pragma once
// The state of the settings page's controls that options.ini fills and that
// a save writes back. The window side copies it from and to the controls.
#include <string>

namespace quorvane {

// Which of the link radio buttons in 外形框2 is checked.
enum class LinkHandling {
    None = 0,     // none of them
    Keep = 1,     // 单选框5 "不处理描述中的超链接"
    Remove = 2,   // 单选框4 "自动去除描述中超链接"
    Replace = 3,  // 单选框3 "将描述中超链接替换为：", by the text of 编辑框4
};

// The items of 组合框1, in order; policy n is item n.
inline constexpr const char* kFailureChoices[3] = {"保持不变", "删除图片", "重新下载 仍失败删除"};

struct SettingsPage {
    bool downloadPictures = false;  // 选择框6
    std::string failureChoice;      // the text 组合框1 shows
    LinkHandling linkHandling = LinkHandling::None;
    std::string replacementLink;         // 编辑框4
    bool shortenLongAliases = false;     // 选择框1 (zly)
    bool removeSaleProperties = false;   // 选择框2 (xsby)
    bool removeAliases = false;          // 选择框3 (bmby)
    bool removePromotionTables = false;  // 选择框4 (qccx)
    bool mapToStandardColours = false;   // 选择框5 (zdyzbb)
    bool useNewestProperties = false;    // 选择框7 (sssx)
    int packageFormat = 5;               // 4: 单选框1 checked; otherwise 单选框2 checked

    bool operator==(const SettingsPage&) const = default;
};

}  // namespace quorvane
