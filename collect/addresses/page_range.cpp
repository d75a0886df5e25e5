#include "collect/addresses/page_range.h"

#include <climits>

namespace quorvane {

bool asksPageRange(int pages) { return pages > 35; }

int pageNumberOf(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10 + (text[i] - '0');
        if (number > INT_MAX) return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -number : number);
}

std::string pageRangeRefusal(int from, int to, int lastPage) {
    if (to > lastPage || from >= lastPage || from < 1 || to < 1) return "起始页或结束页输入有误！请修改！";
    if (static_cast<long long>(to) - from > 35 || from > to) return "超始页大于结束页或间隔大于35页！请修改！";
    return {};
}

}  // namespace quorvane
