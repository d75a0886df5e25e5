#pragma once
// The program's side of the skin engine: the engine library is carried as
// bytes and mapped from memory once, and each call looks its export up by
// name and is skipped when the library or the export is missing. The
// engine's results are not looked at.
#include "toolkit/memory_library.h"

#include <windows.h>

#include <span>

namespace quorvane::toolkit {

// Set once at start-up; stays loaded until the process ends.
extern MemoryLibrary* skinModule;

// Maps the carried engine into skinModule (nullptr when that fails).
void loadSkinLibrary();

// No password gives the engine 0, not an empty text.
void attachSkin(std::span<const unsigned char> skin, const char* password = nullptr, int hue = 0, int saturation = 0,
                int brightness = 0);
void setSkinTitleBar(HWND window, int a = 1, int b = 22, int c = 0, int d = 0);
void adjustSkinHsv(int hue, int saturation, int value);
void detachSkin(HWND window);

}  // namespace quorvane::toolkit
