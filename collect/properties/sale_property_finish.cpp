#include "collect/properties/property_matching.h"

#include "collect/properties/category_value_lookup.h"
#include "collect/properties/property_pairs.h"
#include "text/search.h"

#include <algorithm>

namespace quorvane {
namespace {

constexpr std::string_view kColourPid = "1627207";
constexpr std::string_view kOtherColourPids[] = {"1627975", "1626984"};

using Replacement = std::pair<std::string_view, std::string_view>;
constexpr Replacement kAliasEntities[] = {{"&quot;", "''"}, {"&lt;", "<"}, {"&gt;", ">"}};
constexpr Replacement kInputEntities[] = {{"&quot;", "''"}, {"&gt;", ">"}, {"&lt;", "<"}};

// The custom values' own pairs, digits on both sides, in their order.
std::vector<std::string> customPairs(const std::string& customValues) {
    std::vector<std::string> pairs;
    for (const std::string_view entry : aliasEntries(customValues)) {
        const std::vector<std::string> parts = splitText(entry, ":");
        if (parts.size() < 2) continue;
        const auto digits = [](const std::string& text) {
            return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
        };
        if (digits(parts[0]) && digits(parts[1])) pairs.push_back(parts[0] + ":" + parts[1]);
    }
    return pairs;
}

bool inUse(const ItemFields& item, const std::string& pair) {
    return holdsPair(item.cateProps, PairField::Pairs, pair) ||
           holdsPair(item.input_custom_cpv, PairField::Aliases, pair) ||
           holdsPair(item.propAlias, PairField::Aliases, pair);
}

void replaceEverywhere(ItemFields& item, const std::string& from, const std::string& to) {
    item.input_custom_cpv = replacePair(item.input_custom_cpv, PairField::Aliases, from, to);
    item.cateProps = replacePair(item.cateProps, PairField::Pairs, from, to);
    item.skuProps = replacePair(item.skuProps, PairField::Skus, from, to);
    item.picture = replacePair(item.picture, PairField::Pictures, from, to);
}

// B2: each custom value takes the first standard value of its pid, in the
// order of the category data, that the item does not use yet, and its name
// becomes that value's alias. The search ends after the last standard value;
// a custom value without a free one stays a custom value.
void mapCustomValues(ItemFields& item) {
    std::vector<std::string> mapped;
    for (const std::string& pair : customPairs(item.input_custom_cpv)) {
        const std::string pid = pair.substr(0, pair.find(':'));
        for (const std::string& vidPart : valueObjectVids(item.categoryJson, "pid\":" + pid + ",\"prop_name\":\"")) {
            const std::string standard = pid + vidPart;
            if (standard == pid || inUse(item, standard)) continue;
            replaceEverywhere(item, pair, standard);
            mapped.push_back(standard);
            break;
        }
    }
    std::string stillCustom;
    for (const std::string_view entry : aliasEntries(item.input_custom_cpv)) {
        const bool isMapped = std::any_of(mapped.begin(), mapped.end(), [&](const std::string& pair) {
            return holdsPair(entry, PairField::Aliases, pair);
        });
        (isMapped ? item.propAlias : stillCustom).append(entry).append(";");
    }
    item.input_custom_cpv = stillCustom;
}

}  // namespace

void finishSaleProperties(ItemFields& item, const OptionBoxes& options) {
    for (std::string_view pid : kOtherColourPids) {
        if (!options.isChecked("选择框5") || !holdsPid(item.propAlias, PairField::Aliases, pid)) continue;
        item.propAlias = replacePid(item.propAlias, PairField::Aliases, pid, kColourPid);
        item.cateProps = replacePid(item.cateProps, PairField::Pairs, pid, kColourPid);
        item.skuProps = replacePid(item.skuProps, PairField::Skus, pid, kColourPid);
        item.picture = replacePid(item.picture, PairField::Pictures, pid, kColourPid);
    }
    if (options.isChecked("选择框5") && !item.input_custom_cpv.empty()) mapCustomValues(item);

    for (const auto& [from, to] : kAliasEntities) item.propAlias = replaceText(item.propAlias, from, to);
    for (const auto& [from, to] : kInputEntities) item.inputValues = replaceText(item.inputValues, from, to);
}

}  // namespace quorvane
