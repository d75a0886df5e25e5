// collect/addresses: the road's start, from what the seller pastes to the item list's rows:
// address analysis, the pages it fetches, the items of result pages and their page range.

#pragma once
// What the address analysis reads out of pasted addresses and fetched pages:
// an item's id and title, a shop's host, the kind and key of a shop category,
// the addresses of result pages and the number of result pages.
#include <string>
#include <string_view>

namespace quorvane {

// The item id of an item page, or the empty text when the page holds none.
// An id that is not digits only, or longer than any real id, counts as none:
// it would go into item addresses and the package.
std::string itemIdOfPage(std::string_view pageText);

// The page's title exactly as the page spells it (may be blank).
std::string itemTitleOfPage(std::string_view pageText);

// The host of a pasted shop or category address, trimmed; empty when none.
std::string shopHostOfAddress(std::string_view address);

// A host that can stand alone in a result page address: not empty, and no
// blank, control character, "/", "@" or ":" port.
bool isPlainHost(std::string_view host);

// A shop address must name a plain host other than the item page hosts.
bool isShopHost(std::string_view host);

enum class ListKind { None = 0, ScidCategory = 1, CatIdCategory = 2, BaseAddress = 3 };

struct ListAddress {
    ListKind kind = ListKind::None;
    std::string key;  // category id, or the base address of the result pages
};

// Classifies a pasted category address; every later rule that holds
// overrides the earlier ones. The key may be empty (the address is refused).
ListAddress classifyListAddress(std::string_view address, std::string_view host);

// The search page that tells how many result pages a shop has.
std::string shopSearchAddress(std::string_view host);
// Result page page (from 1) of the whole shop, or of a classified category.
std::string shopPageAddress(std::string_view host, int page);
std::string listPageAddress(const ListAddress& list, std::string_view host, int page);

// The number of items the result page announces, trimmed; may be empty.
std::string resultCountText(std::string_view pageText);

// The total of the result page's "current/total" page indicator as the page
// spells it; empty when there is no indicator or it holds no "/".
std::string pageIndicatorTotal(std::string_view pageText);

// The indicator total read as a page count: leading digits after blanks; no
// digits give 0, and a count beyond int saturates.
int pageCountOf(std::string_view indicatorTotal);

}  // namespace quorvane
