#include "toolkit/memory_library.h"

#include "toolkit/loader_apis.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quorvane::toolkit {
namespace {

#if defined(__i386__)
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kOptionalHeaderMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
constexpr WORD kPointerRelocation = IMAGE_REL_BASED_HIGHLOW;
using ImportThunk = std::uint32_t;
constexpr ImportThunk kImportByOrdinal = IMAGE_ORDINAL_FLAG32;
#else
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kOptionalHeaderMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
constexpr WORD kPointerRelocation = IMAGE_REL_BASED_DIR64;
using ImportThunk = std::uint64_t;
constexpr ImportThunk kImportByOrdinal = IMAGE_ORDINAL_FLAG64;
#endif
using ImageAddress = std::uintptr_t;

using DllEntry = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

// Indexed by executable × 4 + readable × 2 + writable.
constexpr DWORD kSectionProtection[8] = {PAGE_NOACCESS,     PAGE_WRITECOPY,        PAGE_READONLY,
                                         PAGE_READWRITE,    PAGE_EXECUTE,          PAGE_EXECUTE_WRITECOPY,
                                         PAGE_EXECUTE_READ, PAGE_EXECUTE_READWRITE};

// An image's bytes with every read checked against their length.
class Bounded {
public:
    Bounded(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    bool holds(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
    template <class T>
    const T* at(std::uint64_t offset) const {
        return holds(offset, sizeof(T)) ? reinterpret_cast<const T*>(data_ + offset) : nullptr;
    }
    template <class T>
    T* mutableAt(std::uint64_t offset) const {
        return const_cast<T*>(at<T>(offset));
    }
    // A NUL-terminated text that ends inside.
    const char* text(std::uint64_t offset) const {
        if (offset >= size_) return nullptr;
        const void* end = std::memchr(data_ + offset, 0, size_ - offset);
        return end ? reinterpret_cast<const char*>(data_ + offset) : nullptr;
    }
    const unsigned char* data() const { return data_; }

private:
    const unsigned char* data_;
    std::size_t size_;
};

const IMAGE_DATA_DIRECTORY* directoryOf(const IMAGE_NT_HEADERS& nt, int index) {
    const IMAGE_DATA_DIRECTORY& directory = nt.OptionalHeader.DataDirectory[index];
    if (static_cast<DWORD>(index) >= nt.OptionalHeader.NumberOfRvaAndSizes || !directory.Size) return nullptr;
    return &directory;
}

// The headers of a DLL for this processor, whose headers and sections lie
// inside the input and whose sections lie inside its image.
const IMAGE_NT_HEADERS* checkedHeaders(const Bounded& input) {
    const auto* dos = input.at<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0) return nullptr;
    const auto ntOffset = static_cast<std::uint64_t>(dos->e_lfanew);
    const auto* nt = input.at<IMAGE_NT_HEADERS>(ntOffset);
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    const IMAGE_FILE_HEADER& file = nt->FileHeader;
    const auto& optional = nt->OptionalHeader;
    if (file.Machine != kMachine || !(file.Characteristics & IMAGE_FILE_DLL) ||
        file.SizeOfOptionalHeader < sizeof(optional) || optional.Magic != kOptionalHeaderMagic)
        return nullptr;
    if (optional.NumberOfRvaAndSizes > IMAGE_NUMBEROF_DIRECTORY_ENTRIES || !optional.SectionAlignment ||
        !optional.SizeOfImage || optional.SizeOfHeaders > optional.SizeOfImage ||
        !input.holds(0, optional.SizeOfHeaders))
        return nullptr;
    const std::uint64_t sections = ntOffset + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + file.SizeOfOptionalHeader;
    const std::uint64_t sectionTableEnd =
        sections + std::uint64_t{file.NumberOfSections} * sizeof(IMAGE_SECTION_HEADER);
    if (sectionTableEnd > optional.SizeOfHeaders) return nullptr;
    for (WORD i = 0; i < file.NumberOfSections; ++i) {
        const auto* section = input.at<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
        const std::uint64_t end =
            std::uint64_t{section->VirtualAddress} + std::max(section->SizeOfRawData, section->Misc.VirtualSize);
        if (end > optional.SizeOfImage || !input.holds(section->PointerToRawData, section->SizeOfRawData))
            return nullptr;
    }
    return nt;
}

std::uint64_t sectionSize(const IMAGE_SECTION_HEADER& section) {
    return section.Misc.VirtualSize ? section.Misc.VirtualSize : section.SizeOfRawData;
}

// Sections are copied into the committed image; the commit leaves every
// byte beyond the raw data zero.
void copySections(const MemoryLibrary& library, const Bounded& input) {
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(library.ntHeaders);
    for (WORD i = 0; i < library.ntHeaders->FileHeader.NumberOfSections; ++i, ++section)
        if (section->SizeOfRawData)
            std::memcpy(library.imageBase + section->VirtualAddress, input.data() + section->PointerToRawData,
                        section->SizeOfRawData);
}

bool relocate(const MemoryLibrary& library, ImageAddress delta) {
    if (!delta) return true;
    const IMAGE_NT_HEADERS& nt = *library.ntHeaders;
    // Code whose relocations were stripped cannot run at another address;
    // an image without any (position-independent code) needs none.
    if (nt.FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED) return false;
    const IMAGE_DATA_DIRECTORY* directory = directoryOf(nt, IMAGE_DIRECTORY_ENTRY_BASERELOC);
    if (!directory) return true;
    const Bounded image(library.imageBase, nt.OptionalHeader.SizeOfImage);
    if (!image.holds(directory->VirtualAddress, directory->Size)) return false;
    const Bounded blocks(library.imageBase + directory->VirtualAddress, directory->Size);
    std::uint64_t offset = 0;
    while (const auto* block = blocks.at<IMAGE_BASE_RELOCATION>(offset)) {
        if (!block->VirtualAddress) break;
        if (block->SizeOfBlock < sizeof(IMAGE_BASE_RELOCATION) || !blocks.holds(offset, block->SizeOfBlock))
            return false;
        const auto* entries = reinterpret_cast<const WORD*>(block + 1);
        const std::size_t count = (block->SizeOfBlock - sizeof(IMAGE_BASE_RELOCATION)) / sizeof(WORD);
        for (std::size_t i = 0; i < count; ++i) {
            if (entries[i] >> 12 != kPointerRelocation) continue;
            auto* target = image.mutableAt<ImageAddress>(std::uint64_t{block->VirtualAddress} + (entries[i] & 0xFFF));
            if (!target) return false;
            ImageAddress value;
            std::memcpy(&value, target, sizeof(value));
            value += delta;
            std::memcpy(target, &value, sizeof(value));
        }
        offset += block->SizeOfBlock;
    }
    return true;
}

bool bindImports(MemoryLibrary& library, const LoaderApis& apis) {
    const IMAGE_DATA_DIRECTORY* directory = directoryOf(*library.ntHeaders, IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (!directory) return true;
    const Bounded image(library.imageBase, library.ntHeaders->OptionalHeader.SizeOfImage);
    const HANDLE heap = apis.getProcessHeap();
    for (std::uint64_t offset = directory->VirtualAddress;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = image.at<IMAGE_IMPORT_DESCRIPTOR>(offset);
        if (!descriptor || !descriptor->Name) return true;
        const char* name = image.text(descriptor->Name);
        if (!name) return false;
        const HMODULE module = apis.loadLibraryA(name);
        if (!module) return false;
        void* grown = apis.heapReAlloc(heap, HEAP_ZERO_MEMORY, library.importedLibraries,
                                       (library.importedLibraryCount + 1) * sizeof(HMODULE));
        if (!grown) {
            apis.freeLibrary(module);
            return false;
        }
        library.importedLibraries = static_cast<HMODULE*>(grown);
        library.importedLibraries[library.importedLibraryCount++] = module;

        const DWORD lookup = descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk;
        for (std::uint64_t i = 0;; ++i) {
            const auto* entry = image.at<ImportThunk>(lookup + i * sizeof(ImportThunk));
            auto* slot = image.mutableAt<ImportThunk>(descriptor->FirstThunk + i * sizeof(ImportThunk));
            if (!entry || !slot) return false;
            if (!*entry) break;
            FARPROC function = nullptr;
            if (*entry & kImportByOrdinal) {
                function = apis.getProcAddress(module, MAKEINTRESOURCEA(static_cast<WORD>(*entry & 0xFFFF)));
            } else {
                const char* functionName = image.text(*entry + offsetof(IMAGE_IMPORT_BY_NAME, Name));
                if (!functionName) return false;
                function = apis.getProcAddress(module, functionName);
            }
            if (!function) return false;
            *slot = reinterpret_cast<ImportThunk>(function);
        }
    }
}

// Each section gets the protection of its flags over its own size;
// discardable ones are decommitted.
bool protectSections(const MemoryLibrary& library, const LoaderApis& apis) {
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(library.ntHeaders);
    for (WORD i = 0; i < library.ntHeaders->FileHeader.NumberOfSections; ++i, ++section) {
        unsigned char* address = library.imageBase + section->VirtualAddress;
        const auto size = static_cast<SIZE_T>(sectionSize(*section));
        if (!size) continue;
        if (section->Characteristics & IMAGE_SCN_MEM_DISCARDABLE) {
            apis.virtualFree(address, size, MEM_DECOMMIT);
            continue;
        }
        const bool executable = section->Characteristics & IMAGE_SCN_MEM_EXECUTE;
        const bool readable = section->Characteristics & IMAGE_SCN_MEM_READ;
        const bool writable = section->Characteristics & IMAGE_SCN_MEM_WRITE;
        DWORD protection = kSectionProtection[executable * 4 + readable * 2 + writable];
        if (section->Characteristics & IMAGE_SCN_MEM_NOT_CACHED) protection |= PAGE_NOCACHE;
        DWORD old = 0;
        if (!apis.virtualProtect(address, size, protection, &old)) return false;
    }
    return true;
}

#if defined(__x86_64__)
bool addExceptionTable(MemoryLibrary& library) {
    const IMAGE_DATA_DIRECTORY* directory = directoryOf(*library.ntHeaders, IMAGE_DIRECTORY_ENTRY_EXCEPTION);
    if (!directory) return true;
    const Bounded image(library.imageBase, library.ntHeaders->OptionalHeader.SizeOfImage);
    if (!image.holds(directory->VirtualAddress, directory->Size)) return false;
    auto* functions = reinterpret_cast<PRUNTIME_FUNCTION>(library.imageBase + directory->VirtualAddress);
    library.exceptionTableAdded = RtlAddFunctionTable(functions, directory->Size / sizeof(RUNTIME_FUNCTION),
                                                      reinterpret_cast<DWORD64>(library.imageBase));
    return library.exceptionTableAdded;
}
#endif

DllEntry entryPointOf(const MemoryLibrary& library) {
    const DWORD entry = library.ntHeaders->OptionalHeader.AddressOfEntryPoint;
    return entry ? reinterpret_cast<DllEntry>(library.imageBase + entry) : nullptr;
}

}  // namespace

MemoryLibrary* loadLibraryFromMemory(std::span<const unsigned char> data) {
    LoaderApis apis;
    if (!resolveLoaderApis(apis) || data.empty()) return nullptr;
    const Bounded input(data.data(), data.size());
    const IMAGE_NT_HEADERS* headers = checkedHeaders(input);
    if (!headers) return nullptr;
    const auto& optional = headers->OptionalHeader;

    auto* base = static_cast<unsigned char*>(apis.virtualAlloc(reinterpret_cast<void*>(optional.ImageBase),
                                                               optional.SizeOfImage, MEM_RESERVE, PAGE_READWRITE));
    if (!base)
        base =
            static_cast<unsigned char*>(apis.virtualAlloc(nullptr, optional.SizeOfImage, MEM_RESERVE, PAGE_READWRITE));
    if (!base) return nullptr;
    const HANDLE heap = apis.getProcessHeap();
    auto* library = static_cast<MemoryLibrary*>(apis.heapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(MemoryLibrary)));
    if (!library) {
        apis.virtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }
    library->imageBase = base;
    library->importedLibraries = static_cast<HMODULE*>(apis.heapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(HMODULE)));

