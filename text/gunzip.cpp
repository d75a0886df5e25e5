#include "text/gunzip.h"

#include "text/files.h"

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

}  // namespace

bool writeGzipDllWhenMissing() {
    // Written under a name of its own and then renamed, so a write cut short
    // never leaves a half DLL under the name the loader looks for.
    return createFileWhenMissing(
        programFolder() + L"gzip.dll",
        std::string_view(reinterpret_cast<const char*>(carriedGzipDll), carriedGzipDll_size));
}

std::optional<Bytes> gunzip(const Bytes& input, std::size_t maxOutputBytes) {
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
        if (static_cast<std::size_t>(produced) > maxOutputBytes - result.size()) {
            gzip->destroy(context);
            return std::nullopt;
        }
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
