#include "text/search.h"

#include <algorithm>

namespace quorvane {

namespace {

bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameAt(std::string_view text, std::size_t at, std::string_view sought, bool ignoreCase) {
    if (text.size() - at < sought.size()) return false;
    for (std::size_t k = 0; k < sought.size(); ++k) {
        char a = text[at + k], b = sought[k];
        if (a != b && !(ignoreCase && foldAscii(a) == foldAscii(b))) return false;
    }
    return true;
}

}  // namespace

int findLeft(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
    if (start < 1) start = 1;
    if (static_cast<std::size_t>(start) > text.size()) return -1;
    if (sought.empty()) return start;
    for (std::size_t at = start - 1; at < text.size(); at += isLeadByte(text[at]) ? 2 : 1) {
        if (sameAt(text, at, sought, ignoreCase)) return static_cast<int>(at) + 1;
    }
    return -1;
}

int findRight(std::string_view text, std::string_view sought, bool ignoreCase) {
    int last = -1;
    for (int at = findLeft(text, sought, 1, ignoreCase); at != -1;) {
        last = at;
        // Step one character on, so overlapping occurrences are seen too.
        int next = at + (isLeadByte(text[at - 1]) ? 2 : 1);
        at = findLeft(text, sought, next, ignoreCase);
    }
    return last;
}

std::string leftBytes(std::string_view text, int n) {
    if (n <= 0) return {};
    return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string rightBytes(std::string_view text, int n) {
    if (n <= 0) return {};
    std::size_t count = std::min(text.size(), static_cast<std::size_t>(n));
    return std::string(text.substr(text.size() - count));
}

std::string middleBytes(std::string_view text, int start, int n) {
    if (start < 1 || static_cast<std::size_t>(start) > text.size() || n <= 0) return {};
    return std::string(text.substr(start - 1, static_cast<std::size_t>(n)));
}

std::string replaceText(std::string_view text, std::string_view sought, std::string_view replacement, int start,
                        int count, bool caseSensitive) {
    if (sought.empty()) return std::string(text);
    if (start < 1) start = 1;
    std::string result(text.substr(0, std::min(text.size(), static_cast<std::size_t>(start - 1))));
    int from = start;
    for (int done = 0; count < 0 || done < count; ++done) {
        int at = findLeft(text, sought, from, !caseSensitive);
        if (at == -1) break;
        result.append(text.substr(from - 1, at - from));
        result.append(replacement);
        from = at + static_cast<int>(sought.size());
    }
    if (static_cast<std::size_t>(from - 1) < text.size()) result.append(text.substr(from - 1));
    return result;
}

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (delimiter.empty()) return {std::string(text)};
    int from = 1;
    for (int at; (at = findLeft(text, delimiter, from)) != -1;) {
        pieces.emplace_back(text.substr(from - 1, at - from));
        from = at + static_cast<int>(delimiter.size());
    }
    if (static_cast<std::size_t>(from - 1) < text.size()) pieces.emplace_back(text.substr(from - 1));
    return pieces;
}

std::string trimText(std::string_view text) {
    constexpr std::string_view fullWidthSpace = "\xA1\xA1";
    for (;;) {
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        else if (text.starts_with(fullWidthSpace)) text.remove_prefix(2);
        else break;
    }
    for (;;) {
        if (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        // A trailing A1 A1 is a full-width space only when it starts on a character boundary.
        else if (text.ends_with(fullWidthSpace) &&
                 findRight(text, fullWidthSpace) == static_cast<int>(text.size()) - 1)
            text.remove_suffix(2);
        else break;
    }
    return std::string(text);
}

namespace {

std::string withAsciiCase(std::string_view text, char from, char to) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (isLeadByte(result[i])) {
            ++i;
        } else if (result[i] >= from && result[i] <= static_cast<char>(from + 25)) {
            result[i] = static_cast<char>(result[i] - from + to);
        }
    }
    return result;
}

}  // namespace

std::string upperText(std::string_view text) { return withAsciiCase(text, 'a', 'A'); }
std::string lowerText(std::string_view text) { return withAsciiCase(text, 'A', 'a'); }

std::string bytesAsText(const Bytes& bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), 0);
    return std::string(bytes.begin(), end);
}

}  // namespace quorvane
