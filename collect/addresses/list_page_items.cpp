#include "collect/addresses/list_page_items.h"

#include "collect/item/field_checks.h"
#include "net/host_map.h"
#include "text/search.h"

#include <boost/regex.hpp>

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace quorvane {

namespace {

// Each expression begins with its piece's start: a match is searched only in
// the text from one start to the next, at most kPieceBytes of it. Searched
// over the whole page, every link would make the names' expression scan the
// rest of the page for an item name, and a megabyte of links would cost
// seconds before it hit the library's complexity limit.
struct Piecewise {
    boost::regex expression;
    std::string_view start;  // letter case ignored
};

struct Layout {
    Piecewise namesAndIds;  // sub-match 1 the link's id part, 2 the name
    Piecewise prices;       // sub-match 1 the price
};

constexpr std::size_t kPieceBytes = 4096;

boost::regex pageExpression(const std::string& pattern) {
    return boost::regex(pattern, boost::regex::perl | boost::regex::icase | boost::regex::mod_s);
}

const Layout& currentLayout() {
    static const Layout layout{
        {pageExpression(R"re(<a.*?class="item-name[\s\S]*?href=".*?id=(.*?)"[\s\S]*?>\s*(.*?)</a>)re"), "<a"},
        {pageExpression(R"re(class="c-price">(.*?)\s*</span>)re"), "class=\"c-price\">"}};
    return layout;
}

const Layout& olderLayout() {
    static const Layout layout{
        {pageExpression(R"re(<a target="_blank" href=".*?id=(.*?)" class="permalink" style="">)re"
                        "\n"
                        R"re(\s*(.*?))re"
                        "\n"
                        R"re(\s*</a>)re"),
         "<a"},
        {pageExpression("<strong>(.*?) 元</strong>"), "<strong>"}};
    return layout;
}

struct PageMatches {
    std::vector<std::vector<std::string>> subMatches;  // of each match, 1 and 2
    bool whole = true;
};

// A piece whose search grows too complex for the library gives no match and
// leaves the page not read whole.
PageMatches allMatches(const std::string& text, const Piecewise& piecewise) {
    PageMatches found;
    for (int at = findLeft(text, piecewise.start, 1, true); at != -1;) {
        const std::size_t start = static_cast<std::size_t>(at - 1);
        const int next = findLeft(text, piecewise.start, at + static_cast<int>(piecewise.start.size()), true);
        const std::size_t end =
            std::min({next == -1 ? text.size() : static_cast<std::size_t>(next - 1), start + kPieceBytes, text.size()});
        boost::smatch match;
        try {
            const auto first = text.begin() + static_cast<std::ptrdiff_t>(start);
            const auto last = text.begin() + static_cast<std::ptrdiff_t>(end);
            if (boost::regex_search(first, last, match, piecewise.expression, boost::match_continuous))
                found.subMatches.push_back({match.str(1), match.size() > 2 ? match.str(2) : std::string()});
        } catch (const std::runtime_error&) {
            found.whole = false;
        }
        at = next;
    }
    return found;
}

}  // namespace

std::string itemPartOfResultPage(std::string_view pageText) {
    std::string text(pageText);
    if (int p = findLeft(text, "到第"); p != -1) text = leftBytes(text, p - 1);
    if (int p = findLeft(text, "排序"); p != -1) text.erase(0, static_cast<std::size_t>(p - 1));
    return text;
}

ResultPageItems itemsOfResultPage(std::string_view pageText) {
    const std::string text = itemPartOfResultPage(pageText);
    PageMatches names = allMatches(text, currentLayout().namesAndIds);
    PageMatches prices = allMatches(text, currentLayout().prices);
    if (names.subMatches.empty()) {
        names = allMatches(text, olderLayout().namesAndIds);
        prices = allMatches(text, olderLayout().prices);
    }
    ResultPageItems read;
    read.whole = names.whole && prices.whole;
    for (std::size_t i = 0; i < names.subMatches.size(); ++i) {
        std::string id = names.subMatches[i][0];
        if (int p = findLeft(id, "&"); p != -1) id = leftBytes(id, p - 1);
        // The id goes into the item's address and the package.
        if (!isItemIdText(id)) continue;
        read.items.push_back(
            {names.subMatches[i][1], i < prices.subMatches.size() ? prices.subMatches[i][0] : std::string(), id});
    }
    return read;
}

std::string listedItemAddress(std::string_view itemId) {
    return "http://" + std::string(hosts::kItemPage) + "/item.htm?id=" + std::string(itemId);
}

}  // namespace quorvane
