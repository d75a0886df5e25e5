#include "app/options/option_table.h"

#include <cstdlib>

namespace quorvane {

const OptionKey& optionKey(std::string_view key) {
    for (const auto& row : kOptionTable)
        if (key == row.key) return row;
    std::abort();
}

std::string defaultOptionsFileText() {
    std::string text;
    std::string_view section;
    for (const auto& row : kOptionTable) {
        if (section != row.section) {
            section = row.section;
            text.append("[").append(section).append("]\r\n");
        }
        text.append(row.key).append("=").append(row.defaultInNewFile).append("\r\n");
    }
    return text;
}

}  // namespace quorvane
