// options.ini: the default file, loading with missing and odd values, and the
// save with its two refusals.
#include "app/options/file_store.h"
#include "app/options/options.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

namespace quorvane {

void PrintTo(const SettingsPage& p, std::ostream* out) {
    *out << "{download " << p.downloadPictures << ", fall " << p.failureChoice << ", links "
         << static_cast<int>(p.linkHandling) << " " << p.replacementLink << ", boxes " << p.shortenLongAliases
         << p.removeSaleProperties << p.removeAliases << p.removePromotionTables << p.mapToStandardColours
         << p.useNewestProperties << ", format " << p.packageFormat << "}";
}
namespace {

// Written as bytes, not built from the option table, so a change to the table
// shows up here.
const std::string kDefaultFile =
    "[DL_PIC]\r\ndownload=\xD5\xE6\r\ntaobao_only=\xBC\xD9\r\nfall=3\r\nqcl=1\r\nqcllr=\r\nzly=2\r\nxsby=2\r\n"
    "bmby=2\r\nqccx=2\r\nzdyzbb=2\r\nsssx=2\r\n[SAVE]\r\ntype=5\r\n";

class OptionsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"quorvane-options-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
        folder_ = root_ + L"\\" + L"options folder";
        path_ = folder_ + L"\\options.ini";
    }
    void TearDown() override {
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
        RemoveDirectoryW(root_.c_str());
    }
    void writeFile(const std::string& content) {
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(replaceFileContent(path_, content));
    }
    std::string fileText() {
        Bytes bytes;
        EXPECT_TRUE(readFileBytes(path_, bytes));
        return std::string(bytes.begin(), bytes.end());
    }

    std::wstring root_, folder_, path_;
};

SettingsPage defaultPage() {
    SettingsPage page;
    page.downloadPictures = true;
    page.failureChoice = "重新下载 仍失败删除";
    page.linkHandling = LinkHandling::Keep;
    page.packageFormat = 5;
    return page;
}

struct Mirrors {
    int download, failure, format;
};

Mirrors mirrorsOf(const OptionMirrors& m) {
    return {m.downloadDescriptionPictures, m.pictureFailurePolicy, m.packageFormat};
}

void expectMirrors(const OptionMirrors& actual, Mirrors expected) {
    const Mirrors got = mirrorsOf(actual);
    EXPECT_EQ(got.download, expected.download);
    EXPECT_EQ(got.failure, expected.failure);
    EXPECT_EQ(got.format, expected.format);
}

TEST_F(OptionsFolder, MissingFileIsCreatedWithTheDefaultBytesAndGivesTheDefaultPage) {
    ASSERT_FALSE(fileExists(folder_));
    ASSERT_TRUE(writeDefaultOptionsWhenMissing(folder_ + L"\\", path_));  // as optionsFolder() gives it
    EXPECT_EQ(fileText(), kDefaultFile);

    SettingsPage page;
    OptionMirrors mirrors;
    loadOptions(path_, page, mirrors);
    EXPECT_EQ(page, defaultPage());
    expectMirrors(mirrors, {1, 3, 5});
}

TEST(OptionsFilePath, IsOptionsInTheProgramsFolder) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.erase(folder.find_last_of(L'\\') + 1);
    EXPECT_EQ(optionsFolder(), folder + L"options\\");
    EXPECT_EQ(optionsFilePath(), folder + L"options\\options.ini");
}

TEST_F(OptionsFolder, ExistingFileIsNotRewritten) {
    writeFile("[DL_PIC]\r\nzly=1\r\n");
    ASSERT_TRUE(writeDefaultOptionsWhenMissing(folder_, path_));
    EXPECT_EQ(fileText(), "[DL_PIC]\r\nzly=1\r\n");
}

struct LoadCase {
    const char* what;
    std::string file;
    std::function<void(SettingsPage&)> change;  // applied to the expected page
    Mirrors mirrors;
};

