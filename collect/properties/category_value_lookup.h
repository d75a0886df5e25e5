#pragma once
// The category data's value objects looked up without backtracking. The
// patterns
//   name_alias":"VALUE","pid":(\d*?),"prop_name":"NAME","sort_order":.*?,"status":".*?","vid"(:\d*?)}
//   OPENING.*?","sort_order":.*?,"status":".*?","vid"(:\d*?)}
// (letter case ignored, "." crossing no line end) try every way to share a
// line among their lazy parts before they fail: the regular-expression object
// took seconds on 64 KB of category data made for it, and the second pattern
// seconds on 8 KB, where the data may hold 32 MB. These routines give the same
// matches in time linear in the data: a lazy part settles on the first place
// its literal follows, for any later place leaves the rest less to choose from.
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The patterns' tails as the object takes them, after NAME and OPENING.
inline constexpr std::string_view kNamedValueTail = R"re(","sort_order":.*?,"status":".*?","vid"(:\d*?)})re";
inline constexpr std::string_view kAnyNameValueTail = R"re(.*?","sort_order":.*?,"status":".*?","vid"(:\d*?)})re";

// A match's pid (when the pattern leaves it open) and vid group (":" and digits).
struct ValueObjectMatch {
    std::string pid;
    std::string vidPart;
    bool operator==(const ValueObjectMatch&) const = default;
};

// Every match of the first pattern in json, in order, with the plain texts
// alias and propertyName standing for VALUE and NAME.
std::vector<ValueObjectMatch> valueObjectsNamed(std::string_view json, std::string_view alias,
                                                std::string_view propertyName);

// The vid groups of every match of the second pattern in json, in order, with
// the plain text opening standing for OPENING.
std::vector<std::string> valueObjectVids(std::string_view json, std::string_view opening);

}  // namespace quorvane
