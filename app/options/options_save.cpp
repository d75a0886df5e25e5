#include "app/options/file_store.h"
#include "app/options/option_table.h"
#include "app/options/options.h"
#include "text/types.h"

namespace quorvane {

namespace {

void addWrite(std::vector<OptionWrite>& writes, const char* key, std::string value) {
    writes.push_back({optionKey(key).section, optionKey(key).key, std::move(value)});
}

const char* checkValue(bool checked) { return checked ? "1" : "2"; }

int failurePolicyOf(const std::string& choice) {
    for (int k = 0; k < 3; ++k)
        if (choice == kFailureChoices[k]) return k + 1;
    return 0;
}

}  // namespace

SaveResult planOptionsSave(const SettingsPage& page, std::vector<OptionWrite>& writes) {
    writes.clear();
    if (page.failureChoice.empty()) return SaveResult::NoFailureChoice;
    const bool replaceLinks = page.linkHandling != LinkHandling::Keep && page.linkHandling != LinkHandling::Remove;
    if (replaceLinks && page.replacementLink.empty()) return SaveResult::NoReplacementLink;

    addWrite(writes, "download", page.downloadPictures ? kTrueText : kFalseText);
    // A text that is none of the items writes nothing.
    if (const int policy = failurePolicyOf(page.failureChoice)) addWrite(writes, "fall", std::to_string(policy));
    if (page.linkHandling == LinkHandling::Keep) {
        addWrite(writes, "qcl", "1");
    } else if (page.linkHandling == LinkHandling::Remove) {
        addWrite(writes, "qcl", "2");
    } else {
        addWrite(writes, "qcl", "3");
        addWrite(writes, "qcllr", page.replacementLink);
    }
    addWrite(writes, "zly", checkValue(page.shortenLongAliases));
    addWrite(writes, "xsby", checkValue(page.removeSaleProperties));
    addWrite(writes, "bmby", checkValue(page.removeAliases));
    addWrite(writes, "qccx", checkValue(page.removePromotionTables));
    addWrite(writes, "zdyzbb", checkValue(page.mapToStandardColours));
    addWrite(writes, "sssx", checkValue(page.useNewestProperties));
    addWrite(writes, "type", page.packageFormat == 4 ? "4" : "5");
    return SaveResult::Saved;
}

SaveResult saveOptions(const std::wstring& path, const SettingsPage& page, OptionMirrors& mirrors) {
    std::vector<OptionWrite> writes;
    if (const SaveResult checked = planOptionsSave(page, writes); checked != SaveResult::Saved) return checked;

    // Keys the page does not show (taobao_only, an earlier qcllr) must survive,
    // so a file that is there but cannot be read is not overwritten.
    Bytes bytes;
    if (!readFileBytes(path, bytes) && fileExists(path)) return SaveResult::WriteFailed;
    IniText file(std::string(bytes.begin(), bytes.end()));
    for (const auto& write : writes) file.setValue(write.section, write.key, write.value);
    if (!replaceFileContent(path, file.text())) return SaveResult::WriteFailed;

    mirrors.downloadDescriptionPictures = page.downloadPictures ? 1 : 0;
    if (const int policy = failurePolicyOf(page.failureChoice)) mirrors.pictureFailurePolicy = policy;
    mirrors.packageFormat = page.packageFormat == 4 ? 4 : 5;
    return SaveResult::Saved;
}

SaveMessage saveResultMessage(SaveResult result) {
    switch (result) {
    case SaveResult::Saved: return {"提示", "已经保存！"};
    case SaveResult::NoFailureChoice: return {"信息：", "请设置图片下载失败处理方式"};
    case SaveResult::NoReplacementLink: return {"信息：", "请填写待替换链接！"};
    case SaveResult::WriteFailed: break;
    }
    return {"提示", "配置保存失败，请检查options文件夹是否可写！"};
}

}  // namespace quorvane
