#pragma once
// Maps a DLL image that is held in memory into the process the way the
// system loader maps a file: reserved address range, headers and sections,
// base relocations, imports, section protection, entry point; exports by
// name; unloading. The image is checked once, before anything is mapped:
// it must be a DLL for this build's processor (PE32 in the 32-bit program,
// PE32+ in the 64-bit build) whose headers and section data lie inside the
// given bytes, whose sections, directories and entry point lie inside its
// image size, and whose sections lie clear of its headers. Every bound of
// the load comes from that check; nothing the load writes (sections,
// relocations, import addresses) may land on the headers.
#include <windows.h>

#include <span>
#include <string_view>

namespace quorvane::toolkit {

struct MemoryLibrary {
    IMAGE_NT_HEADERS* ntHeaders = nullptr;  // the mapped copy, read-only once loaded
    unsigned char* imageBase = nullptr;
    HMODULE* importedLibraries = nullptr;
    int importedLibraryCount = 0;
    bool attached = false;             // DLL_PROCESS_ATTACH returned success
    bool exceptionTableAdded = false;  // 64-bit: unwinding through the image works
};

// nullptr on any failure; the image is only read.
MemoryLibrary* loadLibraryFromMemory(std::span<const unsigned char> image);

// nullptr for a missing export (names compare case-sensitively), a
// forwarded one, and a library of nullptr.
const void* getMemoryProcAddress(const MemoryLibrary* library, std::string_view name);

// Detaches and releases; nullptr is ignored.
void freeMemoryLibrary(MemoryLibrary* library);

}  // namespace quorvane::toolkit
