#pragma once
// Half-width and full-width forms of GBK text: the ASCII letters, digits,
// signs and the blank against their full-width characters.
#include <string>
#include <string_view>

namespace quorvane {

// Every ASCII character from the blank to "~" becomes its full-width form,
// so the result holds double-byte characters only.
std::string fullWidthText(std::string_view gbk);

// Every full-width letter, digit, sign and the full-width blank becomes its
// ASCII form; other characters stay.
std::string halfWidthText(std::string_view gbk);

}  // namespace quorvane
