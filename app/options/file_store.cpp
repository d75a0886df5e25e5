#include "app/options/file_store.h"

#include "text/gunzip.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        if (!valid()) return false;
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
    }

private:
    HANDLE handle_;
};

bool writeNewFile(const std::wstring& path, std::string_view content) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const char* bytes = content.data();
    std::size_t left = content.size();
    while (left) {
        DWORD written = 0;
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(left, 1 << 20));
        if (!WriteFile(file.get(), bytes, part, &written, nullptr) || written == 0) return false;
        bytes += written;
        left -= written;
    }
    return FlushFileBuffers(file.get()) && file.close();
}

std::wstring temporaryPathFor(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
}

}  // namespace

bool readFileBytes(const std::wstring& path, Bytes& bytes) {
    bytes.clear();
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file.get(), bytes.data() + done, part, &read, nullptr)) {
            bytes.clear();
            return false;
        }
        if (read == 0) break;  // the file shrank while it was read
        done += read;
    }
    bytes.resize(done);
    return true;
}

bool replaceFileContent(const std::wstring& path, std::string_view content) {
    const std::wstring temporary = temporaryPathFor(path);
    if (writeNewFile(temporary, content) &&
        MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool createFileWhenMissing(const std::wstring& path, std::string_view content) {
    if (fileExists(path)) return true;
    const std::wstring temporary = temporaryPathFor(path);
    // No REPLACE_EXISTING: a file that appeared meanwhile is kept as it is.
    if (writeNewFile(temporary, content) && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return fileExists(path);
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring optionsFolder() { return programFolder() + L"options\\"; }

std::wstring optionsFilePath() { return optionsFolder() + L"options.ini"; }

}  // namespace quorvane
