#include "app/handlers/address_state.h"

namespace quorvane {

namespace {

constexpr std::string_view kSingleItemHint = "请粘贴宝贝地址，双击可粘贴多个宝贝地址！";
constexpr std::string_view kListHint = "请粘贴列表地址";
constexpr std::string_view kShopHint = "请粘贴店铺地址";

}  // namespace

AddressState& addressState() {
    static AddressState state;
    return state;
}

std::string addressBoxHint(CollectionMode mode) {
    switch (mode) {
    case CollectionMode::List:
        return std::string(kListHint);
    case CollectionMode::Shop:
        return std::string(kShopHint);
    case CollectionMode::SingleItems:
        break;
    }
    return std::string(addressState().pastedAddressList.empty() ? kSingleItemHint : kPastedAddressesMarker);
}

bool isModeHint(std::string_view text) { return text == kSingleItemHint || text == kListHint || text == kShopHint; }

}  // namespace quorvane
