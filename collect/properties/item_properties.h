#pragma once
// The second parsing step of an item: its property table from the mobile
// detail service, as the property list, and the food-safety field that a
// food item's properties give.
#include "collect/item/item_fields.h"
#include "collect/run/worker_state.h"

#include <string>
#include <string_view>

namespace quorvane {

// item.itemId must be set; fills propertyList ("" when the service gives
// nothing usable).
void readItemProperties(ItemFields& item, WorkerRegexes& regexes);

// The property list of the service's answer (as text), read with regExp.
std::string propertyListOf(std::string_view answer, RegExpA& regExp);

// For a food item, fills foodparame and takes the food-safety entries out of
// propertyList; any other item keeps an empty foodparame.
void buildFoodSafetyField(ItemFields& item);

}  // namespace quorvane
