#pragma once
// Loading options.ini into the settings page and the mirrors, and saving the
// page back. Unreadable files read as a file without keys.
#include "app/options/ini_text.h"
#include "app/options/option_mirrors.h"
#include "app/options/settings_page.h"

#include <string>
#include <vector>

namespace quorvane {

// Creates the options folder and a default options.ini when the file is
// missing; an existing file is left as it is. True when the file exists
// afterwards.
bool writeDefaultOptionsWhenMissing(const std::wstring& folder, const std::wstring& path);

// A value the loading rules do not know leaves its control as it was, so
// page holds the controls' state before loading.
void applyOptions(const IniText& file, SettingsPage& page, OptionMirrors& mirrors);
void loadOptions(const std::wstring& path, SettingsPage& page, OptionMirrors& mirrors);

enum class SaveResult { Saved, NoFailureChoice, NoReplacementLink, WriteFailed };

struct OptionWrite {
    const char* section;
    const char* key;
    std::string value;
};

// The save's checks first; only a page that passes them gives keys to write.
SaveResult planOptionsSave(const SettingsPage& page, std::vector<OptionWrite>& writes);

// Writes the whole file at once and mirrors what was written; a refused or
// failed save leaves the file and the mirrors as they were.
SaveResult saveOptions(const std::wstring& path, const SettingsPage& page, OptionMirrors& mirrors);

struct SaveMessage {
    std::string title, text;  // a message box with an OK button and no icon
};
SaveMessage saveResultMessage(SaveResult result);

}  // namespace quorvane
