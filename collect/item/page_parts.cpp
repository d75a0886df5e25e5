#include "collect/item/page_parts.h"

#include "text/search.h"

#include <algorithm>

namespace quorvane {
namespace {

constexpr std::string_view kItemStart = "<li data-value=\"";

// The end of the item that starts at start: the next "<li", the third line
// end (CR and LF each count, as for the patterns' "."), or the byte bound,
// on a character boundary.
std::size_t itemEnd(std::string_view text, std::size_t start) {
    std::size_t at = start + kItemStart.size();
    const std::size_t bound = std::min(text.size(), start + kListItemBytes);
    for (int lineEnds = 0; at < bound;) {
        const char c = text[at];
        if ((c == '\r' || c == '\n') && ++lineEnds == 3) break;
        if (c == '<' && at + 2 < text.size() && (text[at + 1] == 'l' || text[at + 1] == 'L') &&
            (text[at + 2] == 'i' || text[at + 2] == 'I'))
            break;
        const std::size_t width = static_cast<unsigned char>(c) >= 0x80 ? 2 : 1;
        if (at + width > bound) break;
        at += width;
    }
    return at;
}

bool holdsAll(std::string_view item, std::initializer_list<std::string_view> required) {
    return std::all_of(required.begin(), required.end(),
                       [&](std::string_view text) { return findLeft(item, text, 1, true) != -1; });
}

// At most maxBytes of text from start, on a character boundary.
std::size_t boundedEnd(std::string_view text, std::size_t start, std::size_t maxBytes) {
    const std::size_t bound = std::min(text.size(), start + maxBytes);
    std::size_t at = start;
    while (at < bound) {
        const std::size_t width = static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
        if (at + width > bound) break;
        at += width;
    }
    return at;
}

}  // namespace

std::string skuEntriesText(std::string_view pageText) {
    constexpr std::string_view kEntryStart = "\";";
    std::string entries;
    for (int found = findLeft(pageText, kEntryStart); found != -1;) {
        const std::size_t start = static_cast<std::size_t>(found - 1);
        const int next = findLeft(pageText, kEntryStart, found + 1);
        const std::size_t end = std::min(next == -1 ? pageText.size() : static_cast<std::size_t>(next - 1),
                                         boundedEnd(pageText, start, kSkuEntryBytes));
        const std::string_view entry = pageText.substr(start, end - start);
        if (const std::size_t close = entry.find('}'); close != std::string_view::npos)
            entries.append(entry.substr(0, close + 1)).append("\n\n\n");
        found = next;
    }
    return entries;
}

std::string piecesText(std::string_view text, std::string_view start, std::span<const std::string_view> sequence) {
    std::string pieces;
    for (int found = findLeft(text, start, 1, true); found != -1;) {
        const int next = findLeft(text, start, found + static_cast<int>(start.size()), true);
        std::string_view piece =
            text.substr(static_cast<std::size_t>(found - 1),
                        next == -1 ? std::string_view::npos : static_cast<std::size_t>(next - found));
        piece = piece.substr(0, std::min(piece.size(), piece.find_first_of("\r\n")));
        int at = static_cast<int>(start.size()) + 1;
        for (const std::string_view part : sequence) {
            if (at == -1) break;
            const int partAt = findLeft(piece, part, at, true);
            at = partAt == -1 ? -1 : partAt + static_cast<int>(part.size());
        }
        if (at != -1) pieces.append(piece).append("\n");
        found = next;
    }
    return pieces;
}

std::string listItemsText(std::string_view pageText, std::initializer_list<std::string_view> required) {
    std::string items;
    for (int found = findLeft(pageText, kItemStart, 1, true); found != -1;) {
        const std::size_t start = static_cast<std::size_t>(found - 1);
        const std::size_t end = itemEnd(pageText, start);
        const std::string_view item = pageText.substr(start, end - start);
        if (holdsAll(item, required)) items.append(item).append("\n\n\n");
        found = end < pageText.size() ? findLeft(pageText, kItemStart, static_cast<int>(end) + 1, true) : -1;
    }
    return items;
}

}  // namespace quorvane
