#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// MD5 of the text's GBK bytes as 32 lower-case hex digits; with half, only
// the 9th to the 24th of them.
std::string md5Hex(std::string_view text, bool half = false);

}  // namespace quorvane
