// Our skin engine. It tints what it skins: the frame of the thread's
// captioned top-level windows, the borders of their bordered children and
// the menu bar of the window given the title-bar menu. The tint is an HSV
// shift of the skin file's colours. It runs without a C runtime, since a
// DLL mapped from memory gets no start-up code of the system loader.
#include "toolkit/skin_dll/skin_format.h"
#if defined(QUORVANE_SKIN_SPY)
#include "toolkit/skin_dll/skin_spy.h"
#endif

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

namespace {

using namespace quorvane::skin;

constexpr UINT_PTR kSubclassId = 0x534B494E;
constexpr int kMaxSkinned = 1024;
constexpr int kMaxDetached = 64;

struct Skin {
    bool loaded;
    COLORREF frame;
    COLORREF edge;
    int lines;
    unsigned char shades[kMaxShades];
};

struct Tint {
    int hue;         // degrees
    int saturation;  // percent, -100..100
    int value;       // percent, -100..100
};

// Every value starts zero: there is no start-up code to set them.
Skin skin;
Tint tint;
COLORREF frameColour;
COLORREF edgeColour;
HWND skinned[kMaxSkinned];
int skinnedCount;
HWND detached[kMaxDetached];
int detachedCount;
HWND menuWindow;
HBRUSH menuBrush;

#if defined(QUORVANE_SKIN_SPY)
const char* const kExportNames[] = {kSpyExportNames[0], kSpyExportNames[1], kSpyExportNames[2], kSpyExportNames[3]};
// The log is the named mapping's view while the engine is loaded; the
// image's own record stands in when no mapping can be made.
SpyLog ownSpyLog;
SpyLog* spyLog = &ownSpyLog;
HANDLE spyMapping;

void openSpyLog() {
    char name[kSpyMappingNameSize];
    spyMappingName(GetCurrentProcessId(), name);
    spyMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SpyLog), name);
    if (!spyMapping) return;
    if (void* view = MapViewOfFile(spyMapping, FILE_MAP_WRITE, 0, 0, sizeof(SpyLog))) {
        // An engine loaded earlier in this process may have left its calls.
        auto* bytes = static_cast<volatile unsigned char*>(view);
        for (unsigned i = 0; i < sizeof(SpyLog); ++i) bytes[i] = 0;
        spyLog = static_cast<SpyLog*>(view);
    }
}

void closeSpyLog() {
    if (spyLog != &ownSpyLog) UnmapViewOfFile(spyLog);
    spyLog = &ownSpyLog;
    if (spyMapping) CloseHandle(spyMapping);
    spyMapping = nullptr;
}

// Not inlined: the name comes from a table of addresses, which a mapped
// image that was moved holds right only when its relocations were applied.
__attribute__((noinline)) void record(int exportNumber, int count, std::intptr_t a = 0, std::intptr_t b = 0,
                                      std::intptr_t c = 0, std::intptr_t d = 0, std::intptr_t e = 0,
                                      std::intptr_t f = 0) {
    if (spyLog->callCount < kSpyCallCapacity) {
        SpyCall& call = spyLog->calls[spyLog->callCount];
        call.exportName = kExportNames[exportNumber];
        call.exportNumber = exportNumber;
        call.argumentCount = count;
        const std::intptr_t values[6] = {a, b, c, d, e, f};
        for (int i = 0; i < 6; ++i) call.arguments[i] = values[i];
    }
    ++spyLog->callCount;
}
#define SPY_RECORD(...) record(__VA_ARGS__)
#else
#define SPY_RECORD(...) ((void)0)
#endif

int clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

COLORREF shifted(COLORREF colour, const Tint& by) {
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int range = high - low;
    int hue = 0;
    if (range) {
        if (high == r)
            hue = 60 * (g - b) / range;
        else if (high == g)
            hue = 120 + 60 * (b - r) / range;
        else
            hue = 240 + 60 * (r - g) / range;
    }
    hue = ((hue + by.hue) % 360 + 360) % 360;
    const int saturation = clamp((high ? 255 * range / high : 0) * (100 + by.saturation) / 100, 0, 255);
    const int value = clamp(high * (100 + by.value) / 100, 0, 255);

    const int chroma = value * saturation / 255;
    const int sector = hue / 60;
    const int rising = chroma * (60 - (sector % 2 ? hue % 60 : 60 - hue % 60)) / 60;
    const int base = value - chroma;
    // Per sector of the hue circle: which of r, g, b takes the chroma, the
    // rising or falling part, and nothing.
    static const int order[6][3] = {{0, 1, 2}, {1, 0, 2}, {1, 2, 0}, {2, 1, 0}, {2, 0, 1}, {0, 2, 1}};
    int rgb[3] = {};
    rgb[order[sector][0]] = chroma;
    rgb[order[sector][1]] = rising;
    rgb[order[sector][2]] = 0;
    return RGB(base + rgb[0], base + rgb[1], base + rgb[2]);
}

