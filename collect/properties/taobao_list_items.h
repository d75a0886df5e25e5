#pragma once
// The Taobao sale-value list items read without backtracking. The patterns
//   <li data-value="(.*?)(".*?|".*?\s.*?<a.*?\s.*?)<span>(.*?)</span>
//   <li data-value="(.*?)(".*?|".*?\s<a.*?\s.*?)<span>(shown)</span>
// (letter case ignored, "." crossing no CR or LF, "\s" also matching the
// full-width blank) try every way to share
// an item among their lazy parts before they fail: on a crafted item of 1 KB
// that costs the regular-expression object minutes. These routines give the
// same matches, found left to right as the object finds them, in time linear
// in the text: what each lazy part can reach is worked out once per position,
// from the end of the text back.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The first pattern as the object takes it.
inline constexpr std::string_view kTaobaoListItemPattern =
    R"re(<li data-value="(.*?)(".*?|".*?\s.*?<a.*?\s.*?)<span>(.*?)</span>)re";

// The first and third groups of a match: the item's pid:vid and its shown text.
struct ListItemMatch {
    std::string pair;
    std::string shown;
    bool operator==(const ListItemMatch&) const = default;
};

// Every match of the first pattern in text, in order.
std::vector<ListItemMatch> taobaoListItems(std::string_view text);

// The first match of the second pattern, whose shown text is the literal text
// shownText (letter case ignored as the object ignores it).
std::optional<ListItemMatch> taobaoListItemShowing(std::string_view text, std::string_view shownText);

}  // namespace quorvane
