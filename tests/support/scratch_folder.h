#pragma once
// A fresh folder under the temporary folder for one test's files, removed
// with everything in it when the object goes: file by file, and a link is
// removed itself, never followed.
#include "text/codepage.h"

#include <windows.h>

#include <map>
#include <string>

namespace quorvane::test {

// Removes folder with everything in it, file by file; a link is removed
// itself, never followed: it may lead anywhere.
inline void removeFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeFolder(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

namespace scratch {

inline std::string contentOf(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(unreadable)";
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    CloseHandle(file);
    return content;
}

inline void collectFiles(const std::wstring& folder, const std::string& prefix,
                         std::map<std::string, std::string>& found) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L".." || (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        const std::wstring path = folder + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            collectFiles(path, prefix + wideToGbk(name) + "\\", found);
        } else {
            found[prefix + wideToGbk(name)] = contentOf(path);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

}  // namespace scratch

// Every file below folder (GBK), by its path relative to it, with its bytes;
// links are not followed.
inline std::map<std::string, std::string> filesUnder(const std::string& folder) {
    std::map<std::string, std::string> found;
    scratch::collectFiles(gbkToWide(folder), "", found);
    return found;
}

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = wideToGbk(temp) + name;
        removeFolder(gbkToWide(path_));
        CreateDirectoryW(gbkToWide(path_).c_str(), nullptr);
    }
    ~ScratchFolder() { removeFolder(gbkToWide(path_)); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // GBK, without a closing "\".
    const std::string& path() const { return path_; }
    std::map<std::string, std::string> files() const { return filesUnder(path_); }

private:
    std::string path_;
};

}  // namespace quorvane::test