COLORREF scaled(COLORREF colour, int percent) {
    return RGB(clamp(GetRValue(colour) * percent / 100, 0, 255), clamp(GetGValue(colour) * percent / 100, 0, 255),
               clamp(GetBValue(colour) * percent / 100, 0, 255));
}

bool isTopLevelFrame(HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    return !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION;
}

bool hasBorder(HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR extended = GetWindowLongPtrW(window, GWL_EXSTYLE);
    return (style & WS_BORDER) || (extended & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

int indexIn(HWND const* windows, int count, HWND window) {
    for (int i = 0; i < count; ++i)
        if (windows[i] == window) return i;
    return -1;
}

void frameRect(HDC dc, RECT rect, COLORREF colour) {
    if (HBRUSH brush = CreateSolidBrush(colour)) {
        FrameRect(dc, &rect, brush);
        DeleteObject(brush);
    }
}

void paintSkin(HWND window) {
    HDC dc = GetWindowDC(window);
    if (!dc) return;
    RECT outer;
    GetWindowRect(window, &outer);
    RECT rect = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
    if (isTopLevelFrame(window)) {
        for (int line = 0; line < skin.lines; ++line) {
            frameRect(dc, rect, scaled(frameColour, skin.shades[line]));
            InflateRect(&rect, -1, -1);
        }
    } else {
        frameRect(dc, rect, edgeColour);
    }
    ReleaseDC(window, dc);
}

LRESULT CALLBACK skinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);

void repaint(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN); }

void unskin(int index) {
    const HWND window = skinned[index];
    skinned[index] = skinned[--skinnedCount];
    if (!IsWindow(window)) return;
    RemoveWindowSubclass(window, skinProcedure, kSubclassId);
    repaint(window);
}

LRESULT CALLBACK skinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_NCPAINT:
    case WM_NCACTIVATE: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        paintSkin(window);
        return result;
    }
    case WM_NCDESTROY: {
        const int index = indexIn(skinned, skinnedCount, window);
        if (index >= 0) skinned[index] = skinned[--skinnedCount];
        RemoveWindowSubclass(window, skinProcedure, kSubclassId);
        if (window == menuWindow) menuWindow = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    default: return DefSubclassProc(window, message, wParam, lParam);
    }
}

void skinWindow(HWND window) {
    if (skinnedCount == kMaxSkinned || indexIn(skinned, skinnedCount, window) >= 0 ||
        indexIn(detached, detachedCount, window) >= 0)
        return;
    if (!SetWindowSubclass(window, skinProcedure, kSubclassId, 0)) return;
    skinned[skinnedCount++] = window;
    repaint(window);
}

BOOL CALLBACK skinChild(HWND window, LPARAM) {
    if (hasBorder(window)) skinWindow(window);
    return TRUE;
}

BOOL CALLBACK skinTopLevel(HWND window, LPARAM) {
    if (!isTopLevelFrame(window)) return TRUE;
    skinWindow(window);
    EnumChildWindows(window, skinChild, 0);
    return TRUE;
}

void applyMenuTint() {
    if (!menuWindow || !IsWindow(menuWindow)) return;
    HMENU menu = GetMenu(menuWindow);
    if (!menu) return;
    HBRUSH brush = CreateSolidBrush(scaled(frameColour, 130));
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = brush;
    SetMenuInfo(menu, &info);
    DrawMenuBar(menuWindow);
    if (menuBrush) DeleteObject(menuBrush);
    menuBrush = brush;
}

void clearMenuTint() {
    if (menuWindow && IsWindow(menuWindow)) {
        if (HMENU menu = GetMenu(menuWindow)) {
            MENUINFO info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIM_BACKGROUND;
            SetMenuInfo(menu, &info);
            DrawMenuBar(menuWindow);
        }
    }
    menuWindow = nullptr;
    if (menuBrush) DeleteObject(menuBrush);
    menuBrush = nullptr;
}

