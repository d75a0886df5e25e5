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

// An address taken from a page or a description: one holding blanks,
// control characters or line breaks would carry text of the page into a
// request's lines, so it is not asked for.
constexpr bool isPlainAddress(std::string_view address) {
    for (char c : address)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return false;
    return true;
}

}  // namespace quorvane
