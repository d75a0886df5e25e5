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

// A directory of the mapped headers, which are read-only once loaded.
const IMAGE_DATA_DIRECTORY* directoryOf(const IMAGE_NT_HEADERS& nt, int index) {
    const IMAGE_DATA_DIRECTORY& directory = nt.OptionalHeader.DataDirectory[index];
    if (static_cast<DWORD>(index) >= nt.OptionalHeader.NumberOfRvaAndSizes || !directory.Size) return nullptr;
    return &directory;
}

// Everything the load takes from the headers, read from the input once it is
// checked. Sections, relocations and imports write into the mapped image, so
// no bound is ever read back from the mapped copy of the headers.
struct CheckedImage {
    const IMAGE_NT_HEADERS* nt = nullptr;            // in the input
    const IMAGE_SECTION_HEADER* sections = nullptr;  // in the input
    WORD sectionCount = 0;
    ImageAddress preferredBase = 0;
    DWORD sizeOfImage = 0;
    DWORD sizeOfHeaders = 0;
    DWORD entryPoint = 0;
    bool relocationsStripped = false;
    IMAGE_DATA_DIRECTORY directories[IMAGE_NUMBEROF_DIRECTORY_ENTRIES] = {};

    const IMAGE_DATA_DIRECTORY* directory(int index) const {
        return directories[index].Size ? &directories[index] : nullptr;
    }
    // Where the loader may write: inside the image, clear of the headers.
    bool writable(std::uint64_t offset, std::uint64_t length) const {
        return offset >= sizeOfHeaders && offset <= sizeOfImage && length <= sizeOfImage - offset;
    }
};

// A DLL for this processor whose headers and section data lie inside the
// input, whose sections lie inside its image and clear of its headers, and
// whose directories and entry point lie inside its image.
bool checkImage(const Bounded& input, CheckedImage& checked) {
    const auto* dos = input.at<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0) return false;
    const auto ntOffset = static_cast<std::uint64_t>(dos->e_lfanew);
    const auto* nt = input.at<IMAGE_NT_HEADERS>(ntOffset);
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return false;
    const IMAGE_FILE_HEADER& file = nt->FileHeader;
    const auto& optional = nt->OptionalHeader;
    if (file.Machine != kMachine || !(file.Characteristics & IMAGE_FILE_DLL) ||
        file.SizeOfOptionalHeader < sizeof(optional) || optional.Magic != kOptionalHeaderMagic)
        return false;
    if (optional.NumberOfRvaAndSizes > IMAGE_NUMBEROF_DIRECTORY_ENTRIES || !optional.SectionAlignment ||
        !optional.SizeOfImage || optional.SizeOfHeaders > optional.SizeOfImage ||
        !input.holds(0, optional.SizeOfHeaders))
        return false;
    const std::uint64_t sections = ntOffset + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + file.SizeOfOptionalHeader;
    const std::uint64_t sectionTableEnd =
        sections + std::uint64_t{file.NumberOfSections} * sizeof(IMAGE_SECTION_HEADER);
    if (sectionTableEnd > optional.SizeOfHeaders) return false;

    checked.nt = nt;
    checked.sections = input.at<IMAGE_SECTION_HEADER>(sections);
    checked.sectionCount = file.NumberOfSections;
    checked.preferredBase = static_cast<ImageAddress>(optional.ImageBase);
    checked.sizeOfImage = optional.SizeOfImage;
    checked.sizeOfHeaders = optional.SizeOfHeaders;
    checked.entryPoint = optional.AddressOfEntryPoint;
    checked.relocationsStripped = file.Characteristics & IMAGE_FILE_RELOCS_STRIPPED;

    for (WORD i = 0; i < checked.sectionCount; ++i) {
        const IMAGE_SECTION_HEADER& section = checked.sections[i];
        const DWORD size = std::max(section.SizeOfRawData, section.Misc.VirtualSize);
        if (!checked.writable(section.VirtualAddress, size) ||
            !input.holds(section.PointerToRawData, section.SizeOfRawData))
            return false;
    }
    for (DWORD i = 0; i < optional.NumberOfRvaAndSizes; ++i) {
        const IMAGE_DATA_DIRECTORY& directory = optional.DataDirectory[i];
        // The certificate directory holds a file offset, and the image never
        // reads it.
        if (i == IMAGE_DIRECTORY_ENTRY_SECURITY || !directory.Size) continue;
        if (std::uint64_t{directory.VirtualAddress} + directory.Size > checked.sizeOfImage) return false;
        checked.directories[i] = directory;
    }
    return !checked.entryPoint || checked.writable(checked.entryPoint, 1);
}

std::uint64_t sectionSize(const IMAGE_SECTION_HEADER& section) {
    return section.Misc.VirtualSize ? section.Misc.VirtualSize : section.SizeOfRawData;
}

// Sections are copied into the committed image; the commit leaves every
// byte beyond the raw data zero.
void copySections(const MemoryLibrary& library, const CheckedImage& checked, const Bounded& input) {
    for (WORD i = 0; i < checked.sectionCount; ++i) {
        const IMAGE_SECTION_HEADER& section = checked.sections[i];
        if (section.SizeOfRawData)
            std::memcpy(library.imageBase + section.VirtualAddress, input.data() + section.PointerToRawData,
                        section.SizeOfRawData);
    }
}

