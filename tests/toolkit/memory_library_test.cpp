// The in-memory loader with our skin engine's spy build as the image: mapped
// at its own base or moved, its exports found and called, its sections
// protected, freed; and a table of damaged images that it refuses.
#include "tests/toolkit/image_view.h"
#include "toolkit/loader_apis.h"
#include "toolkit/memory_library.h"
#include "toolkit/skin_dll/skin_spy.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::toolkit {
namespace {

void* preferredBase() {
    Image image = spyImage();
    return reinterpret_cast<void*>(ImageView(image).nt().OptionalHeader.ImageBase);
}

bool addressIsFree(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(address, &info, sizeof(info)) && info.State == MEM_FREE;
}

// Holds the image's preferred address range so that the loader must move it.
class TakenBase {
public:
    TakenBase() {
        Image image = spyImage();
        reserved_ =
            VirtualAlloc(preferredBase(), ImageView(image).nt().OptionalHeader.SizeOfImage, MEM_RESERVE, PAGE_NOACCESS);
    }
    ~TakenBase() {
        if (reserved_) VirtualFree(reserved_, 0, MEM_RELEASE);
    }
    TakenBase(const TakenBase&) = delete;
    TakenBase& operator=(const TakenBase&) = delete;
    bool taken() const { return reserved_ == preferredBase(); }

private:
    void* reserved_ = nullptr;
};

const skin::SpyLog* spyLog(const MemoryLibrary* library) {
    const auto logExport = reinterpret_cast<skin::SpyLogExport>(getMemoryProcAddress(library, "SkinSpy_Log"));
    return logExport ? logExport() : nullptr;
}

using AdjustHsv = int(WINAPI*)(int, int, int);

TEST(LoaderApis, ElevenKernel32RoutinesInOrder) {
    LoaderApis apis;
    ASSERT_TRUE(resolveLoaderApis(apis));
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const void* expected[] = {
        reinterpret_cast<void*>(GetProcAddress(kernel32, "VirtualProtect")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "LoadLibraryA")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "VirtualAlloc")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "VirtualFree")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "IsBadReadPtr")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "GetProcessHeap")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "FreeLibrary")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "GetProcAddress")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "HeapFree")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "HeapAlloc")),
        reinterpret_cast<void*>(GetProcAddress(kernel32, "HeapReAlloc")),
    };
    static_assert(sizeof(LoaderApis) == sizeof(expected));
    void* resolved[11];
    std::memcpy(resolved, &apis, sizeof(resolved));
    for (int i = 0; i < 11; ++i) {
        EXPECT_NE(resolved[i], nullptr) << i;
        EXPECT_EQ(resolved[i], expected[i]) << i;
    }
}

TEST(MemoryLibrary, MapsAtItsPreferredBaseAndFindsItsExports) {
    ASSERT_TRUE(addressIsFree(preferredBase()));
    MemoryLibrary* library = loadLibraryFromMemory(spyImage());
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->imageBase, preferredBase());
    EXPECT_TRUE(library->attached);
    EXPECT_EQ(library->importedLibraryCount, 4) << "comctl32, gdi32, kernel32, user32";

    for (const char* name : {"SkinH_AttachRes", "SkinH_SetTitleMenuBar", "SkinH_AdjustHSV", "SkinH_DetachEx"}) {
        const void* address = getMemoryProcAddress(library, name);
        EXPECT_NE(address, nullptr) << name;
        EXPECT_GE(static_cast<const unsigned char*>(address), library->imageBase) << name;
    }
    EXPECT_EQ(getMemoryProcAddress(library, "skinh_adjusthsv"), nullptr) << "names compare case-sensitively";
    EXPECT_EQ(getMemoryProcAddress(library, "SkinH_AdjustHS"), nullptr);
    EXPECT_EQ(getMemoryProcAddress(library, "SkinH_AdjustHSVx"), nullptr);
    EXPECT_EQ(getMemoryProcAddress(nullptr, "SkinH_AdjustHSV"), nullptr);

    const skin::SpyLog* log = spyLog(library);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->processAttaches, 1);
    EXPECT_EQ(log->callCount, 0) << "zeroed data without raw bytes in the file";
    const auto adjust = reinterpret_cast<AdjustHsv>(getMemoryProcAddress(library, "SkinH_AdjustHSV"));
    EXPECT_EQ(adjust(1, 2, 3), 0) << "no skin attached";
    ASSERT_EQ(log->callCount, 1);
    EXPECT_STREQ(log->calls[0].exportName, "SkinH_AdjustHSV");

    unsigned char* base = library->imageBase;
    freeMemoryLibrary(library);
    EXPECT_TRUE(addressIsFree(base)) << "the whole image is released";
}

