#include "app/options/file_store.h"
#include "app/options/option_table.h"
#include "app/options/options.h"
#include "text/types.h"

#include <windows.h>

namespace quorvane {

namespace {

std::string optionValue(const IniText& file, const char* key) {
    const OptionKey& row = optionKey(key);
    return file.value(row.section, row.key).value_or(row.valueWhenMissing);
}

// Only "2" and the empty text leave a check box unchecked.
bool checkedByValue(const IniText& file, const char* key) {
    const std::string value = optionValue(file, key);
    return !(value.empty() || value == "2");
}

}  // namespace

bool writeDefaultOptionsWhenMissing(const std::wstring& folder, const std::wstring& path) {
    if (fileExists(path)) return true;
    createFolder(folder);
    return createFileWhenMissing(path, defaultOptionsFileText());
}

void applyOptions(const IniText& file, SettingsPage& page, OptionMirrors& mirrors) {
    page.downloadPictures = optionValue(file, "download") == kTrueText;
    mirrors.downloadDescriptionPictures = page.downloadPictures ? 1 : 0;

    const std::string fall = optionValue(file, "fall");
    const int policy = fall.empty() ? 3 : fall == "1" ? 1 : fall == "2" ? 2 : fall == "3" ? 3 : 0;
    if (policy) {
        page.failureChoice = kFailureChoices[policy - 1];
        mirrors.pictureFailurePolicy = policy;
    }

    const std::string qcl = optionValue(file, "qcl");
    page.linkHandling = (qcl.empty() || qcl == "2") ? LinkHandling::Remove
                        : qcl == "1"                ? LinkHandling::Keep
                        : qcl == "3"                ? LinkHandling::Replace
                                                    : LinkHandling::None;
    page.replacementLink = optionValue(file, "qcllr");

    page.shortenLongAliases = checkedByValue(file, "zly");
    page.removeSaleProperties = checkedByValue(file, "xsby");
    page.removeAliases = checkedByValue(file, "bmby");
    page.removePromotionTables = checkedByValue(file, "qccx");
    page.mapToStandardColours = checkedByValue(file, "zdyzbb");
    page.useNewestProperties = checkedByValue(file, "sssx");

    page.packageFormat = optionValue(file, "type") == "4" ? 4 : 5;
    mirrors.packageFormat = page.packageFormat;
}

void loadOptions(const std::wstring& path, SettingsPage& page, OptionMirrors& mirrors) {
    Bytes bytes;
    if (!readFileBytes(path, bytes)) bytes.clear();
    applyOptions(IniText(std::string(bytes.begin(), bytes.end())), page, mirrors);
}

}  // namespace quorvane