bool relocate(const MemoryLibrary& library, const CheckedImage& checked, ImageAddress delta) {
    if (!delta) return true;
    // Code whose relocations were stripped cannot run at another address;
    // an image without any (position-independent code) needs none.
    if (checked.relocationsStripped) return false;
    const IMAGE_DATA_DIRECTORY* directory = checked.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC);
    if (!directory) return true;
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
            const std::uint64_t target = std::uint64_t{block->VirtualAddress} + (entries[i] & 0xFFF);
            if (!checked.writable(target, sizeof(ImageAddress))) return false;
            ImageAddress value;
            std::memcpy(&value, library.imageBase + target, sizeof(value));
            value += delta;
            std::memcpy(library.imageBase + target, &value, sizeof(value));
        }
        offset += block->SizeOfBlock;
    }
    return true;
}

bool bindImports(MemoryLibrary& library, const CheckedImage& checked, const LoaderApis& apis) {
    const IMAGE_DATA_DIRECTORY* directory = checked.directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (!directory) return true;
    const Bounded image(library.imageBase, checked.sizeOfImage);
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
        const DWORD addresses = descriptor->FirstThunk;
        for (std::uint64_t i = 0;; ++i) {
            const auto* entry = image.at<ImportThunk>(lookup + i * sizeof(ImportThunk));
            const std::uint64_t slot = addresses + i * sizeof(ImportThunk);
            if (!entry || !checked.writable(slot, sizeof(ImportThunk))) return false;
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
            const auto value = reinterpret_cast<ImportThunk>(function);
            std::memcpy(library.imageBase + slot, &value, sizeof(value));
        }
    }
}

// The headers become read-only, as the system loader leaves them, so that
// the export lookups and the unload read what was checked. Each section
// then gets the protection of its flags over its own size; discardable ones
// are decommitted.
bool protectImage(const MemoryLibrary& library, const CheckedImage& checked, const LoaderApis& apis) {
    DWORD old = 0;
    if (!apis.virtualProtect(library.imageBase, checked.sizeOfHeaders, PAGE_READONLY, &old)) return false;
    for (WORD i = 0; i < checked.sectionCount; ++i) {
        const IMAGE_SECTION_HEADER& section = checked.sections[i];
        unsigned char* address = library.imageBase + section.VirtualAddress;
        const auto size = static_cast<SIZE_T>(sectionSize(section));
        if (!size) continue;
        if (section.Characteristics & IMAGE_SCN_MEM_DISCARDABLE) {
            apis.virtualFree(address, size, MEM_DECOMMIT);
            continue;
        }
        const bool executable = section.Characteristics & IMAGE_SCN_MEM_EXECUTE;
        const bool readable = section.Characteristics & IMAGE_SCN_MEM_READ;
        const bool writable = section.Characteristics & IMAGE_SCN_MEM_WRITE;
        DWORD protection = kSectionProtection[executable * 4 + readable * 2 + writable];
        if (section.Characteristics & IMAGE_SCN_MEM_NOT_CACHED) protection |= PAGE_NOCACHE;
        if (!apis.virtualProtect(address, size, protection, &old)) return false;
    }
    return true;
}

#if defined(__x86_64__)
bool addExceptionTable(MemoryLibrary& library, const CheckedImage& checked) {
    const IMAGE_DATA_DIRECTORY* directory = checked.directory(IMAGE_DIRECTORY_ENTRY_EXCEPTION);
    if (!directory) return true;
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
    CheckedImage checked;
    if (!checkImage(input, checked)) return nullptr;

    auto* base = static_cast<unsigned char*>(apis.virtualAlloc(reinterpret_cast<void*>(checked.preferredBase),
                                                               checked.sizeOfImage, MEM_RESERVE, PAGE_READWRITE));
    if (!base)
        base =
            static_cast<unsigned char*>(apis.virtualAlloc(nullptr, checked.sizeOfImage, MEM_RESERVE, PAGE_READWRITE));
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
        library->importedLibraries && apis.virtualAlloc(base, checked.sizeOfImage, MEM_COMMIT, PAGE_READWRITE);
    if (loaded) {
        std::memcpy(base, data.data(), checked.sizeOfHeaders);
        library->ntHeaders = reinterpret_cast<IMAGE_NT_HEADERS*>(
            base + (reinterpret_cast<const unsigned char*>(checked.nt) - data.data()));
        library->ntHeaders->OptionalHeader.ImageBase = reinterpret_cast<ImageAddress>(base);
        copySections(*library, checked, input);
        loaded = relocate(*library, checked, reinterpret_cast<ImageAddress>(base) - checked.preferredBase) &&
                 bindImports(*library, checked, apis) && protectImage(*library, checked, apis);
#if defined(__x86_64__)
        loaded = loaded && addExceptionTable(*library, checked);
#endif
    }
    if (loaded && checked.entryPoint) {
        const auto entry = reinterpret_cast<DllEntry>(base + checked.entryPoint);
        loaded = entry(reinterpret_cast<HINSTANCE>(base), DLL_PROCESS_ATTACH, nullptr);
        library->attached = loaded;
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
