#include "net/answer_status.h"

#include "text/search.h"

#include <cstdlib>
#include <string>

namespace quorvane {

bool isWholeSuccessfulAnswer(std::string_view rawHeaders, std::size_t bodyBytes) {
    bool first = true;
    for (const std::string& line : splitText(rawHeaders, "\r\n")) {
        if (first && line.starts_with("HTTP/")) {
            const std::size_t blank = line.find(' ');
            if (blank == std::string::npos || blank + 1 >= line.size() || line[blank + 1] != '2') return false;
        }
        first = false;
        constexpr std::string_view kLength = "content-length:";
        if (lowerText(line.substr(0, kLength.size())) != kLength) continue;
        char* end = nullptr;
        const unsigned long long declared = std::strtoull(line.c_str() + kLength.size(), &end, 10);
        if (end != line.c_str() + kLength.size() && declared != bodyBytes) return false;
    }
    return true;
}

}  // namespace quorvane
