#pragma once
// What a bare field taken from a page or the item list must look like before
// it goes into an address, a header line or an unquoted package column.
#include <string_view>

namespace quorvane {

// One or more ASCII digits and nothing else (item ids, category ids, stocks).
constexpr bool isDigitText(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Digits, optionally followed by "." and more digits ("128", "128.00").
constexpr bool isPriceText(std::string_view text) {
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) return isDigitText(text);
    return isDigitText(text.substr(0, dot)) && isDigitText(text.substr(dot + 1));
}

}  // namespace quorvane
