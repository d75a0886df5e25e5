#pragma once
// The writer's clean-up of the package text: promotion tables and the
// hyperlinks of the descriptions. Each pattern runs over one quoted value at
// a time, so that a tag left open in one value never reaches into the next
// field or row. The patterns are read in linear time: a value crafted to make
// a backtracking engine give up is cleaned like any other.
#include <string>
#include <string_view>

namespace quorvane {

// Every table element, letter case ignored.
std::string removePromotionTables(std::string_view packageText);
// Every start and end tag of a link.
std::string removeHyperlinks(std::string_view packageText);
// The target of every link (its quotes already doubled in the package text)
// becomes address, taken literally.
std::string redirectHyperlinks(std::string_view packageText, std::string_view address);

}  // namespace quorvane
