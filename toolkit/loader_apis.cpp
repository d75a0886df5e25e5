#include "toolkit/loader_apis.h"

#include <winternl.h>

#include <cstddef>
#include <cstring>
#include <cwchar>

namespace quorvane::toolkit {
namespace {

// The loader's records as the system keeps them (winternl.h names only a
// part of them).
struct LoaderData {
    ULONG length;
    BOOLEAN initialized;
    PVOID ssHandle;
    LIST_ENTRY inLoadOrder;
    LIST_ENTRY inMemoryOrder;
    LIST_ENTRY inInitializationOrder;
};

struct LoaderEntry {
    LIST_ENTRY inLoadOrder;
    LIST_ENTRY inMemoryOrder;
    LIST_ENTRY inInitializationOrder;
    PVOID dllBase;
    PVOID entryPoint;
    ULONG sizeOfImage;
    UNICODE_STRING fullDllName;
    UNICODE_STRING baseDllName;
};

// By its whole name: other modules have twelve-character names too
// (advapi32.dll, comctl32.dll).
bool isKernel32(const UNICODE_STRING& name) {
    constexpr wchar_t kName[] = L"kernel32.dll";
    constexpr std::size_t kLength = sizeof(kName) / sizeof(kName[0]) - 1;
    if (!name.Buffer || name.Length != kLength * sizeof(wchar_t)) return false;
    for (std::size_t i = 0; i < kLength; ++i) {
        wchar_t c = name.Buffer[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != kName[i]) return false;
    }
    return true;
}

const PEB* processEnvironmentBlock() {
    const PEB* block = nullptr;
#if defined(__i386__)
    asm("movl %%fs:0x30, %0" : "=r"(block));
#else
    asm("movq %%gs:0x60, %0" : "=r"(block));
#endif
    return block;
}

const unsigned char* kernel32Base() {
    const auto* loaderData = reinterpret_cast<const LoaderData*>(processEnvironmentBlock()->Ldr);
    const LIST_ENTRY* head = &loaderData->inInitializationOrder;
    for (const LIST_ENTRY* link = head->Flink; link && link != head; link = link->Flink) {
        const auto* entry = reinterpret_cast<const LoaderEntry*>(reinterpret_cast<const unsigned char*>(link) -
                                                                 offsetof(LoaderEntry, inInitializationOrder));
        if (isKernel32(entry->baseDllName)) return static_cast<const unsigned char*>(entry->dllBase);
    }
    return nullptr;
}

// GetProcAddress from kernel32's export names, searched from the last.
void* findGetProcAddress(const unsigned char* base) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!directory.VirtualAddress || !directory.Size) return nullptr;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
    for (DWORD i = exports->NumberOfNames; i-- > 0;) {
        if (std::strcmp(reinterpret_cast<const char*>(base + names[i]), "GetProcAddress") != 0) continue;
        if (ordinals[i] >= exports->NumberOfFunctions) return nullptr;
        const DWORD rva = functions[ordinals[i]];
        // An address inside the export directory names a forwarder, not code.
        if (rva >= directory.VirtualAddress && rva < directory.VirtualAddress + directory.Size) return nullptr;
        return const_cast<unsigned char*>(base + rva);
    }
    return nullptr;
}

template <class Function>
bool resolve(Function& slot, decltype(&GetProcAddress) getProcAddress, HMODULE kernel32, const char* name) {
    slot = reinterpret_cast<Function>(reinterpret_cast<void*>(getProcAddress(kernel32, name)));
    return slot != nullptr;
}

}  // namespace

bool resolveLoaderApis(LoaderApis& table) {
    table = LoaderApis{};
    const unsigned char* base = kernel32Base();
    if (!base) return false;
    table.getProcAddress = reinterpret_cast<decltype(&GetProcAddress)>(findGetProcAddress(base));
    if (!table.getProcAddress) return false;
    auto* kernel32 = reinterpret_cast<HMODULE>(const_cast<unsigned char*>(base));
    const auto get = table.getProcAddress;
    return resolve(table.virtualProtect, get, kernel32, "VirtualProtect") &&
           resolve(table.loadLibraryA, get, kernel32, "LoadLibraryA") &&
           resolve(table.virtualAlloc, get, kernel32, "VirtualAlloc") &&
           resolve(table.virtualFree, get, kernel32, "VirtualFree") &&
           resolve(table.isBadReadPtr, get, kernel32, "IsBadReadPtr") &&
           resolve(table.getProcessHeap, get, kernel32, "GetProcessHeap") &&
           resolve(table.freeLibrary, get, kernel32, "FreeLibrary") &&
           resolve(table.heapFree, get, kernel32, "HeapFree") && resolve(table.heapAlloc, get, kernel32, "HeapAlloc") &&
           resolve(table.heapReAlloc, get, kernel32, "HeapReAlloc");
}

}  // namespace quorvane::toolkit
