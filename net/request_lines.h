#pragma once
// The header lines each request routine adds to the caller's own.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

// The timed request's Accept, Referer and Accept-Language lines, each added
// unless its key ("Accept: " etc.) already occurs, ignoring case.
std::string withDefaultRequestLines(std::string_view lines, std::string_view address);

// The page request's lines: any "Accept…" key counts as present, and
// "RefererNo" removes itself and the Referer line.
std::string withDefaultPageLines(std::string_view lines, std::string_view address);

// The page request's agent: the caller's User-Agent line, else its own.
std::string userAgentOfPageLines(std::string_view lines);

// The block the request with browser cookies sends when given none; its last
// line has no CRLF.
std::string defaultBrowserHeaderBlock(std::string_view address);

// Header lines as name and value for setRequestHeader: lines without ":" are
// skipped; the value is everything after the first ":", a leading blank kept.
std::vector<std::pair<std::string, std::string>> headerPairs(std::string_view lines);

}  // namespace quorvane