// The page before loading has a choice in 组合框1 that no rule gives, so a
// value that changes nothing is seen.
TEST(LoadOptions, MissingAndOddValuesFollowTheLoadingRules) {
    // Every key missing: "download" reads 真, "qcl" reads as remove links.
    SettingsPage allMissing = defaultPage();
    allMissing.linkHandling = LinkHandling::Remove;
    const std::string pictures = "[DL_PIC]\r\n";
    const LoadCase cases[] = {
        {"no file content", "", [](SettingsPage&) {}, {1, 3, 5}},
        {"empty download", pictures + "download=\r\n", [](SettingsPage& p) { p.downloadPictures = false; }, {0, 3, 5}},
        {"download 1", pictures + "download=1\r\n", [](SettingsPage& p) { p.downloadPictures = false; }, {0, 3, 5}},
        {"fall 1", pictures + "fall=1\r\n", [](SettingsPage& p) { p.failureChoice = "保持不变"; }, {1, 1, 5}},
        {"fall 2", pictures + "fall=2\r\n", [](SettingsPage& p) { p.failureChoice = "删除图片"; }, {1, 2, 5}},
        {"fall 7 changes nothing", pictures + "fall=7\r\n", [](SettingsPage& p) { p.failureChoice = "before"; },
         {1, 99, 5}},
        {"qcl 1", pictures + "qcl=1\r\n", [](SettingsPage& p) { p.linkHandling = LinkHandling::Keep; }, {1, 3, 5}},
        {"qcl 3 with link", pictures + "qcl=3\r\nqcllr=http://a.cn/\xD5\x5C\r\n",
         [](SettingsPage& p) {
             p.linkHandling = LinkHandling::Replace;
             p.replacementLink = "http://a.cn/\xD5\x5C";
         },
         {1, 3, 5}},
        {"qcl 5 checks none", pictures + "qcl=5\r\n", [](SettingsPage& p) { p.linkHandling = LinkHandling::None; },
         {1, 3, 5}},
        {"zly 0", pictures + "zly=0\r\n", [](SettingsPage& p) { p.shortenLongAliases = true; }, {1, 3, 5}},
        {"zly 真", pictures + "zly=真\r\n", [](SettingsPage& p) { p.shortenLongAliases = true; }, {1, 3, 5}},
        {"check boxes 1", pictures + "xsby=1\r\nbmby=1\r\nqccx=1\r\nzdyzbb=1\r\nsssx=1\r\n",
         [](SettingsPage& p) {
             p.removeSaleProperties = p.removeAliases = p.removePromotionTables = true;
             p.mapToStandardColours = p.useNewestProperties = true;
         },
         {1, 3, 5}},
        {"type 4", "[SAVE]\r\ntype=4\r\n", [](SettingsPage& p) { p.packageFormat = 4; }, {1, 3, 4}},
        {"type 4.X is 5.X", "[SAVE]\r\ntype=4.X\r\n", [](SettingsPage&) {}, {1, 3, 5}},
        {"type in the wrong section", pictures + "type=4\r\n", [](SettingsPage&) {}, {1, 3, 5}},
        {"private-profile spelling", "[dl_pic]\nZLY = 1 \nDownload=\"\xBC\xD9\"\n",
         [](SettingsPage& p) {
             p.shortenLongAliases = true;
             p.downloadPictures = false;
         },
         {0, 3, 5}},
    };
    for (const auto& c : cases) {
        SettingsPage page;
        page.failureChoice = "before";
        OptionMirrors mirrors;
        mirrors.pictureFailurePolicy = 99;
        applyOptions(IniText(c.file), page, mirrors);

        SettingsPage expected = allMissing;
        c.change(expected);
        EXPECT_EQ(page, expected) << c.what;
        const Mirrors got = mirrorsOf(mirrors);
        EXPECT_EQ(got.download, c.mirrors.download) << c.what;
        EXPECT_EQ(got.failure, c.mirrors.failure) << c.what;
        EXPECT_EQ(got.format, c.mirrors.format) << c.what;
    }
}

TEST_F(OptionsFolder, UnreadableFileLoadsAsMissingKeys) {
    SettingsPage page;
    OptionMirrors mirrors;
    loadOptions(path_, page, mirrors);  // the folder does not even exist
    EXPECT_EQ(page.linkHandling, LinkHandling::Remove);
    expectMirrors(mirrors, {1, 3, 5});
}

TEST_F(OptionsFolder, SaveWritesEveryShownKeyAndKeepsTheOthers) {
    writeFile(kDefaultFile);
    SettingsPage page = defaultPage();
    page.downloadPictures = false;
    page.failureChoice = "删除图片";
    page.linkHandling = LinkHandling::Replace;
    page.replacementLink = "http://shop.example.cn/\xB1\xED";
    page.shortenLongAliases = page.removePromotionTables = page.useNewestProperties = true;
    page.packageFormat = 4;
    OptionMirrors mirrors;

    ASSERT_EQ(saveOptions(path_, page, mirrors), SaveResult::Saved);
    EXPECT_EQ(fileText(),
              "[DL_PIC]\r\ndownload=\xBC\xD9\r\ntaobao_only=\xBC\xD9\r\nfall=2\r\nqcl=3\r\n"
              "qcllr=http://shop.example.cn/\xB1\xED\r\nzly=1\r\nxsby=2\r\nbmby=2\r\nqccx=1\r\nzdyzbb=2\r\nsssx=1\r\n"
              "[SAVE]\r\ntype=4\r\n");
    expectMirrors(mirrors, {0, 2, 4});

    SettingsPage loaded;
    OptionMirrors loadedMirrors;
    loadOptions(path_, loaded, loadedMirrors);
    EXPECT_EQ(loaded, page);
}

