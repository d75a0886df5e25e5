#include "collect/addresses/address_analysis.h"

#include "collect/item/field_checks.h"
#include "net/host_map.h"
#include "text/extract.h"
#include "text/search.h"

#include <climits>
#include <utility>

namespace quorvane {

namespace {

using MarkerPair = std::pair<std::string_view, std::string_view>;

constexpr MarkerPair kItemIdMarkers[] = {
    {"itemId:\"", "\","},
    {"itemId:'", "',"},
    {"item_id\" value=\"", "\"/>"},
    {"J_itemId\" value='", "'/>"},
};

constexpr MarkerPair kPageIndicatorMarkers[] = {
    {"<span class=\"page-info\">", "</span>"},
    {"<span class=page-info>", "</span>"},
    {"<b class=\"ui-page-s-len\">", "</b>"},
    {"<b class=ui-page-s-len>", "</b>"},
};

bool contains(std::string_view text, std::string_view sought) { return findLeft(text, sought) != -1; }

std::string shopBase(std::string_view host) {
    return "https://" + std::string(host) + "/" + std::string(host) + "/";
}

std::string cutBefore(std::string text, std::string_view marker) {
    int p = findLeft(text, marker);
    return p == -1 ? text : leftBytes(text, p - 1);
}

}  // namespace

std::string itemIdOfPage(std::string_view pageText) {
    std::string id;
    for (const auto& [left, right] : kItemIdMarkers) {
        id = trimText(textBetween(pageText, left, right));
        if (!id.empty()) break;
    }
    if (!isItemIdText(id)) return {};
    return id;
}

std::string itemTitleOfPage(std::string_view pageText) {
    std::string title = textBetween(pageText, "<title>", "</title>");
    if (title.empty()) title = textBetween(pageText, "<title >", "</title>");
    return title;
}

std::string shopHostOfAddress(std::string_view address) {
    std::string host = trimText(textBetween(address, "https://", "/"));
    if (host.empty()) host = trimText(textBetween(address, "http://", "/"));
    return host;
}

bool isPlainHost(std::string_view host) {
    if (host.empty()) return false;
    for (char c : host) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7f || c == '/' || c == '@' || c == ':') return false;
    }
    // A full-width blank inside; the ends are trimmed already.
    return !contains(host, "\xA1\xA1");
}

bool isShopHost(std::string_view host) {
    return isPlainHost(host) && host != hosts::kItemPage && host != hosts::kTmallItemPage;
}

ListAddress classifyListAddress(std::string_view address, std::string_view host) {
    ListAddress list;
    if (contains(address, "scid=")) list = {ListKind::ScidCategory, trimText(textBetween(address, "&scid=", "&"))};
    if (contains(address, "catId=")) list = {ListKind::CatIdCategory, trimText(textBetween(address, "&catId=", "&"))};
    if (contains(address, "category-"))
        list = {ListKind::CatIdCategory, cutBefore(trimText(textBetween(address, "category-", ".")), "-")};
    const std::string baseAddress = shopBase(host) + textAfterLastMarker(trimText(address), "/");
    if (contains(address, "searcy_type") || contains(address, "categoryp")) list = {ListKind::BaseAddress, baseAddress};
    if (contains(address, "category-") && contains(address, "scid="))
        list = {ListKind::BaseAddress, replaceText(baseAddress, "#bd", "")};
    return list;
}

std::string shopSearchAddress(std::string_view host) { return shopBase(host) + "search.htm?search=y"; }

std::string shopPageAddress(std::string_view host, int page) {
    return shopSearchAddress(host) + "&pageNum=" + std::to_string(page);
}

std::string listPageAddress(const ListAddress& list, std::string_view host, int page) {
    const std::string pageNum = "&pageNum=" + std::to_string(page);
    switch (list.kind) {
    case ListKind::ScidCategory:
        return shopBase(host) + "search.htm?&search=y&scid=" + list.key + "&viewType=grid&orderType=_hotsell" + pageNum;
    case ListKind::CatIdCategory:
        return shopBase(host) + "search.htm?&search=y&catId=" + list.key + "&viewType=grid&orderType=_hotsell" + pageNum;
    case ListKind::BaseAddress:
        return list.key + pageNum;
    case ListKind::None:
        break;
    }
    return {};
}

std::string resultCountText(std::string_view pageText) {
    return trimText(textBetween(pageText, "共搜索到<span>", "</span>个符合条件的商品。"));
}

std::string pageIndicatorTotal(std::string_view pageText) {
    std::string indicator;
    for (const auto& [left, right] : kPageIndicatorMarkers) {
        indicator = textBetween(pageText, left, right);
        if (!indicator.empty()) break;
    }
    return textAfterLastMarker(indicator, "/");
}

int pageCountOf(std::string_view indicatorTotal) {
    std::size_t i = 0;
    while (i < indicatorTotal.size() && (indicatorTotal[i] == ' ' || indicatorTotal[i] == '\t')) ++i;
    long long count = 0;
    for (; i < indicatorTotal.size() && indicatorTotal[i] >= '0' && indicatorTotal[i] <= '9'; ++i) {
        count = count * 10 + (indicatorTotal[i] - '0');
        if (count > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(count);
}

}  // namespace quorvane
