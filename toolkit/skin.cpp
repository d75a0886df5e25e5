#include "toolkit/skin.h"

#include "toolkit/routine_call.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>

extern const unsigned char carriedSkinDll[];
extern const std::size_t carriedSkinDll_size;

namespace quorvane::toolkit {

MemoryLibrary* skinModule = nullptr;

namespace {

// Looked up at every call, so a missing export only skips that call.
void callSkinExport(const char* name, std::initializer_list<std::optional<std::intptr_t>> arguments) {
    if (const void* address = getMemoryProcAddress(skinModule, name)) callCodeAddress(address, nullptr, arguments);
}

std::intptr_t word(const void* address) { return reinterpret_cast<std::intptr_t>(address); }

}  // namespace

void loadSkinLibrary() {
    if (!skinModule) skinModule = loadLibraryFromMemory({carriedSkinDll, carriedSkinDll_size});
}

void attachSkin(std::span<const unsigned char> skin, const char* password, int hue, int saturation, int brightness) {
    callSkinExport("SkinH_AttachRes", {word(skin.data()), static_cast<std::intptr_t>(skin.size()), word(password), hue,
                                       saturation, brightness});
}

void setSkinTitleBar(HWND window, int a, int b, int c, int d) {
    callSkinExport("SkinH_SetTitleMenuBar", {word(window), a, b, c, d});
}

void adjustSkinHsv(int hue, int saturation, int value) { callSkinExport("SkinH_AdjustHSV", {hue, saturation, value}); }

void detachSkin(HWND window) { callSkinExport("SkinH_DetachEx", {word(window)}); }

}  // namespace quorvane::toolkit
