#pragma once
// The keys of options.ini: where each lives, what a new file holds, what a
// missing key reads as, and the settings-page control it is shown in.
#include <string>
#include <string_view>

namespace quorvane {

struct OptionKey {
    const char* section;
    const char* key;
    const char* defaultInNewFile;
    const char* valueWhenMissing;  // nullptr: the key is never read
    const char* control;           // "" when no control shows it
};

inline constexpr const char* kPicturesSection = "DL_PIC";
inline constexpr const char* kSaveSection = "SAVE";

// In the order of the default file.
inline constexpr OptionKey kOptionTable[] = {
    {kPicturesSection, "download", "真", "真", "选择框6"},
    {kPicturesSection, "taobao_only", "假", nullptr, ""},
    {kPicturesSection, "fall", "3", "3", "组合框1"},
    {kPicturesSection, "qcl", "1", "2", "单选框5 单选框4 单选框3"},
    {kPicturesSection, "qcllr", "", "", "编辑框4"},
    {kPicturesSection, "zly", "2", "2", "选择框1"},
    {kPicturesSection, "xsby", "2", "2", "选择框2"},
    {kPicturesSection, "bmby", "2", "2", "选择框3"},
    {kPicturesSection, "qccx", "2", "2", "选择框4"},
    {kPicturesSection, "zdyzbb", "2", "2", "选择框5"},
    {kPicturesSection, "sssx", "2", "2", "选择框7"},
    {kSaveSection, "type", "5", "5", "单选框1 单选框2"},
};

// The table row of a key; a key that is not in the table is a coding error.
const OptionKey& optionKey(std::string_view key);

// The content start-up writes when options.ini is missing: GBK, CR LF after
// every line.
std::string defaultOptionsFileText();

}  // namespace quorvane
