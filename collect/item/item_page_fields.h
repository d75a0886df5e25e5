#pragma once
// The first parsing step of an item: the page text and the basic fields
// (Tmall flag, title, category, row defaults, SKU map with prices and stocks,
// location, price, stock), with the stock service's answer for Taobao items.
#include "collect/item/item_fields.h"
#include "collect/run/worker_state.h"
#include "text/types.h"

#include <string>
#include <string_view>

namespace quorvane {

// Why an item cannot go on. Missing data is no reason (the fields stay
// empty); a value that would break its bare package column is.
enum class PageFieldsCheck { Ok, BadItemId, UnsafeBareField };

// item.itemId must be set. The fields are filled whatever the result, except
// that an item id that is not digits stops the step before any request. A
// refused item gets a log line that names the field and the reason.
[[nodiscard]] PageFieldsCheck readItemPageFields(ItemFields& item, const Bytes& itemData, WorkerRegexes& regexes,
                                                 const WorkerProgress& progress);

// The item-data answer as text: zero bytes become blanks, and a page that
// does not declare itself GBK is taken as UTF-8 and converted.
std::string itemPageText(const Bytes& itemData);

// The twelve HTML entities of titles, in their fixed order.
std::string decodeTitleEntities(std::string_view text);

struct Location {
    std::string province;
    std::string city;
};
Location splitLocation(std::string_view text);

}  // namespace quorvane
