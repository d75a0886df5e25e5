// The in-memory loader against a small DLL built here byte by byte: the
// well-formed one loads away from its preferred base with its relocation and
// import in place and its headers read-only; forged ones that would make the
// loader write over its own copy of the headers, or run or read outside the
// image, fail with 0 instead of taking the process down.
#include "tests/toolkit/image_view.h"
#include "toolkit/memory_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace quorvane::toolkit {
namespace {

#if defined(__i386__)
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
constexpr WORD kPointerRelocation = IMAGE_REL_BASED_HIGHLOW;
using ImportThunk = std::uint32_t;
#else
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
constexpr WORD kPointerRelocation = IMAGE_REL_BASED_DIR64;
using ImportThunk = std::uint64_t;
#endif

// Layout of the small DLL: headers in the first 0x200 bytes of the file and
// of the image; .data at 0x1000 (file 0x200) holding an absolute address,
// one import of kernel32's GetTickCount and its names; .reloc at 0x2000
// (file 0x400) with the one relocation of that address.
constexpr LONG kNtHeaders = 0x40;
constexpr DWORD kHeaderSize = 0x200;
constexpr DWORD kData = 0x1000, kDataFile = 0x200;
constexpr DWORD kReloc = 0x2000, kRelocFile = 0x400;
constexpr DWORD kImageSize = 0x3000;
constexpr DWORD kPointer = kData + 0x00;      // holds preferred base + kTarget
constexpr DWORD kTarget = kData + 0x100;      // what that address points at
constexpr DWORD kImports = kData + 0x20;      // descriptor and its terminator
constexpr DWORD kLookup = kData + 0x60;       // OriginalFirstThunk list
constexpr DWORD kAddresses = kData + 0x80;    // FirstThunk list
constexpr DWORD kHintName = kData + 0xA0;     // IMAGE_IMPORT_BY_NAME
constexpr DWORD kLibraryName = kData + 0xC0;  // "kernel32.dll"
// Two fields of the headers, at the same offset in the file and the image.
constexpr DWORD kSizeOfImageField = kNtHeaders + offsetof(IMAGE_NT_HEADERS, OptionalHeader.SizeOfImage);
constexpr DWORD kEntryPointField = kNtHeaders + offsetof(IMAGE_NT_HEADERS, OptionalHeader.AddressOfEntryPoint);

template <class T>
void put(Image& bytes, std::size_t offset, const T& value) {
    std::memcpy(bytes.data() + offset, &value, sizeof(value));
}

IMAGE_SECTION_HEADER section(const char* name, DWORD address, DWORD fileOffset, DWORD size, DWORD characteristics) {
    IMAGE_SECTION_HEADER header{};
    std::memcpy(header.Name, name, std::strlen(name));
    header.VirtualAddress = address;
    header.Misc.VirtualSize = size;
    header.PointerToRawData = fileOffset;
    header.SizeOfRawData = 0x200;
    header.Characteristics = characteristics;
    return header;
}

Image smallDll(std::uintptr_t preferredBase) {
    Image bytes(kRelocFile + 0x200, 0);
    auto& dos = *reinterpret_cast<IMAGE_DOS_HEADER*>(bytes.data());
    dos.e_magic = IMAGE_DOS_SIGNATURE;
    dos.e_lfanew = kNtHeaders;
    ImageView view(bytes);
    IMAGE_NT_HEADERS& nt = view.nt();
    nt.Signature = IMAGE_NT_SIGNATURE;
    nt.FileHeader.Machine = kMachine;
    nt.FileHeader.NumberOfSections = 2;
    nt.FileHeader.SizeOfOptionalHeader = sizeof(nt.OptionalHeader);
    nt.FileHeader.Characteristics = IMAGE_FILE_EXECUTABLE_IMAGE | IMAGE_FILE_DLL;
    auto& optional = nt.OptionalHeader;
    optional.Magic = kMagic;
    optional.ImageBase = preferredBase;
    optional.SectionAlignment = 0x1000;
    optional.FileAlignment = 0x200;
    optional.SizeOfImage = kImageSize;
    optional.SizeOfHeaders = kHeaderSize;
    optional.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
    optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT] = {kImports, 2 * sizeof(IMAGE_IMPORT_DESCRIPTOR)};
    optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC] = {kReloc, 12};
    view.sections()[0] = section(".data", kData, kDataFile, 0x200,
                                 IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE);
    view.sections()[1] = section(".reloc", kReloc, kRelocFile, 12,
                                 IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_DISCARDABLE);

    const auto file = [](DWORD rva) { return rva - kData + kDataFile; };
    put(bytes, file(kPointer), static_cast<std::uintptr_t>(preferredBase + kTarget));
    IMAGE_IMPORT_DESCRIPTOR descriptor{};
    descriptor.OriginalFirstThunk = kLookup;
    descriptor.Name = kLibraryName;
    descriptor.FirstThunk = kAddresses;
    put(bytes, file(kImports), descriptor);
    put(bytes, file(kLookup), ImportThunk{kHintName});
    put(bytes, file(kAddresses), ImportThunk{kHintName});
    std::memcpy(bytes.data() + file(kHintName) + 2, "GetTickCount", 13);
    std::memcpy(bytes.data() + file(kLibraryName), "kernel32.dll", 13);

    IMAGE_BASE_RELOCATION block{kData, 12};
    put(bytes, kRelocFile, block);
    put(bytes, kRelocFile + 8, static_cast<WORD>(kPointerRelocation << 12 | (kPointer - kData)));
    return bytes;
}