void retint() {
    frameColour = shifted(skin.frame, tint);
    edgeColour = shifted(skin.edge, tint);
#if defined(QUORVANE_SKIN_SPY)
    spyLog->frameColour = frameColour;
    spyLog->edgeColour = edgeColour;
#endif
    applyMenuTint();
    for (int i = 0; i < skinnedCount; ++i) repaint(skinned[i]);
}

// A whole file of ours, or nothing.
bool readSkin(const unsigned char* bytes, int size, Skin& into) {
    if (!bytes || size != static_cast<int>(kFileSize)) return false;
    for (int i = 0; i < 4; ++i)
        if (bytes[kMagicAt + i] != kMagic[i]) return false;
    if (read16(bytes + kVersionAt) != kVersion || read16(bytes + kHeaderSizeAt) != kHeaderSize ||
        read32(bytes + kFileSizeAt) != kFileSize ||
        read32(bytes + kChecksumAt) != checksum(bytes + kHeaderSize, kFileSize - kHeaderSize))
        return false;
    const int lines = bytes[kFrameLinesAt];
    if (lines > kMaxShades) return false;
    into.frame = read32(bytes + kFrameColourAt);
    into.edge = read32(bytes + kEdgeColourAt);
    into.lines = lines;
    for (int i = 0; i < lines; ++i) into.shades[i] = bytes[kShadesAt + i];
    into.loaded = true;
    return true;
}

}  // namespace

extern "C" {

// Our skin files carry no password; one that is given is not used.
__declspec(dllexport) int WINAPI
    SkinH_AttachRes(const unsigned char* bytes, int size, [[maybe_unused]] const char* password, int hue,
                    int saturation, int brightness) {
    SPY_RECORD(0, 6, reinterpret_cast<std::intptr_t>(bytes), size, reinterpret_cast<std::intptr_t>(password), hue,
               saturation, brightness);
    Skin read = {};
    if (!readSkin(bytes, size, read)) return 0;
    skin = read;
    tint = {hue, saturation, brightness};
    retint();
    EnumThreadWindows(GetCurrentThreadId(), skinTopLevel, 0);
    return 1;
}

// The window's menu bar takes the tint when `show` is not 0. The band's
// height and insets are taken and not used: the menu bar keeps the system's
// layout.
__declspec(dllexport) int WINAPI SkinH_SetTitleMenuBar(HWND window, int show, [[maybe_unused]] int height,
                                                       [[maybe_unused]] int left, [[maybe_unused]] int right) {
    SPY_RECORD(1, 5, reinterpret_cast<std::intptr_t>(window), show, height, left, right);
    if (!skin.loaded || !IsWindow(window)) return 0;
    clearMenuTint();
    if (show) {
        menuWindow = window;
        applyMenuTint();
    }
    return 1;
}

__declspec(dllexport) int WINAPI SkinH_AdjustHSV(int hue, int saturation, int value) {
    SPY_RECORD(2, 3, hue, saturation, value);
    if (!skin.loaded) return 0;
    tint = {hue, saturation, value};
    retint();
    return 1;
}

// The window leaves the skin for good: a later attach passes it by.
__declspec(dllexport) int WINAPI SkinH_DetachEx(HWND window) {
    SPY_RECORD(3, 1, reinterpret_cast<std::intptr_t>(window));
    if (!window) return 0;
    const int index = indexIn(skinned, skinnedCount, window);
    if (index >= 0) unskin(index);
    if (window == menuWindow) clearMenuTint();
    if (indexIn(detached, detachedCount, window) < 0 && detachedCount < kMaxDetached)
        detached[detachedCount++] = window;
    return 1;
}

#if defined(QUORVANE_SKIN_SPY)
__declspec(dllexport) const SpyLog* WINAPI SkinSpy_Log() { return spyLog; }

__declspec(dllexport) BOOL WINAPI SkinSpy_IsSkinned(HWND window) { return indexIn(skinned, skinnedCount, window) >= 0; }
#endif

// Unloading gives every window its own look back: nothing may call into the
// engine's memory once it is released.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
#if defined(QUORVANE_SKIN_SPY)
        openSpyLog();
        ++spyLog->processAttaches;
#endif
    } else if (reason == DLL_PROCESS_DETACH) {
        while (skinnedCount) unskin(skinnedCount - 1);
        clearMenuTint();
#if defined(QUORVANE_SKIN_SPY)
        closeSpyLog();
#endif
    }
    return TRUE;
}

}  // extern "C"
