#include "bench/bench_list.h"

#include "tests/support/fixtures.h"
#include "tests/support/marketplace.h"

#include <vector>

namespace quorvane::bench {

std::string benchListText(int rows) {
    const std::vector<unsigned char> bytes = test::readFixture("marketplace/item_list.txt");
    const std::string fixture(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < fixture.size();) {
        std::size_t end = fixture.find('\n', at);
        if (end == std::string::npos) end = fixture.size();
        std::string line = fixture.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.find(test::kNoTitleItem.id) == std::string::npos) lines.push_back(line);
    }
    std::string text;
    for (int row = 0; row < rows && !lines.empty(); ++row)
        text += lines[static_cast<std::size_t>(row) % lines.size()] + "\r\n";
    return text;
}

}  // namespace quorvane::bench
