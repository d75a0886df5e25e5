#pragma once
// The loopback marketplace: one LoopbackServer that answers for the item
// pages, the item-data service, the open-platform gateway and the stock
// service with the pages under tests/fixtures/marketplace/. Point the program
// at it with hostMap() as QUORVANE_HOST_MAP (read once per process, so set it
// before the first request).
#include "tests/support/loopback_server.h"

#include <atomic>
#include <span>
#include <string>
#include <string_view>

namespace quorvane::test {

struct MarketplaceItem {
    const char* id;
    const char* page;         // file under tests/fixtures/marketplace/
    const char* stockAnswer;  // the stock service's answer for it; "" for none
};

// A Taobao page in GBK; a Tmall page in UTF-8; the page as the item-data
// service gives it (UTF-8, older SKU map, stock service by host); a page
// whose item is gone (no title).
extern const MarketplaceItem kTaobaoItem;
extern const MarketplaceItem kTmallItem;
extern const MarketplaceItem kItemDataItem;
extern const MarketplaceItem kNoTitleItem;
// All four, in the order of item_list.txt (the list file to import).
std::span<const MarketplaceItem* const> marketplaceItems();

// Record secrets that the marketplace's sources accept.
inline constexpr std::string_view kEncipheredSourceSecret = "quorvane-mirror-88";

// Paths the marketplace answers on.
inline constexpr std::string_view kItemPagePath = "/item.htm";
inline constexpr std::string_view kItemDataPath = "/item_get";
inline constexpr std::string_view kGatewayPath = "/router/rest";
inline constexpr std::string_view kStockPath = "/service/getData/1/p1/item/detail/sib.htm";
inline constexpr std::string_view kStockByHostPath = "/json/sib.htm";

class Marketplace {
public:
    Marketplace();
    Marketplace(const Marketplace&) = delete;
    Marketplace& operator=(const Marketplace&) = delete;

    LoopbackServer& server() { return server_; }
    // Every marketplace and service host to this server.
    std::string hostMap() const;
    // Held before every answer's header (0: none), for time-outs and timings.
    void setAnswerDelay(std::chrono::milliseconds delay) { delayMs_ = static_cast<int>(delay.count()); }

private:
    Answer withDelay(Answer answer) const;

    LoopbackServer server_;
    std::atomic<int> delayMs_{0};
};

// The value of a name=value parameter in a query or form body; "" when absent.
std::string formValue(std::string_view text, std::string_view name);

}  // namespace quorvane::test
