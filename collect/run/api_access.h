#pragma once
// The access records the workers hand to the item-data request. They come
// from options\api_access.txt, one record a line:
//     key,secret
// split at the first comma, blanks around either part trimmed; empty lines
// and lines beginning with "#" are skipped, as is a line with an empty key
// or secret. When the file does not exist the list holds one built-in record;
// a file that exists but holds no record gives an empty list, and a run with
// an empty list is refused.
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct ApiAccessRecord {
    std::string key;     // its last two bytes choose the item-data source
    std::string secret;
};
using ApiAccessList = std::vector<ApiAccessRecord>;

inline constexpr std::string_view kApiAccessFileName = "api_access.txt";

ApiAccessList parseApiAccessList(std::string_view text);
ApiAccessList builtInApiAccessList();

// A worker's place in the access records: every worker begins with the first
// record and goes through the list in order, wrapping round, on its own.
// The list must not be empty and must outlive the rotation.
class AccessRotation {
public:
    explicit AccessRotation(const ApiAccessList& list) : list_(list) {}

    const ApiAccessRecord& next() {
        if (position_ == list_.size()) position_ = 0;
        return list_[position_++];
    }

private:
    const ApiAccessList& list_;
    std::size_t position_ = 0;
};

// optionsFolder ends with "\". A file that exists but cannot be read counts
// as one without records.
ApiAccessList loadApiAccessList(const std::wstring& optionsFolder);

// The message box text that refuses a run, or "" when the list lets it start.
std::string apiAccessRefusal(const ApiAccessList& list);

}  // namespace quorvane
