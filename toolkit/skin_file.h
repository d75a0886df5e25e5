#pragma once
// The skin file the program carries for its skin engine; handed over whole.
#include <span>

namespace quorvane::toolkit {

std::span<const unsigned char> carriedSkinFile();

}  // namespace quorvane::toolkit
