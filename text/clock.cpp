#include "text/clock.h"

#include <cmath>
#include <mutex>
#include <utility>

namespace quorvane {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// Keeps a whole second that the double holds as x.99999... from dropping a second.
constexpr double kRoundingGuard = 0.5 / 86400.0;

// The one process-wide record of the local time. Workers and the interface
// thread refresh and read it together under the lock, so one caller's refresh
// never lands between another's refresh and read.
struct LocalTimeFields {
    std::mutex lock;
    LocalClock clock;
    SYSTEMTIME fields{};
};

// Never destroyed: a thread that outlives the program's end may still ask.
LocalTimeFields& localTime() {
    static LocalTimeFields& record = *new LocalTimeFields;
    return record;
}

SYSTEMTIME readClock(const LocalClock& clock) {
    if (clock) return clock();
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

// Days from 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

struct CivilDate {
    long long year;
    unsigned month;
    unsigned day;
};

CivilDate civilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<long long>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

// 1899-12-30, day 0 of a date-time, is day -25569 from 1970-01-01.
constexpr long long kDateTimeDayOfUnixEpoch = 25569;

DateTime dateTimeOfDay(long long year, unsigned month, unsigned day) {
    return static_cast<double>(daysFromCivil(year, month, day) + kDateTimeDayOfUnixEpoch);
}

CivilDate civilDateOf(DateTime dateTime) {
    return civilFromDays(static_cast<long long>(std::floor(dateTime)) - kDateTimeDayOfUnixEpoch);
}

std::int64_t epochOf(DateTime dateTime, bool seconds, bool baseAt8, WORD milliseconds) {
    const DateTime base = dateTimeOfDay(1970, 1, 1) + (baseAt8 ? 8.0 / 24.0 : 0.0);
    // Floor rather than truncation, so a date before the base keeps its second.
    const auto wholeSeconds =
        static_cast<std::int64_t>(std::floor((dateTime - base) * kSecondsPerDay + kRoundingGuard));
    return seconds ? wholeSeconds : wholeSeconds * 1000 + milliseconds;
}

}  // namespace

void setLocalClock(LocalClock clock) {
    auto& record = localTime();
    std::lock_guard guard(record.lock);
    record.clock = std::move(clock);
}

void initLocalTimeFields() { refreshLocalTimeFields(); }

void refreshLocalTimeFields() {
    auto& record = localTime();
    std::lock_guard guard(record.lock);
    record.fields = readClock(record.clock);
}

SYSTEMTIME localTimeFields() {
    auto& record = localTime();
    std::lock_guard guard(record.lock);
    return record.fields;
}

DateTime toDateTime(const SYSTEMTIME& time) {
    const int secondOfDay = time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
    return dateTimeOfDay(time.wYear, time.wMonth, time.wDay) + secondOfDay / kSecondsPerDay;
}

DateTime currentDateTime() {
    auto& record = localTime();
    LocalClock clock;
    {
        std::lock_guard guard(record.lock);
        clock = record.clock;
    }
    return toDateTime(readClock(clock));
}

std::string epochTimeText(bool seconds) {
    auto& record = localTime();
    std::lock_guard guard(record.lock);
    record.fields = readClock(record.clock);
    // The seconds and the milliseconds come from the same reading, so a second
    // boundary between two readings cannot put the result a second ahead.
    return std::to_string(epochOf(toDateTime(record.fields), seconds, true, record.fields.wMilliseconds));
}

std::int64_t dateTimeToEpoch(DateTime dateTime, bool seconds, bool baseAt8) {
    return epochOf(dateTime, seconds, baseAt8, localTimeFields().wMilliseconds);
}

std::string formatDate(DateTime dateTime) {
    const CivilDate date = civilDateOf(dateTime);
    std::string text = std::to_string(date.year) + "-";
    if (date.month < 10) text += "0";
    text += std::to_string(date.month) + "-";
    if (date.day < 10) text += "0";
    return text + std::to_string(date.day);
}

int weekOfYear(DateTime dateTime) {
    const CivilDate date = civilDateOf(dateTime);
    const DateTime firstOfJanuary = dateTimeOfDay(date.year, 1, 1);
    const int days = static_cast<int>(dateTime - firstOfJanuary);
    // Day 0 was a Saturday; 1 is Sunday through 7 Saturday.
    const long long dayNumber = static_cast<long long>(firstOfJanuary);
    const int weekday = static_cast<int>(((dayNumber + 6) % 7 + 7) % 7) + 1;
    const int n = days + weekday - 1;
    return n / 7 + (n % 7 != 0 ? 1 : 0);
}

}  // namespace quorvane
