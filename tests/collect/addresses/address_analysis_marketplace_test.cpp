// The address analysis rules against the loopback marketplace: every shop and
// category list a seller can paste gives its result count, its page count
// and, page by page, the expected rows; every pasted item page gives its row.
// The host map is read once per process, so this program sets it before any
// request is made.
#include "collect/addresses/address_analysis.h"
#include "collect/addresses/list_page_items.h"
#include "collect/item/page_text.h"

#include "net/com_request.h"
#include "net/page_request.h"
#include "text/com.h"
#include "text/search.h"

#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>

namespace quorvane {
namespace {

using test::ItemPage;
using test::Listing;
using test::ListingMode;
using test::ListRow;

const bool mapSet = test::routeHostsToSharedMarketplace();

Bytes fetched(std::string address) { return fetchWebPage({.address = &address}); }

Bytes fetchedWithBrowserCookies(std::string address) {
    BrowserCookieRequest request;
    request.address = &address;
    return comRequestWithBrowserCookies(request);
}

// The kind each pasted list address must be classified as.
const std::map<const Listing*, ListKind> kListKinds = {
    {&test::kScidList, ListKind::ScidCategory},          {&test::kCatIdList, ListKind::CatIdCategory},
    {&test::kCategoryPageList, ListKind::CatIdCategory}, {&test::kSearcyTypeList, ListKind::BaseAddress},
    {&test::kCategoryScidList, ListKind::BaseAddress},
};

class AddressAnalysisMarketplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mapSet);
        test::sharedMarketplace().server().clearRequests();
    }

    ComScope com_;
};

// The result page address of page p (from 1) of a pasted listing, as the
// analysis forms it; the search page of a shop for p = 0.
struct ListingPages {
    explicit ListingPages(const Listing& listing) : host(shopHostOfAddress(listing.address)) {
        if (listing.mode == ListingMode::List) list = classifyListAddress(listing.address, host);
    }
    std::string address(int page) const {
        if (!list) return page == 0 ? shopSearchAddress(host) : shopPageAddress(host, page);
        return listPageAddress(*list, host, page == 0 ? 1 : page);
    }

    std::string host;
    std::optional<ListAddress> list;
};

std::vector<ListRow> rowsOf(const std::string& pageText) {
    std::vector<ListRow> rows;
    for (const ListPageItem& item : itemsOfResultPage(pageText).items)
        rows.push_back({item.name, item.price, listedItemAddress(item.itemId), item.itemId});
    return rows;
}

TEST_F(AddressAnalysisMarketplaceTest, EveryListingGivesItsCountsAndItsRowsPageByPage) {
    for (const Listing* listing : test::listings()) {
        SCOPED_TRACE(listing->address);
        const ListingPages pages(*listing);
        if (listing->mode == ListingMode::Shop) {
            EXPECT_TRUE(isShopHost(pages.host));
        } else {
            ASSERT_TRUE(kListKinds.contains(listing)) << "no kind given for this list";
            EXPECT_EQ(pages.list->kind, kListKinds.at(listing));
            ASSERT_FALSE(pages.list->key.empty());
        }

        const std::string first = pageText(fetched(pages.address(0)));
        EXPECT_EQ(resultCountText(first), listing->resultCount);
        EXPECT_EQ(pageCountOf(pageIndicatorTotal(first)), listing->pages);

        std::vector<ListRow> all;
        for (int page = 1; page <= listing->pages; ++page) {
            SCOPED_TRACE("page " + std::to_string(page));
            const std::vector<ListRow> rows = rowsOf(pageText(fetched(pages.address(page))));
            EXPECT_EQ(rows, test::expectedRows(*listing, page, page));
            all.insert(all.end(), rows.begin(), rows.end());
        }
        EXPECT_EQ(all, test::expectedRows(*listing));
        EXPECT_TRUE(rowsOf(pageText(fetched(pages.address(listing->pages + 1)))).empty()) << "a page past the last";
    }
}