TEST(MemoryLibrary, SectionsGetTheProtectionOfTheirFlags) {
    Image image = spyImage();
    ImageView view(image);
    MemoryLibrary* library = loadLibraryFromMemory(image);
    ASSERT_NE(library, nullptr);
    for (WORD i = 0; i < view.sectionCount(); ++i) {
        const IMAGE_SECTION_HEADER& section = view.sections()[i];
        const std::string name(reinterpret_cast<const char*>(section.Name),
                               strnlen(reinterpret_cast<const char*>(section.Name), 8));
        SCOPED_TRACE(name);
        MEMORY_BASIC_INFORMATION info{};
        ASSERT_TRUE(VirtualQuery(library->imageBase + section.VirtualAddress, &info, sizeof(info)));
        const DWORD flags = section.Characteristics;
        if (flags & IMAGE_SCN_MEM_DISCARDABLE) {
            EXPECT_EQ(info.State, static_cast<DWORD>(MEM_RESERVE)) << "decommitted";
            continue;
        }
        const bool executable = flags & IMAGE_SCN_MEM_EXECUTE, readable = flags & IMAGE_SCN_MEM_READ,
                   writable = flags & IMAGE_SCN_MEM_WRITE;
        const DWORD expected = executable ? (writable   ? PAGE_EXECUTE_READWRITE
                                             : readable ? PAGE_EXECUTE_READ
                                                        : PAGE_EXECUTE)
                                          : (writable ? (readable ? PAGE_READWRITE : PAGE_WRITECOPY)
                                                      : (readable ? PAGE_READONLY : PAGE_NOACCESS));
        EXPECT_EQ(info.Protect, expected);
    }
    freeMemoryLibrary(library);
}

TEST(MemoryLibrary, MovedImageGetsItsRelocations) {
    const TakenBase taken;
    ASSERT_TRUE(taken.taken());
    MemoryLibrary* library = loadLibraryFromMemory(spyImage());
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library->imageBase, preferredBase());
    const skin::SpyLog* log = spyLog(library);
    ASSERT_NE(log, nullptr);
    const auto adjust = reinterpret_cast<AdjustHsv>(getMemoryProcAddress(library, "SkinH_AdjustHSV"));
    adjust(1, 2, 3);
    ASSERT_EQ(log->callCount, 1);
    // The name's address comes from a table of absolute addresses.
    const auto* name = reinterpret_cast<const unsigned char*>(log->calls[0].exportName);
    EXPECT_GE(name, library->imageBase);
    EXPECT_STREQ(log->calls[0].exportName, "SkinH_AdjustHSV");
    freeMemoryLibrary(library);
}

TEST(MemoryLibrary, ImageWithoutEntryPointLoadsUnattached) {
    Image image = spyImage();
    ImageView(image).nt().OptionalHeader.AddressOfEntryPoint = 0;
    MemoryLibrary* library = loadLibraryFromMemory(image);
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(library->attached);
    const skin::SpyLog* log = spyLog(library);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->processAttaches, 0);
    freeMemoryLibrary(library);
}

