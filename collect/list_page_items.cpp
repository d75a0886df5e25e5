#include "collect/list_page_items.h"

#include "collect/field_checks.h"
#include "net/host_map.h"
#include "text/search.h"

#include <boost/regex.hpp>

#include <cstddef>
#include <stdexcept>

namespace quorvane {

namespace {

struct Layout {
    boost::regex namesAndIds;  // sub-match 1 the link's id part, 2 the name
    boost::regex prices;       // sub-match 1 the price
};

boost::regex pageExpression(const std::string& pattern) {
    return boost::regex(pattern, boost::regex::perl | boost::regex::icase | boost::regex::mod_s);
}

const Layout& currentLayout() {
    static const Layout layout{
        pageExpression(R"re(<a.*?class="item-name[\s\S]*?href=".*?id=(.*?)"[\s\S]*?>\s*(.*?)</a>)re"),
        pageExpression(R"re(class="c-price">(.*?)\s*</span>)re")};
    return layout;
}

const Layout& olderLayout() {
    static const Layout layout{
        pageExpression(R"re(<a target="_blank" href=".*?id=(.*?)" class="permalink" style="">)re"
                       "\n"
                       R"re(\s*(.*?))re"
                       "\n"
                       R"re(\s*</a>)re"),
        pageExpression("<strong>(.*?) 元</strong>")};
    return layout;
}

using Matches = std::vector<boost::smatch>;

// A search that grows too complex for the library ends with what it found.
Matches allMatches(const std::string& text, const boost::regex& expression) {
    Matches matches;
    try {
        for (boost::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
            matches.push_back(*it);
    } catch (const std::runtime_error&) {
    }
    return matches;
}

}  // namespace

std::string itemPartOfResultPage(std::string_view pageText) {
    std::string text(pageText);
    if (int p = findLeft(text, "到第"); p != -1) text = leftBytes(text, p - 1);
    if (int p = findLeft(text, "排序"); p != -1) text.erase(0, static_cast<std::size_t>(p - 1));
    return text;
}

std::vector<ListPageItem> itemsOfResultPage(std::string_view pageText) {
    const std::string text = itemPartOfResultPage(pageText);
    Matches names = allMatches(text, currentLayout().namesAndIds);
    Matches prices = allMatches(text, currentLayout().prices);
    if (names.empty()) {
        names = allMatches(text, olderLayout().namesAndIds);
        prices = allMatches(text, olderLayout().prices);
    }
    std::vector<ListPageItem> items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string id = names[i].str(1);
        if (int p = findLeft(id, "&"); p != -1) id = leftBytes(id, p - 1);
        // The id goes into the item's address and the package.
        if (!isItemIdText(id)) continue;
        items.push_back({names[i].str(2), i < prices.size() ? prices[i].str(1) : std::string(), id});
    }
    return items;
}

std::string listedItemAddress(std::string_view itemId) {
    return "http://" + std::string(hosts::kItemPage) + "/item.htm?id=" + std::string(itemId);
}

}  // namespace quorvane
