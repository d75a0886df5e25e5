#include "collect/properties/item_properties.h"

#include "collect/properties/property_list.h"
#include "text/clock.h"
#include "text/search.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace quorvane {
namespace {

constexpr std::string_view kFoodTriggers[] = {"食品添加剂", "配料表", "水果种类", "生产许可证编号"};

// The entries a food item gives up, in the order they are taken out.
constexpr std::string_view kFoodSafetyNames[] = {"厂家联系方式",   "产品标准号", "厂名",   "厂址",
                                                 "食品添加剂",     "配料表",     "保质期", "储藏方法",
                                                 "生产许可证编号", "生产日期"};

constexpr std::string_view kRangeSeparator = " 至 ";

// The earliest date a date-time holds, given to a text that is no date.
DateTime earliestDate() {
    SYSTEMTIME time{};
    time.wYear = 100;
    time.wMonth = 1;
    time.wDay = 1;
    return toDateTime(time);
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads a run of at most maxDigits ASCII digits at position at.
std::optional<int> readNumber(std::string_view text, std::size_t& at, std::size_t maxDigits) {
    const std::size_t start = at;
    int value = 0;
    while (at < text.size() && at - start < maxDigits && std::isdigit(static_cast<unsigned char>(text[at])))
        value = value * 10 + (text[at++] - '0');
    if (at == start) return std::nullopt;
    return value;
}

bool readSeparator(std::string_view text, std::size_t& at, std::initializer_list<std::string_view> separators) {
    for (std::string_view separator : separators) {
        if (text.substr(at).starts_with(separator)) {
            at += separator.size();
            return true;
        }
    }
    return false;
}

// A time after the date: blanks, then digits and colons only.
bool isTimeRest(std::string_view rest) {
    const std::size_t digits = rest.find_first_not_of(' ');
    if (digits == std::string_view::npos) return true;
    if (digits == 0) return false;
    return rest.substr(digits).find_first_not_of("0123456789:") == std::string_view::npos;
}

// Year, month and day separated by "-", "/", "." or ":", or written with
// 年, 月 and 日, optionally followed by a time.
DateTime dateOfText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    const auto year = readNumber(text, at, 4);
    const bool chinese = year && text.substr(at).starts_with("年");
    if (!year || !readSeparator(text, at,
                                chinese ? std::initializer_list<std::string_view>{"年"}
                                        : std::initializer_list<std::string_view>{"-", "/", ".", ":"}))
        return earliestDate();
    const auto month = readNumber(text, at, 2);
    if (!month || !readSeparator(text, at,
                                 chinese ? std::initializer_list<std::string_view>{"月"}
                                         : std::initializer_list<std::string_view>{"-", "/", ".", ":"}))
        return earliestDate();
    const auto day = readNumber(text, at, 2);
    if (!day || (chinese && !readSeparator(text, at, {"日"}))) return earliestDate();
    if (*year < 100 || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month))
        return earliestDate();
    if (!isTimeRest(text.substr(at))) return earliestDate();
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(*year);
    time.wMonth = static_cast<WORD>(*month);
    time.wDay = static_cast<WORD>(*day);
    return toDateTime(time);
}

std::string rangeEnd(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        const int at = findLeft(entry, kRangeSeparator);
        if (at != -1) return entry.substr(static_cast<std::size_t>(at) - 1 + kRangeSeparator.size());
    }
    return {};
}

std::string rangeStart(const std::vector<std::string>& entries) {
    const std::string value = firstValueOf(entries, "生产日期");
    const int at = findLeft(value, kRangeSeparator);
    return at == -1 ? std::string() : value.substr(0, static_cast<std::size_t>(at) - 1);
}

bool isFood(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries)
        for (std::string_view trigger : kFoodTriggers)
            if (entry.starts_with(std::string(trigger) + ":")) return true;
    return false;
}

}  // namespace

void buildFoodSafetyField(ItemFields& item) {
    std::vector<std::string> entries = propertyEntries(item.propertyList);
    if (!isFood(entries)) return;

    std::string dateEnd, dateStart, stockEnd, stockStart;
    if (const std::string end = rangeEnd(entries); !end.empty()) {
        const DateTime endDate = dateOfText(end);
        dateEnd = formatDate(endDate);
        dateStart = formatDate(dateOfText(rangeStart(entries)));
        stockEnd = formatDate(endDate + 8);
        stockStart = formatDate(endDate + 1);
    }
    const std::string factory = firstValueOf(entries, "厂名");
    std::string field =
        "contact:" + firstValueOf(entries, "厂家联系方式") + ";design_code:" + firstValueOf(entries, "产品标准号") +
        ";factory:" + factory + ";factory_site:" + firstValueOf(entries, "厂址") +
        ";food_additive:" + firstValueOf(entries, "食品添加剂") + ";mix:" + firstValueOf(entries, "配料表") +
        ";period:" + firstValueOf(entries, "保质期") + ";plan_storage:" + firstValueOf(entries, "储藏方法") +
        ";prd_license_no:" + replaceText(firstValueOf(entries, "生产许可证编号"), " ", "") +
        ";product_date_end:" + dateEnd + ";product_date_start:" + dateStart + ";stock_date_end:" + stockEnd +
        ";stock_date_start:" + stockStart + ";supplier:" + factory + ";";
    item.foodparame = replaceText(field, ",", "，");

    // Only the entries of the first value of each name go; an entry of
    // another value of the same name stays.
    for (std::string_view name : kFoodSafetyNames) {
        const std::string prefix = std::string(name) + ":";
        const auto first =
            std::find_if(entries.begin(), entries.end(), [&](const std::string& e) { return e.starts_with(prefix); });
        if (first == entries.end()) continue;
        const std::string taken = *first;
        std::erase(entries, taken);
    }
    item.propertyList = joinedEntries(entries);
}

}  // namespace quorvane
