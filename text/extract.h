#pragma once
// Cutting values out of pages, JSON answers, header blocks and cookie lists
// by the markers around them, and treating a text as CRLF-separated lines.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

// Markers may spell a double quote as "#引号"; the caller's markers are
// rewritten to their plain form. Case is ignored unless caseSensitive.
std::string textBetween(std::string_view source, std::string& leftMarker, std::string& rightMarker, int start = 1,
                        bool caseSensitive = false);
std::string textBetween(std::string_view source, std::string_view leftMarker, std::string_view rightMarker,
                        int start = 1, bool caseSensitive = false);

// Same, on copies of the markers, with case mattering unless ignoreCase.
std::string textBetweenMatchCase(std::string_view source, std::string_view leftMarker, std::string_view rightMarker,
                                 int start = 1, bool ignoreCase = false);

std::string textAfterLastMarker(std::string_view text, std::string_view marker, std::optional<int> unusedStart = {},
                                bool ignoreCase = false);
std::string textLeftOfMarker(std::string_view text, std::string_view marker, int start = 1, bool ignoreCase = false);

// An empty marker leaves that end open.
std::string textBetweenOpenEnds(std::string_view text, std::string_view leftMarker, std::string_view rightMarker);

// Walks a cookie-like list: position and leftMarker are in/out.
std::string nextTextBetween(std::string_view text, int& position, std::string_view anchor, std::string& leftMarker,
                            bool useLeftMarker, std::string_view rightMarker, bool ignoreCase = true,
                            bool keepLeftMarker = true);

// Every text between the two markers (a "." in a marker still matches any
// character); returns how many were put into results.
int extractAllBetween(std::string_view text, std::string_view beforeMarker, std::string_view afterMarker,
                      std::vector<std::string>& results);

using ReplacePair = std::pair<std::string_view, std::string_view>;
std::string replacePairs(std::string_view text, std::optional<int> count, int start, bool caseSensitive,
                         std::initializer_list<ReplacePair> pairs);

int countLines(std::string_view text);
std::string lineAt(std::string_view text, int n);

}  // namespace quorvane
