#pragma once
// What the spy build of the skin engine records for the tests: every call of
// its four exports with its arguments, the entry point's calls and the
// frame colour it paints with. The record lives in a named mapping, so that
// a test can read it from outside a program that carries the spy build.
#include <windows.h>

#include <cstdint>

namespace quorvane::skin {

inline constexpr int kSpyCallCapacity = 64;

inline constexpr const char* kSpyExportNames[] = {"SkinH_AttachRes", "SkinH_SetTitleMenuBar", "SkinH_AdjustHSV",
                                                  "SkinH_DetachEx"};

struct SpyCall {
    const char* exportName;  // a text inside the engine, readable in its process only
    int exportNumber;        // index into kSpyExportNames
    int argumentCount;
    std::intptr_t arguments[6];
};

struct SpyLog {
    int processAttaches;
    int callCount;  // may exceed the capacity; the first calls are kept
    SpyCall calls[kSpyCallCapacity];
    COLORREF frameColour;
    COLORREF edgeColour;
};

// "Local\QuorvaneSkinSpy" and the process id in eight hex digits; the
// engine holds its log in the mapping of this name while it is loaded.
inline constexpr int kSpyMappingNameSize = 32;
inline void spyMappingName(DWORD processId, char (&name)[kSpyMappingNameSize]) {
    const char* prefix = "Local\\QuorvaneSkinSpy";
    int at = 0;
    for (; prefix[at]; ++at) name[at] = prefix[at];
    for (int shift = 28; shift >= 0; shift -= 4) name[at++] = "0123456789ABCDEF"[(processId >> shift) & 0xF];
    name[at] = 0;
}

// Exported undecorated by the spy build only.
using SpyLogExport = const SpyLog*(WINAPI*)();
using SpyIsSkinnedExport = BOOL(WINAPI*)(HWND);

}  // namespace quorvane::skin
