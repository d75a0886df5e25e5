#pragma once
// The page range a seller narrows a long shop or category reading to, as the
// page range window checks it.
#include <string>
#include <string_view>

namespace quorvane {

// A reading of more pages than one asks in a go is narrowed by the seller
// in the page range window first.
bool asksPageRange(int pages);

// A page box's text: leading blanks skipped, an optional sign and the leading
// decimal digits; a text without leading digits reads 0. Saturates at the
// int range, so no typed number can wrap round into an accepted one.
int pageNumberOf(std::string_view text);

// The message that refuses pages from..to of a reading of lastPage pages, or
// "" for a range the window accepts: from at least 1 and below lastPage, to
// at most lastPage, from not after to, and at most 36 pages.
std::string pageRangeRefusal(int from, int to, int lastPage);

}  // namespace quorvane
