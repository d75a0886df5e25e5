// The expected item list rows, read from the rows files beside the pages:
// GBK, one row a line, the fields separated by tabs.
#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvane::test {
namespace {

std::vector<std::vector<std::string>> recordsOf(const std::string& fixture) {
    const std::string text = fixtureText(fixture);
    std::vector<std::vector<std::string>> records;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (line.ends_with('\r')) line.pop_back();
        at = end + 1;
        std::vector<std::string> fields;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        records.push_back(std::move(fields));
    }
    return records;
}

}  // namespace

// page, name, price, address, id
std::vector<ListRow> expectedRows(const Listing& listing, int firstPage, int lastPage) {
    std::vector<ListRow> rows;
    for (const auto& fields : recordsOf("marketplace/listings/" + std::string(listing.stem) + "_rows.txt")) {
        if (fields.size() != 5) {
            ADD_FAILURE() << listing.stem << ": a row without five fields";
            continue;
        }
        const int page = std::stoi(fields[0]);
        if (page >= firstPage && page <= lastPage) rows.push_back({fields[1], fields[2], fields[3], fields[4]});
    }
    return rows;
}

std::vector<ListRow> expectedRows(const Listing& listing) { return expectedRows(listing, 1, INT_MAX); }

// address, title, id; a refused page has neither title nor id
std::optional<ListRow> expectedRow(const ItemPage& page) {
    for (const auto& fields : recordsOf("marketplace/single_item_rows.txt")) {
        if (fields.size() != 3 || fields[0] != page.address) continue;
        if (fields[1].empty() && fields[2].empty()) return std::nullopt;
        return ListRow{fields[1], "", fields[0], fields[2]};
    }
    ADD_FAILURE() << "no expected row for " << page.address;
    return std::nullopt;
}

}  // namespace quorvane::test
