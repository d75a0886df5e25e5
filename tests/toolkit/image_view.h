#pragma once
// Our skin engine's spy build as an image file, and field access into such
// a file for reading it and for damaging copies of it.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

extern const unsigned char carriedSkinSpyDll[];
extern const std::size_t carriedSkinSpyDll_size;

namespace quorvane::toolkit {

using Image = std::vector<unsigned char>;

inline Image spyImage() { return Image(carriedSkinSpyDll, carriedSkinSpyDll + carriedSkinSpyDll_size); }

// Field access into an image file, for reading and for damaging copies.
struct ImageView {
    explicit ImageView(Image& bytes) : bytes(bytes) {}
    IMAGE_DOS_HEADER& dos() { return *reinterpret_cast<IMAGE_DOS_HEADER*>(bytes.data()); }
    IMAGE_NT_HEADERS& nt() { return *reinterpret_cast<IMAGE_NT_HEADERS*>(bytes.data() + dos().e_lfanew); }
    IMAGE_SECTION_HEADER* sections() { return IMAGE_FIRST_SECTION(&nt()); }
    WORD sectionCount() { return nt().FileHeader.NumberOfSections; }
    IMAGE_SECTION_HEADER* sectionOf(DWORD rva) {
        for (WORD i = 0; i < sectionCount(); ++i) {
            IMAGE_SECTION_HEADER& s = sections()[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return &s;
        }
        return nullptr;
    }
    unsigned char* atRva(DWORD rva) {
        IMAGE_SECTION_HEADER* s = sectionOf(rva);
        return s ? bytes.data() + s->PointerToRawData + (rva - s->VirtualAddress) : nullptr;
    }
    IMAGE_DATA_DIRECTORY& directory(int index) { return nt().OptionalHeader.DataDirectory[index]; }
    // The first occurrence of a text in the file (a DLL or function name).
    char* text(const char* wanted) {
        const std::size_t length = std::strlen(wanted) + 1;
        for (std::size_t i = 0; i + length <= bytes.size(); ++i)
            if (std::memcmp(bytes.data() + i, wanted, length) == 0) return reinterpret_cast<char*>(bytes.data() + i);
        return nullptr;
    }
    // An export's name in the export directory's name table.
    char* exportName(std::string_view wanted) {
        const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
            atRva(directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress));
        const auto* names = reinterpret_cast<const DWORD*>(atRva(exports->AddressOfNames));
        for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
            char* name = reinterpret_cast<char*>(atRva(names[i]));
            if (wanted == name) return name;
        }
        return nullptr;
    }
    Image& bytes;
};

}  // namespace quorvane::toolkit
