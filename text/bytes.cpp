#include "text/bytes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace quorvane {

std::string bytesToHex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xf];
    }
    return hex;
}

std::string pictureTypeOf(const Bytes& bytes) {
    struct Signature {
        const char* leading;
        const char* type;
    };
    // First match wins, so the order matters.
    static constexpr Signature kSignatures[] = {
        {"FFD8", "jpg"},
        {"0000020000", "tga"},
        {"0000100000", "tga"},
        {"474946383961", "gif"},
        {"474946383761", "gif"},
        {"89504E47", "png"},
        {"424D", "bmp"},
        {"0A", "pcx"},
        {"4D4D", "tiff"},
        {"4949", "tiff"},
        {"0000010001002020", "ico"},
        {"00001001002020", "ico"},
        {"0000020001002020", "cur"},
        {"464F524D", "iff"},
        {"52494646", "ani"},
    };
    const std::string hex = bytesToHex(Bytes(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 10)));
    for (const auto& signature : kSignatures)
        if (hex.starts_with(signature.leading)) return signature.type;
    return hex.substr(0, 10) + ".JPG";
}

long long hexToInteger(std::string_view hex) {
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    // Unsigned arithmetic: an over-long text wraps instead of overflowing.
    unsigned long long value = 0;
    for (char c : hex) {
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        const std::size_t position = kDigits.find(upper);
        // A character that is no hex digit counts as -1, as the stored lists have always been read.
        const long long digit = position == std::string_view::npos ? -1 : static_cast<long long>(position);
        value = value * 16 + static_cast<unsigned long long>(digit);
    }
    return static_cast<long long>(value);
}

std::string decipherHexString(std::string& list, std::string_view key, int /*unused*/) {
    std::erase(list, ',');

    std::string data;
    data.reserve(list.size() / 2 + 1);
    for (std::size_t p = 0; p < list.size(); p += 2)
        data += static_cast<char>(hexToInteger(std::string_view(list).substr(p, 2)));

    // Positions 1..256 of the original routine are indices 0..255 here, so
    // every "mod 256, plus 1" position p becomes the index p - 1.
    std::array<unsigned char, 256> state;
    std::array<unsigned char, 256> keyBlock{};
    for (int i = 0; i < 256; ++i) {
        state[i] = static_cast<unsigned char>(i);
        if (!key.empty()) keyBlock[i] = static_cast<unsigned char>(key[i % key.size()]);
    }
    int j = 0;
    for (int i = 1; i <= 256; ++i) {
        j = (j + state[i - 1] + keyBlock[i - 1]) % 256 + 1;
        std::swap(state[i - 1], state[j - 1]);
    }

    std::string output;
    output.reserve(data.size());
    int i = 0;
    j = 0;
    for (char d : data) {
        i = (i + 1) % 256 + 1;
        j = (j + state[i - 1]) % 256 + 1;
        std::swap(state[i - 1], state[j - 1]);
        const int t = (state[i - 1] + state[j - 1]) % 256 + 1;
        output += static_cast<char>(static_cast<unsigned char>(d) ^ state[t - 1]);
    }
    return output.substr(0, output.find('\0'));
}

}  // namespace quorvane
