#pragma once
// Icons from the bytes of an icon file (the published ICO format).
#include <windows.h>

#include <span>

namespace quorvane::toolkit {

// The icon of directory entry `index`; nullptr when the entry or its image
// lies outside the bytes or the image is no icon. width and height receive
// the entry's width and height bytes as they stand (0 means 256) whenever
// the entry itself lies inside the bytes. The caller owns the icon.
HICON iconFromIcoBytes(std::span<const unsigned char> bytes, int index = 0, int* width = nullptr,
                       int* height = nullptr);

}  // namespace quorvane::toolkit