// Takes an address range so that an image preferring it must move, which
// is when relocations are applied.
class TakenRange {
public:
    TakenRange() : address_(VirtualAlloc(nullptr, kImageSize, MEM_RESERVE, PAGE_NOACCESS)) {}
    ~TakenRange() {
        if (address_) VirtualFree(address_, 0, MEM_RELEASE);
    }
    TakenRange(const TakenRange&) = delete;
    TakenRange& operator=(const TakenRange&) = delete;
    std::uintptr_t address() const { return reinterpret_cast<std::uintptr_t>(address_); }

private:
    void* address_;
};

DWORD protectionAt(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(address, &info, sizeof(info)) ? info.Protect : 0;
}

TEST(ForgedImage, TheSmallDllLoadsMovedWithItsRelocationAndImport) {
    const TakenRange taken;
    ASSERT_NE(taken.address(), 0u);
    MemoryLibrary* library = loadLibraryFromMemory(smallDll(taken.address()));
    ASSERT_NE(library, nullptr);
    unsigned char* base = library->imageBase;
    EXPECT_NE(reinterpret_cast<std::uintptr_t>(base), taken.address());
    std::uintptr_t pointer = 0;
    std::memcpy(&pointer, base + kPointer, sizeof(pointer));
    EXPECT_EQ(pointer, reinterpret_cast<std::uintptr_t>(base + kTarget));
    ImportThunk bound = 0;
    std::memcpy(&bound, base + kAddresses, sizeof(bound));
    EXPECT_EQ(bound, reinterpret_cast<ImportThunk>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount")));
    EXPECT_EQ(protectionAt(base), static_cast<DWORD>(PAGE_READONLY)) << "the headers, as checked, for the lookups";
    EXPECT_EQ(protectionAt(base + kData), static_cast<DWORD>(PAGE_READWRITE));
    EXPECT_EQ(library->ntHeaders->OptionalHeader.SizeOfImage, kImageSize);
    freeMemoryLibrary(library);
}

TEST(ForgedImage, ImagesThatWouldWriteOverTheirHeadersOrLeaveTheImageFail) {
    struct Case {
        const char* why;
        std::function<void(Image&)> forge;
    };
    const std::vector<Case> cases = {
        {"a first section at address 0 whose data is a forged header: copying it would replace the section "
         "table that the loader goes on reading with entries whose data lies far outside the file",
         [](Image& bytes) {
             ImageView view(bytes);
             const auto forgedAt = static_cast<DWORD>(bytes.size());
             Image forged(bytes.begin(), bytes.begin() + kHeaderSize);
             ImageView forgedView(forged);
             forgedView.nt().FileHeader.NumberOfSections = 0xFFFF;
             for (int i = 0; i < 3; ++i) forgedView.sections()[i].PointerToRawData = 0x7FFF0000;
             IMAGE_SECTION_HEADER* table = view.sections();
             std::memmove(table + 1, table, 2 * sizeof(IMAGE_SECTION_HEADER));
             table[0] = section(".head", 0, forgedAt, kHeaderSize, IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE);
             view.nt().FileHeader.NumberOfSections = 3;
             bytes.insert(bytes.end(), forged.begin(), forged.end());
         }},
        {"a relocation of the image size in the headers, which would widen the bound of the import reads",
         [](Image& bytes) {
             put(bytes, kRelocFile, IMAGE_BASE_RELOCATION{kSizeOfImageField, 12});
             put(bytes, kRelocFile + 8, static_cast<WORD>(kPointerRelocation << 12));
         }},
        {"an import address written over the entry point in the headers, which the loader then calls",
         [](Image& bytes) {
             put(bytes, kImports - kData + kDataFile + offsetof(IMAGE_IMPORT_DESCRIPTOR, FirstThunk),
                 kEntryPointField);
         }},
        {"an entry point past the end of the image",
         [](Image& bytes) { ImageView(bytes).nt().OptionalHeader.AddressOfEntryPoint = kImageSize + 0x1000; }},
        {"an import directory running past the end of the image",
         [](Image& bytes) {
             ImageView(bytes).directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress = kImageSize - 8;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const TakenRange taken;
        Image image = smallDll(taken.address());
        c.forge(image);
        MemoryLibrary* library = loadLibraryFromMemory(image);
        EXPECT_EQ(library, nullptr);
        freeMemoryLibrary(library);
    }
}

}  // namespace
}  // namespace quorvane::toolkit
