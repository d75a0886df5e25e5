#pragma once
// Local time, dates and epoch texts. A date-time is a day count
// (days since 1899-12-30, the fraction being the time of day) in local time.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace quorvane {

using DateTime = double;

// The source of the local time; GetLocalTime unless a test sets its own.
using LocalClock = std::function<SYSTEMTIME()>;
void setLocalClock(LocalClock clock);  // an empty clock restores the real one

void initLocalTimeFields();
void refreshLocalTimeFields();
SYSTEMTIME localTimeFields();

DateTime toDateTime(const SYSTEMTIME& time);  // to the whole second
DateTime currentDateTime();                   // whole seconds

std::string epochTimeText(bool seconds = false);
std::int64_t dateTimeToEpoch(DateTime dateTime, bool seconds = true, bool baseAt8 = true);
std::string formatDate(DateTime dateTime);
int weekOfYear(DateTime dateTime);

}  // namespace quorvane
