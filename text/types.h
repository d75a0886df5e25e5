#pragma once
// The two value types every part of the system passes around: a text is GBK
// bytes (no zero byte inside), a byte array may hold anything.
#include <string>
#include <vector>

namespace quorvane {

using Bytes = std::vector<unsigned char>;

inline constexpr const char* kTrueText = "真";
inline constexpr const char* kFalseText = "假";

}  // namespace quorvane
