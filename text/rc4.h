#pragma once
// The RC4 stream cipher, as the category-file service expects its file names.
#include "text/types.h"

#include <string_view>

namespace quorvane {

// data enciphered (or deciphered: the cipher is its own inverse) with key;
// an empty key acts as one zero byte.
Bytes rc4(std::string_view key, std::string_view data);

}  // namespace quorvane
