#include "text/gunzip.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>

extern const unsigned char carriedGzipDll[];
extern const std::size_t carriedGzipDll_size;

namespace quorvane {
namespace {

constexpr std::size_t kChunkSize = 8192;
constexpr LONG kGzipFlags = 3;
constexpr HRESULT kStreamGoesOn = 0;

using InitDecompressionFunction = HRESULT(WINAPI*)();
using CreateDecompressionFunction = HRESULT(WINAPI*)(void**, LONG);
using DecompressFunction = HRESULT(WINAPI*)(void*, BYTE*, LONG, BYTE*, LONG, LONG*, LONG*);
using DestroyDecompressionFunction = HRESULT(WINAPI*)(void*);

struct GzipEntryPoints {
    InitDecompressionFunction init = nullptr;
    CreateDecompressionFunction create = nullptr;
    DecompressFunction decompress = nullptr;
    DestroyDecompressionFunction destroy = nullptr;
};

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = std::unique_ptr<void, FileCloser>;

template <typename Function>
Function entryPoint(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Loaded once and kept for the life of the process; tried again while the
// DLL cannot be loaded, since it may be written beside the program later.
const GzipEntryPoints* gzipEntryPoints() {
    static std::mutex lock;
    static GzipEntryPoints entries;
    std::lock_guard guard(lock);
    if (entries.decompress) return &entries;
    HMODULE library = LoadLibraryW((programFolder() + L"gzip.dll").c_str());
    if (!library) return nullptr;
    GzipEntryPoints found{entryPoint<InitDecompressionFunction>(library, "InitDecompression"),
                          entryPoint<CreateDecompressionFunction>(library, "CreateDecompression"),
                          entryPoint<DecompressFunction>(library, "Decompress"),
                          entryPoint<DestroyDecompressionFunction>(library, "DestroyDecompression")};
    if (!found.init || !found.create || !found.decompress || !found.destroy) {
        FreeLibrary(library);
        return nullptr;
    }
    entries = found;
    return &entries;
}

bool writeWholeFile(const std::wstring& path, const unsigned char* bytes, std::size_t size) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    while (size) {
        DWORD written = 0;
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 20));
        if (!WriteFile(file.get(), bytes, part, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return FlushFileBuffers(file.get()) != 0;
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

bool writeGzipDllWhenMissing() {
    const std::wstring folder = programFolder();
    const std::wstring path = folder + L"gzip.dll";
    if (fileExists(path)) return true;
    // Written under a name of its own and then renamed, so a write cut short
    // never leaves a half DLL under the name the loader looks for.
    const std::wstring temporary = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    if (writeWholeFile(temporary, carriedGzipDll, carriedGzipDll_size) &&
        MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return fileExists(path);  // another process may have written it meanwhile
}

Bytes gunzip(const Bytes& input) {
    Bytes result;
    const GzipEntryPoints* gzip = gzipEntryPoints();
    if (!gzip) return result;
    gzip->init();
    void* context = nullptr;
    if (gzip->create(&context, kGzipFlags) != S_OK || !context) return result;

    std::unique_ptr<BYTE[]> output(new BYTE[kChunkSize]);
    std::size_t position = 0;
    for (;;) {
        const LONG chunk = static_cast<LONG>(std::min(kChunkSize, input.size() - position));
        // The DLL does not write the input; its entry point is declared without const.
        BYTE* next = const_cast<BYTE*>(input.data()) + position;
        LONG used = 0;
        LONG produced = 0;
        const HRESULT status = gzip->decompress(context, chunk ? next : nullptr, chunk, output.get(),
                                                static_cast<LONG>(kChunkSize), &used, &produced);
        used = std::clamp<LONG>(used, 0, chunk);
        produced = std::clamp<LONG>(produced, 0, static_cast<LONG>(kChunkSize));
        result.insert(result.end(), output.get(), output.get() + produced);
        position += static_cast<std::size_t>(used);
        if (status != kStreamGoesOn) break;
        // A stream cut short: nothing left to read and nothing more to write.
        // A full buffer after the last input is not that; inflate may hold more.
        if (used == 0 && produced == 0) break;
    }
    gzip->destroy(context);
    return result;
}

}  // namespace quorvane
