// collect/properties: the item's properties and its category's data: the property list,
// the category cache and archive, property matching and the sale properties' finish.

#pragma once
// Sale properties and property matching: the page's sale-property values and
// the item's property list become the category's pid:vid pairs (cateProps),
// with aliases, custom values and the values the category does not list
// (propAlias, input_custom_cpv, inputPids, inputValues), under the options
// 选择框1, 2, 3 and 5.
#include "collect/item/item_fields.h"
#include "collect/run/worker_state.h"

#include <functional>
#include <string>
#include <string_view>

namespace quorvane {

// The pid given to a property the category does not know: 99900000 to
// 99999999, as decimal text.
using UnknownPidSource = std::function<std::string()>;
std::string randomUnknownPid();

// Reads pageText, isTmall, categoryJson and propertyList; writes cateProps,
// propAlias, input_custom_cpv, inputPids, inputValues and propertyList, and
// clears skuProps under 选择框2.
void matchProperties(ItemFields& item, WorkerRegexes& regexes, const OptionBoxes& options,
                     const UnknownPidSource& unknownPid = randomUnknownPid);

// After the pictures: the colour pids and the custom values under 选择框5,
// and the entities of propAlias and inputValues.
void finishSaleProperties(ItemFields& item, const OptionBoxes& options);

// An alias longer than 16 bytes keeps its first 8 characters when 选择框1 is
// checked; any other stays whole.
std::string cutAliasName(std::string_view alias, const OptionBoxes& options);

}  // namespace quorvane
