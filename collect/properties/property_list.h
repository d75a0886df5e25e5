#pragma once
// The item's property list: entries of a name, ":", one value and ";", one
// entry per value, with "//" standing for a ";" inside a name or value. The
// steps that read and rewrite the list work on whole entries, so that one
// entry never matches or rewrites part of another ("材质:棉;" is not part of
// "面料材质:棉;").
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The entries without their ";"; an empty rest after the last ";" is no entry.
std::vector<std::string> propertyEntries(std::string_view list);

// Each entry followed by ";".
std::string joinedEntries(const std::vector<std::string>& entries);

// The value of the first entry of this name (name + ":" + value), or "".
std::string firstValueOf(const std::vector<std::string>& entries, std::string_view name);

// The pieces of a property value: split at ",", where a doubled comma is a
// comma that ends the piece before it ("3,,5" gives "3," and "5"); an empty
// rest after the last separator is no piece, and an empty value gives none.
std::vector<std::string> valuePieces(std::string_view value);

}  // namespace quorvane
