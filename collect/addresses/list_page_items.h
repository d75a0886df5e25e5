#pragma once
// The items on a result page of a shop search or a shop category: name, price
// and id, found by the current page layout or else by the older one.
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct ListPageItem {
    std::string name;
    std::string price;  // empty when the page lists fewer prices than names
    std::string itemId;
};

// The part of a result page that holds its items: before the first "到第",
// from the first "排序" on; a page with neither stays whole.
std::string itemPartOfResultPage(std::string_view pageText);

struct ResultPageItems {
    std::vector<ListPageItem> items;
    // False when a part of the page was too complex to search: its items
    // may be missing.
    bool whole = true;
};

// Names and prices are paired by their order on the page; a link whose id
// part is not an item id (digits only) gives no item.
ResultPageItems itemsOfResultPage(std::string_view pageText);

// The address an item found on a result page is listed with.
std::string listedItemAddress(std::string_view itemId);

}  // namespace quorvane
