#include "text/files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
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
        if (!valid()) return true;
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view content, FileFlush flush) {
    while (!content.empty()) {
        DWORD written = 0;
        const auto part = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1 << 20));
        if (!WriteFile(file, content.data(), part, &written, nullptr) || written == 0) return false;
        content.remove_prefix(written);
    }
    return flush == FileFlush::Cached || FlushFileBuffers(file) != 0;
}

bool writeFile(const std::wstring& path, std::string_view content, FileFlush flush) {
    if (path.empty()) return false;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const bool written = writeAll(file.get(), content, flush);
    if (file.close() && written) return true;
    DeleteFileW(path.c_str());
    return false;
}

// A name of its own for every write, so that two threads replacing the same
// file never write into one temporary file.
std::wstring temporaryPathFor(const std::wstring& path) {
    static std::atomic<unsigned> writes{0};
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++writes) + L".tmp";
}

}  // namespace

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool createFolder(std::wstring path) {
    while (path.ends_with(L'\\')) path.pop_back();
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool readFileBytes(const std::wstring& path, Bytes& bytes) {
    bytes.clear();
    // A reader never keeps another thread from moving a new file over this one.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const auto part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
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

bool writeWholeFile(const std::wstring& path, std::string_view content) {
    return writeFile(path, content, FileFlush::ToDisk);
}

bool replaceFileContent(const std::wstring& path, std::string_view content, FileFlush flush) {
    const std::wstring temporary = temporaryPathFor(path);
    const DWORD through = flush == FileFlush::ToDisk ? MOVEFILE_WRITE_THROUGH : 0;
    if (writeFile(temporary, content, flush) &&
        MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | through))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool storeFileContent(const std::wstring& path, std::string_view content, FileFlush flush) {
    if (replaceFileContent(path, content, flush)) return true;
    Bytes held;
    return readFileBytes(path, held) &&
           std::string_view(reinterpret_cast<const char*>(held.data()), held.size()) == content;
}

bool createFileWhenMissing(const std::wstring& path, std::string_view content) {
    if (fileExists(path)) return true;
    const std::wstring temporary = temporaryPathFor(path);
    // No REPLACE_EXISTING: a file that appeared meanwhile is kept as it is.
    if (writeWholeFile(temporary, content) && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return fileExists(path);
}

}  // namespace quorvane
