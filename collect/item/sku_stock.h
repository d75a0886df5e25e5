#pragma once
// A SKU's stock read from the stock answer without backtracking. The pattern
//   KEY;":{[\s\S]*?"stock"\D*(\d*?)[}"]
// (letter case ignored) tries every "stock" after every copy of the key
// before it fails: the regular-expression object took seconds on 64 KB of
// answer made for it, where an answer may hold 4 MB. Only the key's first
// copy can start a match, for a later one has fewer "stock"s after it, so one
// scan forward gives the same match.
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The pattern after KEY, as the object takes it.
inline constexpr std::string_view kSkuStockTail = R"re(;":{[\s\S]*?"stock"\D*(\d*?)[}"])re";

// The group of the pattern's first match in stockAnswer, with the plain text
// key standing for KEY; nothing when it does not match.
std::optional<std::string> skuStock(std::string_view stockAnswer, std::string_view key);

}  // namespace quorvane