TEST_F(OptionsFolder, RefusedSaveWritesNothing) {
    const std::string before = "[DL_PIC]\r\ndownload=\xD5\xE6\r\nfall=3\r\nqcl=1\r\nzly=1\r\n[SAVE]\r\ntype=5\r\n";
    struct Refusal {
        const char* what;
        std::function<void(SettingsPage&)> change;
        SaveResult result;
        const char* title;
        const char* text;
    };
    const Refusal refusals[] = {
        {"no failure choice", [](SettingsPage& p) { p.failureChoice.clear(); }, SaveResult::NoFailureChoice,
         "信息：", "请设置图片下载失败处理方式"},
        {"replace without a link", [](SettingsPage& p) { p.linkHandling = LinkHandling::Replace; },
         SaveResult::NoReplacementLink, "信息：", "请填写待替换链接！"},
        {"no radio button checked means replace",
         [](SettingsPage& p) { p.linkHandling = LinkHandling::None; }, SaveResult::NoReplacementLink, "信息：",
         "请填写待替换链接！"},
    };
    for (const auto& r : refusals) {
        writeFile(before);
        SettingsPage page = defaultPage();
        page.downloadPictures = false;
        page.packageFormat = 4;
        r.change(page);
        OptionMirrors mirrors;
        mirrors.downloadDescriptionPictures = 1;
        mirrors.pictureFailurePolicy = 3;
        mirrors.packageFormat = 5;

        EXPECT_EQ(saveOptions(path_, page, mirrors), r.result) << r.what;
        EXPECT_EQ(fileText(), before) << r.what;
        expectMirrors(mirrors, {1, 3, 5});
        EXPECT_EQ(saveResultMessage(r.result).title, r.title);
        EXPECT_EQ(saveResultMessage(r.result).text, r.text);
    }
}

TEST_F(OptionsFolder, SaveKeepsAnEarlierLinkAndAnUnknownChoice) {
    writeFile("[DL_PIC]\r\nfall=1\r\nqcllr=http://old/\r\n\r\n[SAVE]\r\ntype=5\r\n");
    SettingsPage page = defaultPage();
    page.failureChoice = "typed by hand";
    page.linkHandling = LinkHandling::Remove;
    OptionMirrors mirrors;
    mirrors.pictureFailurePolicy = 1;

    ASSERT_EQ(saveOptions(path_, page, mirrors), SaveResult::Saved);
    // New keys go to the end of their section, before its blank line.
    EXPECT_EQ(fileText(),
              "[DL_PIC]\r\nfall=1\r\nqcllr=http://old/\r\ndownload=\xD5\xE6\r\nqcl=2\r\nzly=2\r\nxsby=2\r\nbmby=2\r\n"
              "qccx=2\r\nzdyzbb=2\r\nsssx=2\r\n\r\n[SAVE]\r\ntype=5\r\n");
    expectMirrors(mirrors, {1, 1, 5});
    EXPECT_EQ(saveResultMessage(SaveResult::Saved).title, "提示");
    EXPECT_EQ(saveResultMessage(SaveResult::Saved).text, "已经保存！");
}

TEST_F(OptionsFolder, SaveIntoAMissingFileCreatesItAndAFailedWriteIsReported) {
    CreateDirectoryW(folder_.c_str(), nullptr);
    OptionMirrors mirrors;
    ASSERT_EQ(saveOptions(path_, defaultPage(), mirrors), SaveResult::Saved);
    EXPECT_EQ(fileText(),
              "[DL_PIC]\r\ndownload=\xD5\xE6\r\nfall=3\r\nqcl=1\r\nzly=2\r\nxsby=2\r\nbmby=2\r\nqccx=2\r\nzdyzbb=2\r\n"
              "sssx=2\r\n[SAVE]\r\ntype=5\r\n");

    OptionMirrors untouched;
    const std::wstring nowhere = folder_ + L"\\missing\\options.ini";
    EXPECT_EQ(saveOptions(nowhere, defaultPage(), untouched), SaveResult::WriteFailed);
    expectMirrors(untouched, {0, 0, 0});
    EXPECT_FALSE(saveResultMessage(SaveResult::WriteFailed).text.empty());
}

}  // namespace
}  // namespace quorvane