TEST(MemoryLibrary, DamagedImagesAreRefused) {
    struct Case {
        const char* why;
        std::function<void(ImageView&)> damage;
        bool moved = false;  // the damage matters only when the image must be moved
    };
    const std::vector<Case> cases = {
        {"empty", [](ImageView& v) { v.bytes.clear(); }},
        {"cut inside the DOS header", [](ImageView& v) { v.bytes.resize(32); }},
        {"cut inside the section table",
         [](ImageView& v) { v.bytes.resize(reinterpret_cast<unsigned char*>(v.sections() + 1) - v.bytes.data()); }},
        {"cut inside the last section's data",
         [](ImageView& v) {
             DWORD end = 0;
             for (WORD i = 0; i < v.sectionCount(); ++i)
                 end = std::max(end, v.sections()[i].PointerToRawData + v.sections()[i].SizeOfRawData);
             v.bytes.resize(end - 1);
         }},
        {"no MZ", [](ImageView& v) { v.dos().e_magic = 0x4D5A; }},
        {"NT headers past the end", [](ImageView& v) { v.dos().e_lfanew = static_cast<LONG>(v.bytes.size()); }},
        {"NT headers before the start", [](ImageView& v) { v.dos().e_lfanew = -8; }},
        {"no PE signature", [](ImageView& v) { v.nt().Signature = 0x00004551; }},
#if defined(__i386__)
        {"another machine", [](ImageView& v) { v.nt().FileHeader.Machine = IMAGE_FILE_MACHINE_AMD64; }},
#else
        {"another machine", [](ImageView& v) { v.nt().FileHeader.Machine = IMAGE_FILE_MACHINE_I386; }},
#endif
        {"an EXE", [](ImageView& v) { v.nt().FileHeader.Characteristics &= ~IMAGE_FILE_DLL; }},
        {"headers larger than the file",
         [](ImageView& v) { v.nt().OptionalHeader.SizeOfHeaders = static_cast<DWORD>(v.bytes.size() + 1); }},
        {"more sections than the headers hold", [](ImageView& v) { v.nt().FileHeader.NumberOfSections = 200; }},
        {"section data past the end of the file",
         [](ImageView& v) { v.sections()[0].PointerToRawData = static_cast<DWORD>(v.bytes.size()); }},
        {"section past the end of the image",
         [](ImageView& v) { v.sections()[0].VirtualAddress = v.nt().OptionalHeader.SizeOfImage; }},
        {"import of a library that does not exist", [](ImageView& v) { std::memcpy(v.text("GDI32.dll"), "GDX", 3); }},
        {"import of a routine that does not exist", [](ImageView& v) { std::memcpy(v.text("FrameRect"), "Fram_", 5); }},
        {"relocation block running past its directory",
         [](ImageView& v) {
             auto* block = reinterpret_cast<IMAGE_BASE_RELOCATION*>(
                 v.atRva(v.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).VirtualAddress));
             block->SizeOfBlock = v.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size + 2;
         },
         true},
        {"relocation block shorter than its header",
         [](ImageView& v) {
             reinterpret_cast<IMAGE_BASE_RELOCATION*>(
                 v.atRva(v.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).VirtualAddress))
                 ->SizeOfBlock = 4;
         },
         true},
        {"relocation directory past the end of the image",
         [](ImageView& v) { v.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size = v.nt().OptionalHeader.SizeOfImage; },
         true},
        {"relocations stripped", [](ImageView& v) { v.nt().FileHeader.Characteristics |= IMAGE_FILE_RELOCS_STRIPPED; },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Image image = spyImage();
        ImageView view(image);
        c.damage(view);
        {
            std::optional<TakenBase> taken;
            if (c.moved) {
                taken.emplace();
                ASSERT_TRUE(taken->taken());
            }
            MemoryLibrary* library = loadLibraryFromMemory(image);
            EXPECT_EQ(library, nullptr);
            freeMemoryLibrary(library);
        }
        EXPECT_TRUE(addressIsFree(preferredBase())) << "a refused image leaves nothing mapped";
    }
    // The same damage that needs a move does not matter at the image's own base.
    Image image = spyImage();
    ImageView(image).nt().FileHeader.Characteristics |= IMAGE_FILE_RELOCS_STRIPPED;
    MemoryLibrary* library = loadLibraryFromMemory(image);
    EXPECT_NE(library, nullptr);
    freeMemoryLibrary(library);
}

}  // namespace
}  // namespace quorvane::toolkit
