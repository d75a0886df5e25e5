#include "collect/run/log_line.h"

#include "text/clock.h"

namespace quorvane {

std::string logDateTimeText(const SYSTEMTIME& time) {
    std::string text = std::to_string(time.wYear) + "年" + std::to_string(time.wMonth) + "月" +
                       std::to_string(time.wDay) + "日";
    if (time.wSecond != 0) {
        text += std::to_string(time.wHour) + "时" + std::to_string(time.wMinute) + "分" +
                std::to_string(time.wSecond) + "秒";
    } else if (time.wMinute != 0) {
        text += std::to_string(time.wHour) + "时" + std::to_string(time.wMinute) + "分";
    } else if (time.wHour != 0) {
        text += std::to_string(time.wHour) + "时";
    }
    return text;
}

std::string logLineText(const SYSTEMTIME& time, const std::string& message) {
    return logDateTimeText(time) + message + "\r\n";
}

std::string logLineText(const std::string& message) {
    refreshLocalTimeFields();
    return logLineText(localTimeFields(), message);
}

std::string oversizedAnswerMessage(const std::string& address, std::size_t bound) {
    return "应答超过 " + std::to_string(bound >> 20) + " MB，按无应答处理：" + address;
}

}  // namespace quorvane
