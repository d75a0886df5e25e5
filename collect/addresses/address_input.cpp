#include "collect/addresses/address_input.h"

#include <boost/regex.hpp>

#include <stdexcept>

namespace quorvane {

std::string removeBlankLines(std::string& text) {
    if (text.starts_with("\r\n")) text.erase(0, 2);
    if (text.ends_with("\r\n")) text.erase(text.size() - 2);
    // From the line feed ending a line across every following blank line to
    // the carriage return ending the last of them. The white space is the
    // ASCII set only: GBK trail bytes never fall in it.
    static const boost::regex blankLines("\\n[ \\t\\n\\r\\f\\v]*\\r");
    try {
        return boost::regex_replace(text, blankLines, "");
    } catch (const std::runtime_error&) {
        return text;  // the addresses with their blank lines beat none at all
    }
}

}  // namespace quorvane
