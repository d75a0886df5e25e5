#pragma once
// The kernel32 routines the in-memory loader uses, found through the process
// environment block and kernel32's export directory rather than through the
// program's own imports.
#include <windows.h>

namespace quorvane::toolkit {

// In this order.
struct LoaderApis {
    decltype(&VirtualProtect) virtualProtect = nullptr;
    decltype(&LoadLibraryA) loadLibraryA = nullptr;
    decltype(&VirtualAlloc) virtualAlloc = nullptr;
    decltype(&VirtualFree) virtualFree = nullptr;
    decltype(&IsBadReadPtr) isBadReadPtr = nullptr;
    decltype(&GetProcessHeap) getProcessHeap = nullptr;
    decltype(&FreeLibrary) freeLibrary = nullptr;
    decltype(&GetProcAddress) getProcAddress = nullptr;
    decltype(&HeapFree) heapFree = nullptr;
    decltype(&HeapAlloc) heapAlloc = nullptr;
    decltype(&HeapReAlloc) heapReAlloc = nullptr;
};

// False when kernel32 or one of the eleven cannot be found.
[[nodiscard]] bool resolveLoaderApis(LoaderApis& table);

}  // namespace quorvane::toolkit
