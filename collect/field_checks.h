#pragma once
// What an id taken from a page or the item list must look like before it goes
// into an address, a header line or a file name.
#include <cstddef>
#include <string_view>

namespace quorvane {

// One or more ASCII digits and nothing else (item ids, category ids).
constexpr bool isDigitText(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Item ids have far fewer digits; a longer run is not an id.
inline constexpr std::size_t kLongestItemId = 20;

constexpr bool isItemIdText(std::string_view text) { return isDigitText(text) && text.size() <= kLongestItemId; }

}  // namespace quorvane
