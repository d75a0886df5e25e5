#pragma once
#include <string>

namespace quorvane::bench {

// The list file of a benchmark run: the items of the fixture list that copy
// (the item without a title is left out, so every row is copied, selected
// and removed), repeated to `rows` lines.
std::string benchListText(int rows);

}  // namespace quorvane::bench
