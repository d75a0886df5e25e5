#pragma once
// What the spy build of the skin engine records for the tests: every call of
// its four exports with its arguments, the entry point's calls and the
// frame colour it paints with.
#include <windows.h>

#include <cstdint>

namespace quorvane::skin {

inline constexpr int kSpyCallCapacity = 64;

struct SpyCall {
    const char* exportName;  // a text inside the engine
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

// Exported undecorated by the spy build only.
using SpyLogExport = const SpyLog*(WINAPI*)();
using SpyIsSkinnedExport = BOOL(WINAPI*)(HWND);

}  // namespace quorvane::skin