TEST_F(AddressAnalysisMarketplaceTest, CategoriesTheShopLacksFindNothing) {
    for (const char* address :
         {"https://nuanyang.taobao.com/search.htm?a=1&scid=99&b=2",
          "https://qingyu.tmall.com/search.htm?a=1&catId=99&b=2", "https://xiaoman.taobao.com/category-99.htm"}) {
        SCOPED_TRACE(address);
        const std::string host = shopHostOfAddress(address);
        const std::string first = pageText(fetched(listPageAddress(classifyListAddress(address, host), host, 1)));
        EXPECT_FALSE(first.empty());
        EXPECT_EQ(pageCountOf(pageIndicatorTotal(first)), 0);
        EXPECT_TRUE(itemsOfResultPage(first).items.empty());
    }
}

TEST_F(AddressAnalysisMarketplaceTest, EveryItemPageGivesItsRowAfterTheCharsetTest) {
    for (const ItemPage* page : test::itemPages()) {
        SCOPED_TRACE(page->address);
        std::string spaced = spacedPageText(fetched(page->address));
        if (spaced.empty()) spaced = spacedPageText(fetchedWithBrowserCookies(page->address));
        const std::string text = gbkPageText(spaced);
        const std::string id = itemIdOfPage(text);
        const std::string title = itemTitleOfPage(text);

        const std::optional<ListRow> expected = test::expectedRow(*page);
        if (!expected) {
            EXPECT_TRUE(trimText(id).empty() || trimText(title).empty()) << id << " " << title;
            continue;
        }
        EXPECT_EQ(title, expected->name);
        EXPECT_EQ(id, expected->id);
    }
}

TEST_F(AddressAnalysisMarketplaceTest, OnlyTheRequestWithTheBrowsersCookiesGetsTheBrowserOnlyPage) {
    const std::string address = test::kBrowserOnlyItemPage.address;
    const Bytes page = test::readFixture(std::string("marketplace/") + test::kBrowserOnlyItemPage.page);

    EXPECT_TRUE(fetched(address).empty());
    const test::RecordedRequest plain = test::sharedMarketplace().server().lastRequest(test::kItemPagePath);
    EXPECT_EQ(plain.header("Host"), "item.taobao.com");
    EXPECT_EQ(plain.header("User-Agent").find(test::kBrowserAgentMark), std::string::npos) << plain.rawHeader;

    EXPECT_EQ(fetchedWithBrowserCookies(address), page);
    const test::RecordedRequest browser = test::sharedMarketplace().server().lastRequest(test::kItemPagePath);
    EXPECT_EQ(browser.header("Host"), "item.taobao.com");
    EXPECT_NE(browser.header("User-Agent").find(test::kBrowserAgentMark), std::string::npos) << browser.rawHeader;

    // Every other page comes whole to the plain request, zero byte included.
    EXPECT_EQ(fetched(test::kWalletItemPage.address),
              test::readFixture(std::string("marketplace/") + test::kWalletItemPage.page));
}

// A whole run of these rows copies exactly the items of item_list.txt, so
// its package is the expected one.
TEST_F(AddressAnalysisMarketplaceTest, RunnableListingsAndPagesHoldTheItemDataServicesItems) {
    std::vector<std::string> known;
    for (const test::MarketplaceItem* item : test::marketplaceItems()) known.push_back(item->id);
    for (const Listing* listing : {&test::kTaobaoShop, &test::kOlderLayoutShop}) {
        SCOPED_TRACE(listing->address);
        std::vector<std::string> ids;
        for (const ListRow& row : test::expectedRows(*listing)) ids.push_back(row.id);
        EXPECT_EQ(ids, known);
    }
    const std::pair<const ItemPage*, const test::MarketplaceItem*> pages[] = {
        {&test::kTaobaoItemPage, &test::kTaobaoItem},
        {&test::kTmallItemPage, &test::kTmallItem},
        {&test::kItemDataItemPage, &test::kItemDataItem},
    };
    for (const auto& [page, item] : pages) {
        const std::optional<ListRow> row = test::expectedRow(*page);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->id, item->id);
        EXPECT_EQ(std::string(page->page), item->page);
    }
}

}  // namespace
}  // namespace quorvane
