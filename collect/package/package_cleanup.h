#pragma once
// The writer's clean-up of the package text: promotion tables and the
// hyperlinks of the descriptions. Each pattern runs over one quoted value at
// a time, so that a tag left open in one value never reaches into the next
// field or row; a value whose matching fails (the regular-expression engine
// gives up on it) is kept as it stands and counted.
#include <string>
#include <string_view>

namespace quorvane {

struct CleanupResult {
    std::string text;
    int failedValues = 0;
};

// Every table element, letter case ignored.
CleanupResult removePromotionTables(std::string_view packageText);
// Every start and end tag of a link.
CleanupResult removeHyperlinks(std::string_view packageText);
// The target of every link (its quotes already doubled in the package text)
// becomes address, taken literally.
CleanupResult redirectHyperlinks(std::string_view packageText, std::string_view address);

}  // namespace quorvane
