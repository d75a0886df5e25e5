#include "collect/properties/property_list.h"

#include "text/search.h"

namespace quorvane {

std::vector<std::string> propertyEntries(std::string_view list) { return splitText(list, ";"); }

std::string joinedEntries(const std::vector<std::string>& entries) {
    std::string list;
    for (const std::string& entry : entries) list += entry + ";";
    return list;
}

std::string firstValueOf(const std::vector<std::string>& entries, std::string_view name) {
    const std::string prefix = std::string(name) + ":";
    for (const std::string& entry : entries)
        if (entry.starts_with(prefix)) return entry.substr(prefix.size());
    return {};
}

std::vector<std::string> valuePieces(std::string_view value) {
    // "," is never the second byte of a GBK character, so a byte scan is safe.
    std::vector<std::string> pieces;
    std::string piece;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != ',') {
            piece += value[i];
            continue;
        }
        if (i + 1 < value.size() && value[i + 1] == ',') {
            piece += ',';
            ++i;
        }
        pieces.push_back(std::move(piece));
        piece.clear();
    }
    if (!piece.empty()) pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace quorvane
