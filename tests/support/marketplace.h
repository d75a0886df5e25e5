#pragma once
// The loopback marketplace: one LoopbackServer that answers for the item
// pages, the shops' result pages, the item-data service, the open-platform
// gateway, the stock service, the property services and the descriptions
// with their pictures, from the files under tests/fixtures/marketplace/. Point the program at it with hostMap() as
// QUORVANE_HOST_MAP (read once per process, so set it before the first
// request).
#include "tests/support/loopback_server.h"
#include "tests/support/answer_faults.h"

#include <atomic>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// A row of the item list as the address analysis should make it.
struct ListRow {
    std::string name;
    std::string price;
    std::string address;
    std::string id;
    bool operator==(const ListRow&) const = default;
};
// Readable in a test's failure message.
inline void PrintTo(const ListRow& row, std::ostream* out) {
    *out << "{" << row.name << " | " << row.price << " | " << row.address << " | " << row.id << "}";
}

// Shops and category lists, with the result pages they are read from.
enum class ListingMode { Shop, List };  // 店铺 or 列表

struct Listing {
    const char* address;  // what a seller pastes into the address box
    ListingMode mode;
    int pages;                // the total of the first page's page indicator
    const char* resultCount;  // the count the first page announces
    const char* stem;         // listings/<stem>_rows.txt, and its pages
};

// 暖阳手作 (Taobao, GBK, current layout): the four items of item_list.txt in
// its order over 3 pages, so a whole run gives the expected packages.
extern const Listing kTaobaoShop;
// 小满杂货铺 (Taobao, GBK, older layout, an http address): the same four
// items over 2 pages.
extern const Listing kOlderLayoutShop;
// 轻羽官方旗舰店 (Tmall, UTF-8): 40 pages of 20 items, every page its own ids,
// which the item-data service does not know.
extern const Listing kTmallShop;
// Category lists, with ids the item-data service does not know: a scid list
// of 暖阳手作; a catId list of 轻羽, pasted also as its category-<id>.htm
// address; a base-address list of 暖阳手作, pasted by its searcy_type
// address and by a category- address with scid and "#bd".
extern const Listing kScidList;
extern const Listing kCatIdList;
extern const Listing kCategoryPageList;
extern const Listing kSearcyTypeList;
extern const Listing kCategoryScidList;
std::span<const Listing* const> listings();

// The listing's rows of pages first to last (from 1), in page order.
std::vector<ListRow> expectedRows(const Listing& listing, int firstPage, int lastPage);
std::vector<ListRow> expectedRows(const Listing& listing);

// Item pages for pasted item addresses, served at their addresses.
struct ItemPage {
    const char* address;   // the line a seller pastes
    const char* page;      // file under tests/fixtures/marketplace/
    bool plainFetchEmpty;  // only a request with the browser's agent gets it
};

// The pages of kTaobaoItem, kTmallItem and kItemDataItem (GBK with
// charset="gbk", UTF-8, UTF-8), each with an id marker of its own; the page
// of kNoTitleItem, which has no id marker.
extern const ItemPage kTaobaoItemPage;
extern const ItemPage kTmallItemPage;
extern const ItemPage kItemDataItemPage;
extern const ItemPage kNoTitleItemPage;
// Ids the item-data service does not know: the fourth id marker in GBK
// (charset=GBK) with a zero byte before the title; UTF-8 declaring
// charset=gbk; UTF-8 declaring charset="GBK", a "<title >" tag and blanks
// around the title; GBK whose plain fetch comes back empty.
extern const ItemPage kWalletItemPage;
extern const ItemPage kUnquotedGbkItemPage;
extern const ItemPage kQuotedGbkItemPage;
extern const ItemPage kBrowserOnlyItemPage;
std::span<const ItemPage* const> itemPages();

// The row the page gives: its title as spelled, no price, the address and
// the id; none when the page is refused for want of an id.
std::optional<ListRow> expectedRow(const ItemPage& page);

// Record secrets that the marketplace's sources accept.
inline constexpr std::string_view kEncipheredSourceSecret = "quorvane-mirror-88";

// Paths the marketplace answers on.
inline constexpr std::string_view kItemPagePath = "/item.htm";
inline constexpr std::string_view kItemDataPath = "/item_get";
inline constexpr std::string_view kGatewayPath = "/router/rest";
inline constexpr std::string_view kStockPath = "/service/getData/1/p1/item/detail/sib.htm";
inline constexpr std::string_view kStockByHostPath = "/json/sib.htm";
// Result pages are served under "/<shop host>/", see listings().

// What tells the request with the browser's cookies from the plain page
// request on the wire: the browser's agent in its User-Agent line.
inline constexpr std::string_view kBrowserAgentMark = "MSIE 8.0";

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
    // For timings: every item's description names `count` pictures of
    // `bytes` bytes each instead of its own (see description_services.h).
    void servePictureLoad(int count, std::size_t bytes);
    // The same with every picture answered as `picture` is (hostile answers).
    void servePictureLoad(int count, const Answer& picture);
    // From now on a share of the requests gets a fault (see answer_faults.h).
    void setFaults(FaultPlan plan);
    // Requests answered with each fault since setFaults (Fault::None first).
    std::array<std::uint64_t, kFaultKinds + 1> faultCounts() const;
    bool sentAsGarbage(const std::string& bytes) const { return faults_ && faults_->sentAsGarbage(bytes); }

private:
    Answer withDelay(Answer answer) const;

    LoopbackServer server_;
    std::atomic<int> delayMs_{0};
    std::shared_ptr<FaultInjector> faults_;
};

// The value of a name=value parameter in a query or form body; "" when absent.
std::string formValue(std::string_view text, std::string_view name);

// One marketplace for a whole test program, which every host of the host
// table is routed to: the address of routeHostsToSharedMarketplace() goes into
// QUORVANE_HOST_MAP, so it must run before the program's first request (a
// test program calls it while its statics are set up). True when it is set.
Marketplace& sharedMarketplace();
bool routeHostsToSharedMarketplace();

}  // namespace quorvane::test
