#pragma once
// Cleaning the many item addresses pasted into the address input window.
#include <string>

namespace quorvane {

// Drops one CR LF at the start and one at the end of text (written back), then
// returns it with every blank or white-space-only line between two lines
// removed; the remaining lines keep their own text, blanks included.
std::string removeBlankLines(std::string& text);

}  // namespace quorvane
