#pragma once
// What a worker owns while it works: the regular-expression objects its
// steps reuse for every item (created once, each step sets its own pattern),
// and its place in the run for the log lines.
#include "collect/run/log_line.h"
#include "text/regexp.h"

#include <boost/regex.hpp>

#include <functional>
#include <string_view>

namespace quorvane {

struct WorkerRegexes {
    RegExpA first;
    RegExpA second;
    RegExpA third;
    boost::regex perl;
};

// The settings page's check boxes as they stand at the moment of asking,
// saved or not; without a reader every box reads as unchecked.
struct OptionBoxes {
    std::function<bool(std::string_view component)> checked;
    bool isChecked(std::string_view component) const { return checked && checked(component); }
};

struct WorkerProgress {
    LogSink log;          // may be empty
    int worker = 0;       // 1 to 5
    int itemNumber = 0;   // the item in hand, 1 to total
    int total = 0;        // the run's item count
};

}  // namespace quorvane
