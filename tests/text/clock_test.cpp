#include "text/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace quorvane {
namespace {

SYSTEMTIME localTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                     WORD milliseconds = 0) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = milliseconds;
    return time;
}

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { setLocalClock({}); }
};

TEST_F(ClockTest, EpochTextsUseTheClockAndItsMilliseconds) {
    setLocalClock([] { return localTime(2016, 3, 5, 20, 30, 15, 42); });
    EXPECT_EQ(epochTimeText(), "1457181015042");
    EXPECT_EQ(epochTimeText(true), "1457181015");
    EXPECT_EQ(currentDateTime(), toDateTime(localTime(2016, 3, 5, 20, 30, 15)));
}

TEST_F(ClockTest, EpochCountsFromEightInTheMorningOfFirstJanuary1970) {
    setLocalClock([] { return localTime(2000, 1, 1, 0, 0, 0, 7); });
    refreshLocalTimeFields();
    EXPECT_EQ(dateTimeToEpoch(toDateTime(localTime(1970, 1, 1, 8, 0, 1))), 1);
    EXPECT_EQ(dateTimeToEpoch(toDateTime(localTime(1970, 1, 1, 8, 0, 1)), false), 1007);
    EXPECT_EQ(dateTimeToEpoch(toDateTime(localTime(1970, 1, 1, 0, 0, 1)), true, false), 1);
    EXPECT_EQ(dateTimeToEpoch(toDateTime(localTime(1970, 1, 1, 8, 0, 0)), true, false), 28800);
    EXPECT_EQ(dateTimeToEpoch(toDateTime(localTime(1970, 1, 1, 7, 59, 59))), -1);
    EXPECT_EQ(dateTimeToEpoch(toDateTime(localTime(2038, 1, 19, 11, 14, 8))), 2147483648LL);
}

TEST_F(ClockTest, EveryWholeSecondOfADaySurvivesTheDoubleRoundTrip) {
    for (WORD hour = 0; hour < 24; ++hour)
        for (WORD minute = 0; minute < 60; ++minute)
            for (WORD second = 0; second < 60; ++second) {
                const auto epoch = dateTimeToEpoch(toDateTime(localTime(2026, 12, 10, hour, minute, second)));
                ASSERT_EQ(epoch, 1796860800LL - 8 * 3600 + hour * 3600 + minute * 60 + second)
                    << hour << ":" << minute << ":" << second;
            }
}

TEST_F(ClockTest, FormatsDatesWithLeadingZeros) {
    EXPECT_EQ(formatDate(toDateTime(localTime(2016, 3, 5, 23, 59, 59))), "2016-03-05");
    EXPECT_EQ(formatDate(toDateTime(localTime(2015, 12, 31))), "2015-12-31");
    EXPECT_EQ(formatDate(toDateTime(localTime(2016, 1, 1))), "2016-01-01");
    EXPECT_EQ(formatDate(toDateTime(localTime(1899, 12, 30))), "1899-12-30");
    EXPECT_EQ(formatDate(toDateTime(localTime(2000, 2, 29))), "2000-02-29");
    EXPECT_EQ(formatDate(toDateTime(localTime(9999, 12, 31))), "9999-12-31");
}

TEST_F(ClockTest, WeeksRunMondayToSundayWithWeekZeroWhenTheYearStartsOnSunday) {
    const struct {
        SYSTEMTIME date;
        int week;
    } cases[] = {
        {localTime(2016, 1, 1), 1},  {localTime(2016, 1, 3, 23, 59, 59), 1}, {localTime(2016, 1, 4), 2},
        {localTime(2016, 12, 31), 53}, {localTime(2017, 1, 1, 12), 0},     {localTime(2017, 1, 2), 1},
        {localTime(2017, 1, 8), 1},  {localTime(2017, 1, 9), 2},            {localTime(2024, 1, 1), 1},
        {localTime(2024, 1, 8), 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(weekOfYear(toDateTime(c.date)), c.week) << formatDate(toDateTime(c.date));
}

TEST_F(ClockTest, ConcurrentEpochTextsEachReadOneClockReading) {
    // Reading k is 2020-01-01 08:00:00 plus k seconds with k % 1000 milliseconds,
    // so a text mixing two readings shows milliseconds that disagree with its seconds.
    std::atomic<int> readings{0};
    setLocalClock([&readings] {
        const int k = readings.fetch_add(1) % 3600;
        return localTime(2020, 1, 1, static_cast<WORD>(8 + k / 3600), static_cast<WORD>(k / 60 % 60),
                         static_cast<WORD>(k % 60), static_cast<WORD>(k % 1000));
    });
    const long long base = 1577836800000LL;
    std::atomic<int> mixed{0};
    auto work = [&] {
        for (int n = 0; n < 400; ++n) {
            const long long value = std::stoll(epochTimeText()) - base;
            if ((value / 1000) % 1000 != value % 1000) ++mixed;
        }
    };
    std::vector<std::thread> workers;
    for (int n = 0; n < 5; ++n) workers.emplace_back(work);
    work();
    for (auto& worker : workers) worker.join();
    EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace quorvane
