#pragma once
// What the address analysis keeps between clicks, on the interface thread:
// the collection mode, the addresses pasted through the address input window
// and the result pages still to read of the last shop or category.
#include "collect/addresses/address_analysis.h"

#include <string>
#include <string_view>

namespace quorvane {

enum class CollectionMode { SingleItems, List, Shop };

struct ShopListState {
    std::string shopHost;
    ListAddress list;  // list mode: the category's kind and key
    // The mode the analysis began in: a mode switch while pages are read
    // must not send the rest of the reading to another page family.
    CollectionMode mode = CollectionMode::SingleItems;
    int lastPage = 0;
    int pagesDone = 0;  // the next page read is pagesDone + 1
};

struct AddressState {
    CollectionMode collectionMode = CollectionMode::SingleItems;
    std::string pastedAddressList;  // CRLF-separated item addresses
    ShopListState shopList;
};

AddressState& addressState();

// The address box marker that stands for pastedAddressList.
inline constexpr std::string_view kPastedAddressesMarker = "已粘贴多行地址";

// The address box's hint of a mode; the single-item mode shows the marker
// while addresses are pasted.
std::string addressBoxHint(CollectionMode mode);
bool isModeHint(std::string_view text);

}  // namespace quorvane
