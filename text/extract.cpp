#include "text/extract.h"

#include "text/regexp.h"
#include "text/search.h"

namespace quorvane {

namespace {

constexpr std::string_view kQuotePlaceholder = "#引号";

void replaceQuotePlaceholder(std::string& marker) {
    if (findLeft(marker, kQuotePlaceholder) != -1) marker = replaceText(marker, kQuotePlaceholder, "\"");
}

}  // namespace

std::string textBetween(std::string_view source, std::string& leftMarker, std::string& rightMarker, int start,
                        bool caseSensitive) {
    bool ignoreCase = !caseSensitive;
    replaceQuotePlaceholder(leftMarker);
    replaceQuotePlaceholder(rightMarker);
    int p = findLeft(source, leftMarker, start, ignoreCase);
    if (p == -1) return {};
    std::string rest = rightBytes(source, static_cast<int>(source.size()) - p - static_cast<int>(leftMarker.size()) + 1);
    int q = findLeft(rest, rightMarker, start, ignoreCase);
    if (q == -1) return {};
    return leftBytes(rest, q - 1);
}

std::string textBetween(std::string_view source, std::string_view leftMarker, std::string_view rightMarker, int start,
                        bool caseSensitive) {
    std::string left(leftMarker), right(rightMarker);
    return textBetween(source, left, right, start, caseSensitive);
}

std::string textBetweenMatchCase(std::string_view source, std::string_view leftMarker, std::string_view rightMarker,
                                 int start, bool ignoreCase) {
    std::string left(leftMarker), right(rightMarker);
    replaceQuotePlaceholder(left);
    replaceQuotePlaceholder(right);
    int p = findLeft(source, left, start, ignoreCase);
    if (p == -1) return {};
    p += static_cast<int>(left.size());
    int q = findLeft(source, right, p, ignoreCase);
    if (q == -1) return {};
    return middleBytes(source, p, q - p);
}

std::string textAfterLastMarker(std::string_view text, std::string_view marker, std::optional<int>, bool ignoreCase) {
    int p = findRight(text, marker, ignoreCase);
    if (p == -1) return {};
    return rightBytes(text, static_cast<int>(text.size()) - static_cast<int>(marker.size()) - p + 1);
}

std::string textLeftOfMarker(std::string_view text, std::string_view marker, int start, bool ignoreCase) {
    int p = findLeft(text, marker, start < 1 ? 1 : start, ignoreCase);
    if (p == -1) return {};
    return leftBytes(text, p - 1);
}

std::string textBetweenOpenEnds(std::string_view text, std::string_view leftMarker, std::string_view rightMarker) {
    std::string_view rest = text;
    if (!leftMarker.empty()) {
        int p = findLeft(text, leftMarker);
        if (p == -1) return {};
        rest = text.substr(p - 1 + leftMarker.size());
    }
    if (rightMarker.empty()) return std::string(rest);
    int q = findLeft(rest, rightMarker);
    if (q == -1) return {};
    return std::string(rest.substr(0, q - 1));
}

std::string nextTextBetween(std::string_view text, int& position, std::string_view anchor, std::string& leftMarker,
                            bool useLeftMarker, std::string_view rightMarker, bool ignoreCase, bool keepLeftMarker) {
    position = findLeft(text, anchor, position, ignoreCase);
    if (position == -1) return {};
    int s = position;
    if (useLeftMarker) {
        s = findLeft(text, leftMarker, position, ignoreCase);
    } else {
        leftMarker = std::string(anchor);
    }
    if (s == -1) {
        position = -1;
        return {};
    }
    int e = findLeft(text, rightMarker, s + static_cast<int>(leftMarker.size()), ignoreCase);
    if (e == -1) e = static_cast<int>(text.size()) + 1;
    if (!keepLeftMarker) position = s + static_cast<int>(leftMarker.size());
    return middleBytes(text, position, e - position);
}

int extractAllBetween(std::string_view text, std::string_view beforeMarker, std::string_view afterMarker,
                      std::vector<std::string>& results) {
    results.clear();
    auto escape = [](std::string_view marker) {
        return replacePairs(marker, std::nullopt, 1, false, {{"?", "\\?"}, {"*", "\\*"}, {"+", "\\+"}});
    };
    std::string pattern = escape(beforeMarker) + "(.*?)" + escape(afterMarker);
    RegExpB regExp;
    regExp.execute(pattern, text);
    int count = regExp.matchCount();
    for (int i = 1; i <= count; ++i) results.push_back(regExp.subMatchText(i, 1));
    return static_cast<int>(results.size());
}

std::string replacePairs(std::string_view text, std::optional<int> count, int start, bool caseSensitive,
                         std::initializer_list<ReplacePair> pairs) {
    std::string result(text);
    for (const auto& [sought, replacement] : pairs) {
        result = replaceText(result, sought, replacement, start < 1 ? 1 : start, count.value_or(-1), caseSensitive);
    }
    return result;
}

int countLines(std::string_view text) { return static_cast<int>(splitText(text, "\r\n").size()); }

std::string lineAt(std::string_view text, int n) {
    auto lines = splitText(text, "\r\n");
    if (n <= 0 || n > static_cast<int>(lines.size())) return {};
    return lines[n - 1];
}

}  // namespace quorvane
