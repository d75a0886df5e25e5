#pragma once
// Conversions between GBK (the system's text), UTF-8, UTF-16 and Big5.
// UTF-16 data is a byte array of little-endian units. What other code pages
// call "the ANSI code page" is GBK here: the system's text is GBK whatever
// the machine is set to.
#include "text/types.h"

#include <string>
#include <string_view>

namespace quorvane {

inline constexpr unsigned kGbk = 936;
inline constexpr unsigned kBig5 = 950;
inline constexpr unsigned kUtf8 = 65001;

std::string utf8TextToGbk(std::string_view utf8);
Bytes multiByteToUtf16(std::string_view text, unsigned codePage = kUtf8);
std::string utf16ToMultiByte(const Bytes& utf16, unsigned codePage = kGbk);
std::string big5ToGbk(std::string_view big5);
std::string mapToSimplifiedChinese(std::string_view gbk);
std::string big5ToSimplifiedGbk(std::string_view big5);
std::string utf8BytesToAnsi(const Bytes& utf8);
std::string utf16ToAnsi(const Bytes& utf16);
Bytes gbkToUtf16(std::string_view gbk, bool dropTerminator = false);
Bytes utf16ToUtf8(const Bytes& utf16);
Bytes gbkToUtf8(std::string_view gbk);
int cStringLength(std::string_view text);

// For the Win32 edges: GBK text to and from wide strings.
std::wstring gbkToWide(std::string_view gbk);
std::string wideToGbk(std::wstring_view wide);

}  // namespace quorvane
