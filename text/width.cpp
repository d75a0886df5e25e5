#include "text/width.h"

#include "text/codepage.h"

namespace quorvane {
namespace {

constexpr wchar_t kBlank = L' ';
constexpr wchar_t kFullWidthBlank = 0x3000;
constexpr wchar_t kFirstSign = L'!';
constexpr wchar_t kLastSign = L'~';
constexpr wchar_t kFullWidthOffset = 0xFEE0;  // U+FF01 is the full-width "!"

}  // namespace

std::string fullWidthText(std::string_view gbk) {
    std::wstring wide = gbkToWide(gbk);
    for (wchar_t& c : wide) {
        if (c == kBlank)
            c = kFullWidthBlank;
        else if (c >= kFirstSign && c <= kLastSign)
            c = static_cast<wchar_t>(c + kFullWidthOffset);
    }
    return wideToGbk(wide);
}

std::string halfWidthText(std::string_view gbk) {
    std::wstring wide = gbkToWide(gbk);
    for (wchar_t& c : wide) {
        if (c == kFullWidthBlank)
            c = kBlank;
        else if (c >= kFirstSign + kFullWidthOffset && c <= kLastSign + kFullWidthOffset)
            c = static_cast<wchar_t>(c - kFullWidthOffset);
    }
    return wideToGbk(wide);
}

}  // namespace quorvane
