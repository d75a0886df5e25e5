#pragma once
// Patterns of one shape, read in time linear in the text: an opening, then
// the fewest bytes possible (at least a minimum), then a closing; letters
// compared without case, byte by byte as a regular-expression engine over
// chars does (no step over GBK characters). "<TABLE[\s>][\s\S]*?</TABLE>" is
// the opening "<table", a first byte that is a blank or ">", and the closing
// "</table>". An engine that backtracks spends the square of the text on
// openings that are never closed; here each byte is looked at a bounded
// number of times.
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvane {

struct LazySpan {
    std::string_view opening;
    std::string_view closing;
    // Bytes between opening and closing, at least; a closing that starts
    // earlier is no closing for this opening.
    std::size_t minimumGap = 0;
    // When set, the first byte after the opening must pass it (minimumGap >= 1).
    bool (*firstGapByte)(char) = nullptr;
};

// A blank as the engine's "\s" knows it: space, tab, line feed, vertical tab,
// form feed, carriage return.
bool isBlankByte(char c);

// Every leftmost, shortest match of the alternatives (the first one wins
// where two start at the same place) replaced by replacement, taken literally;
// the search goes on after each match.
std::string replaceLazySpans(std::string_view text, std::initializer_list<LazySpan> alternatives,
                             std::string_view replacement);

}  // namespace quorvane
