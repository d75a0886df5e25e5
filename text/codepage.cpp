#include "text/codepage.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace quorvane {

namespace {

std::wstring decode(std::string_view text, unsigned codePage) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string encode(std::wstring_view wide, unsigned codePage) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string text(n, '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

// A text handed to a decoding conversion ends at its first zero byte.
std::string_view upToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

Bytes unitsToBytes(std::wstring_view wide, bool terminate) {
    Bytes bytes((wide.size() + (terminate ? 1 : 0)) * 2, 0);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(wide[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(wide[i] >> 8);
    }
    return bytes;
}

std::wstring bytesToUnits(const Bytes& bytes) {
    std::wstring wide(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return wide;
}

std::wstring unitsUpToZero(const Bytes& bytes) {
    std::wstring wide = bytesToUnits(bytes);
    return wide.substr(0, wide.find(L'\0'));
}

}  // namespace

std::wstring gbkToWide(std::string_view gbk) { return decode(upToZero(gbk), kGbk); }
std::string wideToGbk(std::wstring_view wide) { return encode(wide, kGbk); }

Bytes multiByteToUtf16(std::string_view text, unsigned codePage) {
    return unitsToBytes(decode(upToZero(text), codePage), true);
}

std::string utf16ToMultiByte(const Bytes& utf16, unsigned codePage) { return encode(unitsUpToZero(utf16), codePage); }

std::string utf8TextToGbk(std::string_view utf8) { return utf16ToMultiByte(multiByteToUtf16(utf8, kUtf8), kGbk); }

std::string big5ToGbk(std::string_view big5) { return encode(decode(upToZero(big5), kBig5), kGbk); }

std::string mapToSimplifiedChinese(std::string_view gbk) {
    gbk = upToZero(gbk);
    if (gbk.empty()) return {};
    // The wide call keeps the mapping on GBK whatever the machine's ANSI page is.
    std::wstring wide = decode(gbk, kGbk);
    std::wstring mapped(wide.size(), L'\0');
    int n = LCMapStringW(MAKELCID(0x0804, SORT_DEFAULT), LCMAP_SIMPLIFIED_CHINESE, wide.data(),
                         static_cast<int>(wide.size()), mapped.data(), static_cast<int>(mapped.size()));
    if (n <= 0) return {};
    mapped.resize(n);
    return encode(mapped, kGbk);
}

std::string big5ToSimplifiedGbk(std::string_view big5) { return mapToSimplifiedChinese(big5ToGbk(big5)); }

std::string utf8BytesToAnsi(const Bytes& utf8) {
    std::string_view text(reinterpret_cast<const char*>(utf8.data()), utf8.size());
    return utf16ToAnsi(unitsToBytes(decode(text, kUtf8), false));
}

std::string utf16ToAnsi(const Bytes& utf16) { return encode(unitsUpToZero(utf16), kGbk); }

Bytes gbkToUtf16(std::string_view gbk, bool dropTerminator) {
    gbk = upToZero(gbk);
    if (gbk.empty()) return {};
    return unitsToBytes(decode(gbk, kGbk), !dropTerminator);
}

Bytes utf16ToUtf8(const Bytes& utf16) {
    std::string text = encode(bytesToUnits(utf16), kUtf8);
    return Bytes(text.begin(), text.end());
}

Bytes gbkToUtf8(std::string_view gbk) { return utf16ToUtf8(gbkToUtf16(gbk, false)); }

int cStringLength(std::string_view text) { return static_cast<int>(upToZero(text).size()); }

}  // namespace quorvane
