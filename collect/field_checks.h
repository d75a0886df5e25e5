#pragma once
// What an id taken from a page or the item list must look like before it goes
// into an address, a header line or a file name.
#include <string_view>

namespace quorvane {

// One or more ASCII digits and nothing else (item ids, category ids).
constexpr bool isDigitText(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace quorvane
