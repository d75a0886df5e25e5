#pragma once
// Lines of the progress log: the local date and time as the log writes it,
// then the message, then CRLF.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

namespace quorvane {

// Receives a message (without the date-time text and the CRLF); whoever owns
// the log box makes the line with logLineText.
using LogSink = std::function<void(const std::string& message)>;

// year年month月day日, then hour时minute分second秒 with the trailing zero parts
// dropped (nothing at midnight).
std::string logDateTimeText(const SYSTEMTIME& time);

std::string logLineText(const SYSTEMTIME& time, const std::string& message);
// At the current local time (the process clock of text/clock.h).
std::string logLineText(const std::string& message);

// The message for an answer refused for its size (net/answer_bounds.h).
std::string oversizedAnswerMessage(const std::string& address, std::size_t bound);

}  // namespace quorvane
