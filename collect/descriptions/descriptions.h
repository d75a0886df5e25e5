// collect/descriptions: the item's descriptions ready for the row, the references to the
// pictures they show and the download of those pictures beside the package.

#pragma once
// The item's description, subtitle and wireless description, ready for the
// package row: quotes doubled, picture addresses made absolute "http://"
// addresses, ".webp" suffixes dropped.
#include "collect/item/item_fields.h"
#include "collect/run/worker_state.h"

#include <string>
#include <string_view>

namespace quorvane {

// Reads itemId, pageText and isTmall; writes description, subtitle and
// wireless_desc. A Tmall description comes from the address its page names,
// a Taobao one from the mobile data service, the wireless description of
// both from that service; the answers are taken byte for byte. A failed
// request gives an empty text.
void readDescriptions(ItemFields& item, const WorkerProgress& progress);

// The joined pages of the mobile description answer, as wireless_desc
// holds them: "<wapDesc>" + pages + "</wapDesc>".
std::string wirelessDescriptionOf(std::string_view answer);

// The address fixes of a description whose quotes are doubled already.
std::string fixedDescriptionAddresses(std::string_view description);

}  // namespace quorvane
