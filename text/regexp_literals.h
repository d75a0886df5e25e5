#pragma once
// Plain text in the regular-expression object's terms: how a text is written
// so that a pattern matches exactly it, and the object's own reading of
// characters for the readers that stand in for its patterns. The object reads
// UTF-16 units; so do these.
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// A pattern that matches exactly the GBK text text: every character that is
// pattern syntax gets a "\" (the bytes of double-byte characters never do).
std::string escapedForRegExp(std::string_view text);

// What "." does not cross.
bool isRegExpLineEnd(wchar_t c);
// What "\s" matches.
bool isRegExpBlank(wchar_t c);
// What "\d" matches.
bool isRegExpDigit(wchar_t c);
// The object's comparison with letter case ignored.
bool sameIgnoringCase(wchar_t a, wchar_t b);
// Whether word stands at position at of text, letter case ignored.
bool holdsAt(std::wstring_view text, std::size_t at, std::wstring_view word);

// The occurrences of a word in a text, letter case ignored, found left to
// right: asked for positions that never go back, it reads each character of
// the text once (a search from an earlier position starts again).
class ForwardSearch {
public:
    ForwardSearch(std::wstring_view text, std::wstring_view word);

    // The first occurrence at or after from; npos when there is none.
    std::size_t next(std::size_t from);

private:
    std::wstring_view text_;
    std::wstring word_;                // letter case folded
    std::vector<std::size_t> border_;  // the longest border of each prefix of word_
    std::size_t askedFrom_ = 0;
    std::size_t found_ = 0;  // the answer for askedFrom_
    bool answered_ = false;
    std::size_t at_ = 0;       // the next character to read
    std::size_t matched_ = 0;  // how much of the word ends at at_
};

}  // namespace quorvane
