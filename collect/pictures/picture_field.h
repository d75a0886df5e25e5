#pragma once
// The entries of an item's picture field, each closed by "|;": how the
// seller tool finds each picture file of the package by its name.
#include <string>
#include <string_view>

namespace quorvane {

// A main picture at place index (from 0) among the item's main pictures,
// in the layout of packageFormat (4 or 5).
std::string mainPictureEntry(std::string_view name, int index, int packageFormat);

// A sale-property value's picture; pair is its pid:vid. The 4.X form when
// layout4X (单选框1 as it stands), the 5.X form otherwise.
std::string salePropertyPictureEntry(std::string_view name, std::string_view pair, bool layout4X);

}  // namespace quorvane
