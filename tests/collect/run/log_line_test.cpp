#include "collect/run/log_line.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

SYSTEMTIME at(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = 2016;
    time.wMonth = 9;
    time.wDay = 8;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST(LogDateTimeText, DropsTrailingZeroParts) {
    struct Case {
        WORD hour, minute, second;
        const char* expected;
    };
    const Case cases[] = {
        {7, 0, 0, "2016年9月8日7时"},
        {7, 5, 0, "2016年9月8日7时5分"},
        {7, 5, 3, "2016年9月8日7时5分3秒"},
        {0, 0, 0, "2016年9月8日"},
        // A zero part before a non-zero one is still written.
        {0, 0, 9, "2016年9月8日0时0分9秒"},
        {0, 30, 0, "2016年9月8日0时30分"},
        {23, 0, 1, "2016年9月8日23时0分1秒"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logDateTimeText(at(c.hour, c.minute, c.second)), c.expected)
            << c.hour << ":" << c.minute << ":" << c.second;
    }
}

TEST(LogLineText, DateTimeThenMessageThenCrlf) {
    EXPECT_EQ(logLineText(at(7, 0, 0), " 文件写成功！"), "2016年9月8日7时 文件写成功！\r\n");
}

}  // namespace
}  // namespace quorvane
