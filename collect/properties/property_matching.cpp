#include "collect/properties/property_matching.h"

#include "collect/item/page_parts.h"
#include "collect/properties/category_value_lookup.h"
#include "collect/properties/property_list.h"
#include "collect/properties/taobao_list_items.h"
#include "text/extract.h"
#include "text/regexp_literals.h"
#include "text/search.h"
#include "text/width.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <random>
#include <span>

namespace quorvane {
namespace {

constexpr std::string_view kTmallListItem = R"re(<li data-value="(.*?)"(.*?)[ae][=n][>"](.*?)[<|"])re";

// The tail of a value object of the category data after its pid, up to the vid.
constexpr std::string_view kValueTail = R"re(,"prop_name":"(.[^"]*?)","sort_order":\d*?,"status":".[^"]*?","vid":)re";

constexpr std::string_view kBrandPid = "20000";
constexpr std::string_view kUnlistedVid = ":573570674";
constexpr std::size_t kLongestAlias = 16;

// The opening of a sale property's object up to its name, in the eight forms
// its three varying flags give, tried in this order.
std::array<std::string, 8> salePropertyMarkers() {
    struct Flags {
        const char* color;
        const char* input;
        const char* must;
    };
    constexpr Flags kFlags[] = {
        {"false", "true", "false"}, {"false", "false", "false"}, {"false", "true", "true"}, {"false", "false", "true"},
        {"true", "true", "false"},  {"true", "false", "false"},  {"true", "true", "true"},  {"true", "false", "true"},
    };
    std::array<std::string, 8> markers;
    for (std::size_t i = 0; i < markers.size(); ++i)
        markers[i] = std::string("\"is_color_prop\":") + kFlags[i].color +
                     ",\"is_enum_prop\":true,\"is_input_prop\":" + kFlags[i].input +
                     ",\"is_item_prop\":false,\"is_key_prop\":false,\"is_sale_prop\":true," +
                     "\"multi\":true,\"must\":" + kFlags[i].must + ",\"name\":\"";
    return markers;
}

const std::array<std::string, 8>& markers() {
    static const std::array<std::string, 8> kMarkers = salePropertyMarkers();
    return kMarkers;
}

using Replacement = std::pair<std::string_view, std::string_view>;

std::string replacedInOrder(std::string text, std::span<const Replacement> replacements) {
    for (const auto& [from, to] : replacements) text = replaceText(text, from, to);
    return text;
}

// The entities of a shown text that become characters of an alias.
constexpr Replacement kShownTextEntities[] = {{"&quot;", "''"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&rarr;", "→"}};

// The property list's characters that would be pattern syntax; "/" becomes a
// pattern that matches the category data's "\/".
constexpr Replacement kPatternEscapes[] = {{"(", "\\("}, {")", "\\)"}, {"/", "\\\\\\/"}, {"+", "\\+"},
                                           {"*", "\\*"}, {".", "\\."}, {"[", "\\["},     {"]", "\\]"}};

// The brand's value back from its escaped form, as far as the brand keeps it.
constexpr Replacement kBrandUnescapes[] = {{"\\\\\\/", "/"}, {"\\(", "("}, {"\\)", ")"}, {"\\+", "+"}, {"\\*", "*"}};

// A value as the page's list items write it, from its escaped form and from
// the plain text it stands for, and back.
constexpr Replacement kPageEscapes[] = {{"\"", "&quot;"}, {"\\\\\\/", "\\/"}, {"<", "&lt;"}, {">", "&gt;"}};
constexpr Replacement kPageForms[] = {{"\"", "&quot;"}, {"\\/", "/"}, {"<", "&lt;"}, {">", "&gt;"}};
constexpr Replacement kPageUnescapes[] = {{"\\(", "("},  {"\\)", ")"},  {"\\/", "/"},    {"\\+", "+"},
                                          {"\\*", "*"},  {"\\.", "."},  {"\\[", "["},    {"\\]", "]"},
                                          {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}};

// The plain text that a name or value in its escaped form stands for, as the
// category data writes it ("/" as "\/"). A "\" that escapes nothing is the
// value's own.
std::string literalOfEscaped(std::string_view escaped) {
    constexpr std::string_view kEscapedSlash = "\\\\\\/";
    constexpr std::string_view kEscaped = "()+*.[]";
    std::string literal;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (IsDBCSLeadByteEx(936, static_cast<BYTE>(escaped[i])) && i + 1 < escaped.size()) {
            literal += escaped.substr(i++, 2);
        } else if (escaped.substr(i).starts_with(kEscapedSlash)) {
            literal += "\\/";
            i += kEscapedSlash.size() - 1;
        } else if (escaped[i] == '\\' && i + 1 < escaped.size() && kEscaped.find(escaped[i + 1]) != std::string::npos) {
            literal += escaped[++i];
        } else {
            literal += escaped[i];
        }
    }
    return literal;
}

// A pattern that matches exactly what a name or value in its escaped form
// stands for.
std::string patternOfEscaped(std::string_view escaped) { return escapedForRegExp(literalOfEscaped(escaped)); }

// Runs pattern on text in regExp: the match count, with the results kept there.
int runPattern(RegExpA& regExp, const std::string& pattern, const std::string& text) {
    regExp.create(pattern);
    return regExp.execute(text);
}

// At most maxBytes of text, cut on a character boundary.
std::string leadingBytes(std::string_view text, std::size_t maxBytes) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t width = IsDBCSLeadByteEx(936, static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
        if (at + width > maxBytes) break;
        at += width;
    }
    return std::string(text.substr(0, at));
}

// A value the seller typed for a pid; the brand's entry also carries the
// model entries, each ";" + name + ";" + value, right after its value.
struct UserInput {
    std::string pid;
    std::string value;
};

class PropertyMatcher {
public:
    PropertyMatcher(ItemFields& item, WorkerRegexes& regexes, const OptionBoxes& options,
                    const UnknownPidSource& unknownPid)
        : item_(item),
          list_(regexes.first),
          lookup_(regexes.second),
          options_(options),
          unknownPid_(unknownPid),
          // Where the Taobao patterns find their names: between <span> and </span>.
          listItems_(item.isTmall ? listItemsText(item.pageText)
                                  : listItemsText(item.pageText, {"<span>", "</span>"})) {}

    void run() {
        readSaleValues();
        matchEntries();
        close();
    }

private:
    // A1: the page's sale-property list items.
    void readSaleValues() {
        for (const auto& [pair, name] : saleValues()) {
            const std::string pid = textLeftOfMarker(pair, ":");
            const std::string vid = textAfterLastMarker(pair, ":");
            // The page's texts are matched as the plain texts they are.
            const std::string pidPattern = escapedForRegExp(pid);
            const std::string valueTail = std::string(kValueTail) + escapedForRegExp(vid) + "}";
            if (runPattern(lookup_, "name_alias\":\"" + escapedForRegExp(name) + "\",\"pid\":" + pidPattern + valueTail,
                           item_.categoryJson) == 0) {
                const std::string alias = cutAliasName(replacedInOrder(name, kShownTextEntities), options_);
                const bool listed = runPattern(lookup_, "pid\":" + pidPattern + valueTail, item_.categoryJson) > 0;
                (listed ? item_.propAlias : item_.input_custom_cpv) += pair + ":" + alias + ";";
            }
            saleValueList_ += pair + ";";
        }
    }

    // The pairs and shown texts of the page's list items.
    std::vector<ListItemMatch> saleValues() {
        if (!item_.isTmall) return taobaoListItems(listItems_);
        std::vector<ListItemMatch> values;
        const int count = runPattern(list_, std::string(kTmallListItem), listItems_);
        for (int i = 1; i <= count; ++i) values.push_back({list_.subMatchText(i, 1), list_.subMatchText(i, 3)});
        return values;
    }

    // The list item that shows a value given in its escaped form.
    std::optional<ListItemMatch> listItemShowing(const std::string& value) {
        const std::string shown = replacedInOrder(literalOfEscaped(value), kPageForms);
        if (!item_.isTmall) return taobaoListItemShowing(listItems_, shown);
        const std::string pattern = "<li data-value=\"(.*?)\"(.*?)[>\"](" + escapedForRegExp(shown) + ")[<|\"]";
        if (runPattern(lookup_, pattern, listItems_) == 0) return std::nullopt;
        return ListItemMatch{lookup_.subMatchText(1, 1), lookup_.subMatchText(1, 3)};
    }

    // A2 and A3: every entry of the property list in its escaped form.
    void matchEntries() {
        const std::string escaped = replacedInOrder(item_.propertyList, kPatternEscapes);
        original_ = propertyEntries(escaped);
        entries_.assign(original_.begin(), original_.end());
        for (std::size_t k = 0; k < original_.size(); ++k) {
            // An entry that an equal one before it has rewritten already.
            if (entries_[k] != original_[k]) continue;
            matchEntry(k);
        }
    }

    void matchEntry(std::size_t k) {
        const std::vector<std::string> parts = splitText(original_[k], ":");
        // Matching needs a name and a value; an entry without them goes.
        if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) return drop(k);
        const std::string& name = parts[0];
        std::string value = parts.size() > 2 ? parts[1] + ":" + parts[2] : parts[1];

        for (const std::string& marker : markers())
            if (findLeft(item_.categoryJson, marker + name + "\"") != -1) return drop(k);

        const std::vector<ValueObjectMatch> named =
            valueObjectsNamed(item_.categoryJson, literalOfEscaped(value), literalOfEscaped(name));
        std::string pid = named.empty() ? std::string() : named.front().pid;
        std::string vidPart = named.empty() ? std::string() : named.front().vidPart;
        if (pid.empty() || named.size() > 1) lookUpByPropertyName(name, value, pid, vidPart);

        if (pid == kBrandPid) brandValue_ = replacedInOrder(value, kBrandUnescapes);

        if (!vidPart.empty()) return replace(k, pid + vidPart);

        const std::optional<ListItemMatch> shown = listItemShowing(value);
        value = replacedInOrder(replacedInOrder(value, kPageEscapes), kPageUnescapes);
        if (shown && !shown->pair.empty()) {
            replace(k, shown->pair);
            item_.propAlias += shown->pair + ":" + cutAliasName(shown->shown, options_) + ";";
            return;
        }
        if (name == "型号" || name == "系列" || name == "品名") {
            drop(k);
            return addModel(name, value);
        }
        if (!pid.empty()) {
            replace(k, pid + std::string(kUnlistedVid));
            inputs_.push_front({pid, value});
            return;
        }
        const std::string unknown = unknownPid_();
        replace(k, unknown + std::string(kUnlistedVid));
        inputs_.push_front({unknown, value});
    }

    // A3 step 5: the name may belong to several properties, one under each
    // value of a parent property, or be known under another name.
    void lookUpByPropertyName(const std::string& name, const std::string& value, std::string& pid,
                              std::string& vidPart) {
        const std::string namePattern = patternOfEscaped(name);
        const std::string parentTail = "\",\"parent_pid\":\\d*?,\"parent_vid\":\\d*?,\"pid\":(\\d*?),";
        int n = runPattern(lookup_, "name\":\"" + namePattern + parentTail, item_.categoryJson);
        std::string propertyPid = lookup_.subMatchText(1, 1);
        if (propertyPid.empty() && name == "重量\\(g\\)") {
            n = runPattern(lookup_, "name\":\"净含量" + parentTail, item_.categoryJson);
            propertyPid = lookup_.subMatchText(1, 1);
        }
        const bool bookTitle = name == "书名";
        if (n > 1 && !bookTitle) {
            runPattern(lookup_, "name\":\"" + namePattern + "\",\"parent_pid\":(\\d*?),", item_.categoryJson);
            const std::string parentPid = lookup_.subMatchText(1, 1);
            const std::string parentVid = firstValueOf(currentEntries(), parentPid);
            runPattern(lookup_,
                       "name\":\"" + namePattern + "\",\"parent_pid\":" + parentPid +
                           ",\"parent_vid\":" + patternOfEscaped(parentVid) + ",\"pid\":(\\d*?),",
                       item_.categoryJson);
            const std::string childPid = lookup_.subMatchText(1, 1);
            const std::vector<std::string> vids = anyNameVids(value, childPid);
            pid = vids.empty() ? std::string() : childPid;
            vidPart = vids.empty() ? std::string() : vids.front();
        } else if (n == 1 || bookTitle) {
            const std::vector<std::string> vids = anyNameVids(value, propertyPid);
            pid = propertyPid;
            vidPart = vids.empty() ? std::string() : vids.front();
        }
    }

    // The vid groups of the value objects of pid whose alias is value, given
    // in its escaped form, under any property name.
    std::vector<std::string> anyNameVids(const std::string& value, const std::string& pid) const {
        return valueObjectVids(item_.categoryJson,
                               "name_alias\":\"" + literalOfEscaped(value) + "\",\"pid\":" + pid + ",\"prop_name\":\"");
    }

    // Case 4: model entries join the brand's value.
    void addModel(const std::string& name, const std::string& value) {
        const std::string model = ";" + name + ";" + value;
        const auto brand =
            std::find_if(inputs_.begin(), inputs_.end(), [](const UserInput& input) { return input.pid == kBrandPid; });
        if (brand == inputs_.end()) {
            inputs_.push_front({std::string(kBrandPid), brandValue_ + model});
            return;
        }
        // Right after the brand's own value, which holds no ";".
        const std::size_t end = std::min(brand->value.find(';'), brand->value.size());
        brand->value.insert(end, model);
    }

    std::vector<std::string> currentEntries() const {
        std::vector<std::string> current;
        for (const auto& entry : entries_)
            if (entry) current.push_back(*entry);
        return current;
    }

    // Every entry still equal to entry k takes the same outcome.
    void rewrite(std::size_t k, const std::optional<std::string>& outcome) {
        const std::string original = original_[k];
        for (std::size_t j = k; j < entries_.size(); ++j)
            if (entries_[j] == original) entries_[j] = outcome;
    }
    void replace(std::size_t k, const std::string& pair) { rewrite(k, pair); }
    void drop(std::size_t k) { rewrite(k, std::nullopt); }

    // A4.
    void close() {
        item_.propertyList = joinedEntries(currentEntries());
        item_.cateProps = saleValueList_ + item_.propertyList;
        std::string pids, values;
        for (const UserInput& input : inputs_) {
            pids += input.pid + ",";
            values += input.value + ",";
        }
        item_.inputPids = pids + item_.inputPids;
        item_.inputValues = values + item_.inputValues;
        item_.propAlias = replaceText(item_.propAlias, "&mdash;", "—");
        if (options_.isChecked("选择框2")) {
            item_.skuProps.clear();
            item_.propAlias.clear();
            item_.input_custom_cpv.clear();
        }
        if (options_.isChecked("选择框3")) item_.propAlias.clear();
    }

    ItemFields& item_;
    RegExpA& list_;
    RegExpA& lookup_;
    const OptionBoxes& options_;
    const UnknownPidSource& unknownPid_;
    const std::string listItems_;  // what the list-item patterns read of the page
    std::string saleValueList_;
    std::string brandValue_;
    std::vector<std::string> original_;
    std::vector<std::optional<std::string>> entries_;  // nothing: dropped
    std::deque<UserInput> inputs_;                     // newest first
};

}  // namespace

std::string randomUnknownPid() {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pids(99900000, 99999999);
    return std::to_string(pids(generator));
}

std::string cutAliasName(std::string_view alias, const OptionBoxes& options) {
    if (alias.size() <= kLongestAlias || !options.isChecked("选择框1")) return std::string(alias);
    return halfWidthText(leadingBytes(fullWidthText(alias), kLongestAlias));
}

void matchProperties(ItemFields& item, WorkerRegexes& regexes, const OptionBoxes& options,
                     const UnknownPidSource& unknownPid) {
    PropertyMatcher(item, regexes, options, unknownPid).run();
}

}  // namespace quorvane
