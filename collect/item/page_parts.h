#pragma once
// The parts of an item page that its patterns read: the sale-property list
// items and the SKU entries. Those patterns backtrack over everything after
// their start that they can reach, and a page of items that do not end as
// they expect costs them seconds per line. Run on the parts alone, a page
// costs them the size of its parts, each bounded, instead of a power of its
// line lengths.
#include <span>
#include <string>
#include <string_view>

namespace quorvane {

// A list item is read from its '<li data-value="' (letter case ignored) up
// to the next "<li", its third line end or kListItemBytes, whichever comes
// first. Items without every text of required (letter case ignored; for
// example the closing tag the pattern ends with) cannot match and are left
// out. The items follow one another three line feeds apart, so no match runs
// from one into the next.
inline constexpr std::size_t kListItemBytes = 1024;
std::string listItemsText(std::string_view pageText, std::initializer_list<std::string_view> required = {});

// The SKU entries of a page, one after another three line feeds apart: each
// from its '";' up to the first "}" after it (which the SKU patterns end at
// or before), cut at the next '";' or kSkuEntryBytes; an entry without its
// "}" is left out.
inline constexpr std::size_t kSkuEntryBytes = 1024;
std::string skuEntriesText(std::string_view pageText);

// For a pattern that begins with start, holds no blank class and reads
// lazily up to each text of sequence in turn: the pieces of text that begin
// with start (letter case ignored), each up to the next start or its first
// line end, one a line, keeping only those that hold the texts of sequence
// one after another. Such a pattern finds in a kept piece its match at the
// first try, and in a left-out one none: over the whole text it tries every
// later text of the sequence on the line before it fails.
std::string piecesText(std::string_view text, std::string_view start, std::span<const std::string_view> sequence);

}  // namespace quorvane
