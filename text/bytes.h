#pragma once
// Hex texts, picture types from their first bytes, and the deciphering of the
// program's stored hex byte lists.
#include "text/types.h"

#include <string>
#include <string_view>

namespace quorvane {

std::string bytesToHex(const Bytes& bytes);
std::string pictureTypeOf(const Bytes& bytes);
long long hexToInteger(std::string_view hex);

// list is "0A,1B,FF," form; it is left without its commas.
std::string decipherHexString(std::string& list, std::string_view key, int unused = 1);

}  // namespace quorvane