    bool loaded =
        library->importedLibraries && apis.virtualAlloc(base, optional.SizeOfImage, MEM_COMMIT, PAGE_READWRITE);
    if (loaded) {
        std::memcpy(base, data.data(), optional.SizeOfHeaders);
        library->ntHeaders =
            reinterpret_cast<IMAGE_NT_HEADERS*>(base + (reinterpret_cast<const unsigned char*>(headers) - data.data()));
        library->ntHeaders->OptionalHeader.ImageBase = reinterpret_cast<ImageAddress>(base);
        copySections(*library, input);
        loaded =
            relocate(*library, reinterpret_cast<ImageAddress>(base) - static_cast<ImageAddress>(optional.ImageBase)) &&
            bindImports(*library, apis) && protectSections(*library, apis);
#if defined(__x86_64__)
        loaded = loaded && addExceptionTable(*library);
#endif
    }
    if (loaded) {
        if (const DllEntry entry = entryPointOf(*library)) {
            loaded = entry(reinterpret_cast<HINSTANCE>(base), DLL_PROCESS_ATTACH, nullptr);
            library->attached = loaded;
        }
    }
    if (!loaded) {
        freeMemoryLibrary(library);
        return nullptr;
    }
    return library;
}

const void* getMemoryProcAddress(const MemoryLibrary* library, std::string_view name) {
    if (!library || !library->ntHeaders) return nullptr;
    const IMAGE_DATA_DIRECTORY* directory = directoryOf(*library->ntHeaders, IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (!directory) return nullptr;
    const Bounded image(library->imageBase, library->ntHeaders->OptionalHeader.SizeOfImage);
    const auto* exports = image.at<IMAGE_EXPORT_DIRECTORY>(directory->VirtualAddress);
    if (!exports || !exports->NumberOfNames || !exports->NumberOfFunctions) return nullptr;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        const auto* nameOffset = image.at<DWORD>(exports->AddressOfNames + std::uint64_t{i} * sizeof(DWORD));
        const char* exportName = nameOffset ? image.text(*nameOffset) : nullptr;
        if (!exportName || name != exportName) continue;
        const auto* ordinal = image.at<WORD>(exports->AddressOfNameOrdinals + std::uint64_t{i} * sizeof(WORD));
        if (!ordinal || *ordinal >= exports->NumberOfFunctions) return nullptr;
        const auto* function = image.at<DWORD>(exports->AddressOfFunctions + std::uint64_t{*ordinal} * sizeof(DWORD));
        if (!function || !image.holds(*function, 1)) return nullptr;
        if (*function >= directory->VirtualAddress && *function - directory->VirtualAddress < directory->Size)
            return nullptr;  // a forwarder's text, not code
        return library->imageBase + *function;
    }
    return nullptr;
}

void freeMemoryLibrary(MemoryLibrary* library) {
    if (!library) return;
    LoaderApis apis;
    if (!resolveLoaderApis(apis)) return;
    if (library->attached) {
        entryPointOf (*library)(reinterpret_cast<HINSTANCE>(library->imageBase), DLL_PROCESS_DETACH, nullptr);
        library->attached = false;
    }
#if defined(__x86_64__)
    if (library->exceptionTableAdded)
        RtlDeleteFunctionTable(reinterpret_cast<PRUNTIME_FUNCTION>(
            library->imageBase +
            library->ntHeaders->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXCEPTION].VirtualAddress));
#endif
    for (int i = 0; i < library->importedLibraryCount; ++i)
        if (library->importedLibraries[i] != reinterpret_cast<HMODULE>(-1))
            apis.freeLibrary(library->importedLibraries[i]);
    const HANDLE heap = apis.getProcessHeap();
    if (library->importedLibraries) apis.heapFree(heap, 0, library->importedLibraries);
    if (library->imageBase) apis.virtualFree(library->imageBase, 0, MEM_RELEASE);
    apis.heapFree(heap, 0, library);
}

}  // namespace quorvane::toolkit
