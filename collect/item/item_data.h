#pragma once
// The raw data of one item, from the source that the access record's key
// names: our item-data service, a page address stored enciphered, or the
// marketplace's open platform with its signed request.
#include "text/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct ParamPair {
    std::string name;
    std::string value;
};
using ParamList = std::vector<ParamPair>;

enum class ItemDataSource { ItemDataService, EncipheredAddress, OpenPlatform };

// By the key's last two bytes: "99", "88", anything else (or a shorter key).
ItemDataSource itemDataSourceOf(std::string_view key);

// The answer body unchanged; empty when the request failed or timed out
// (the enciphered-address source gives the page request's time-out notice
// instead), and empty without a request for an item id that is not digits.
Bytes fetchItemData(std::string_view itemId, std::string_view key, std::string_view secret);

// Works on a copy of params; an empty format means "xml", an empty sign method "md5".
std::string buildOpenPlatformUrl(std::string_view key, std::string_view secret, std::string_view session,
                                 std::string_view format, std::string_view signMethod, std::string_view method,
                                 const ParamList& params);

// Adds the common parameters to params, sorts it and drops pairs with an
// empty name or value; "" (params untouched) when key or secret is empty.
std::string buildSignedRestUrl(std::string_view key, std::string_view secret, std::string_view session,
                               std::string_view format, std::string_view signMethod, std::string_view method,
                               ParamList& params);

// Ascending by name, bytes compared unsigned.
void sortParamsByName(ParamList& params);

// The open platform's time stamp, "2016-09-08 07:05:03", at the process clock's local time.
std::string openPlatformTimestamp();

}  // namespace quorvane
