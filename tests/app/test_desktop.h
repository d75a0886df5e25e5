#pragma once
// A desktop folder of the test's own. Wine links the prefix's desktop to the
// Linux home folder, which every prefix of every build shares, so tests that
// make the program write "on the desktop" move the user's desktop (the shell
// folder in HKCU) to a fresh temporary folder and put it back afterwards.
// The prefix is shared by the tests of a build: such tests hold the ctest
// lock "desktop".
#include "tests/app/program_in_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace quorvane::test {

inline bool folderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(gbkToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The desktop folder as the shell gives it, ending in "\".
inline std::string shellDesktopFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    std::string folder = wideToGbk(path);
    if (!folder.ends_with("\\")) folder += "\\";
    return folder;
}

// The seconds of a default package path, or -1 when the path is not the
// desktop folder + "Karvello生成数据包\csv" + decimal seconds + ".csv".
inline long long defaultPackageSeconds(const std::string& path, const std::string& desktopFolder) {
    const std::string head = desktopFolder + "Karvello生成数据包\\csv";
    if (!path.starts_with(head) || !path.ends_with(".csv")) return -1;
    const std::string digits = path.substr(head.size(), path.size() - head.size() - 4);
    if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoll(digits);
}

class TestDesktop {
public:
    TestDesktop() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + kFolderPrefix + std::to_wstring(GetCurrentProcessId());
        removeOurs();
        CreateDirectoryW(folder_.c_str(), nullptr);
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (RegQueryValueExW(key_, L"Desktop", nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            saved_.resize(size);
            hadValue_ = RegQueryValueExW(key_, L"Desktop", nullptr, &type_, saved_.data(), &size) == ERROR_SUCCESS;
        }
        // A run that was killed left its own folder in: the usual value then.
        if (hadValue_ && std::wstring(reinterpret_cast<const wchar_t*>(saved_.data()), saved_.size() / 2)
                                 .find(kFolderPrefix) != std::wstring::npos) {
            const std::wstring usual = L"%USERPROFILE%\\Desktop";
            type_ = REG_EXPAND_SZ;
            saved_.assign(reinterpret_cast<const BYTE*>(usual.c_str()),
                          reinterpret_cast<const BYTE*>(usual.c_str() + usual.size() + 1));
        }
        setValue(REG_SZ, reinterpret_cast<const BYTE*>(folder_.c_str()),
                 static_cast<DWORD>((folder_.size() + 1) * sizeof(wchar_t)));
    }
    ~TestDesktop() {
        if (key_) {
            if (hadValue_)
                setValue(type_, saved_.data(), static_cast<DWORD>(saved_.size()));
            else
                RegDeleteValueW(key_, L"Desktop");
            RegCloseKey(key_);
        }
        removeOurs();
    }
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    // The folder, ending in "\".
    std::string folder() const { return wideToGbk(folder_) + "\\"; }

private:
    static constexpr const wchar_t* kShellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr const wchar_t* kFolderPrefix = L"quorvane-desktop-";

    // Only the program's folder goes, and then the desktop folder if it is
    // empty: should the desktop ever be a link (Wine links a desktop that the
    // shell creates to the Linux home), nothing else in it may be touched.
    void removeOurs() const {
        removeFolder(folder_ + L"\\" + gbkToWide("Karvello生成数据包"));
        RemoveDirectoryW(folder_.c_str());
    }

    void setValue(DWORD type, const BYTE* data, DWORD size) { RegSetValueExW(key_, L"Desktop", 0, type, data, size); }

    std::wstring folder_;
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> saved_;
};

}  // namespace quorvane::test
