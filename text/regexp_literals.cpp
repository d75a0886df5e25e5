#include "text/regexp_literals.h"

#include <windows.h>

#include <cwctype>

namespace quorvane {

namespace {

wchar_t folded(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

}  // namespace

std::string escapedForRegExp(std::string_view text) {
    constexpr std::string_view kSyntax = "\\^$.*+?()[]{}|/";
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsDBCSLeadByteEx(936, static_cast<BYTE>(text[i])) && i + 1 < text.size()) {
            escaped += text.substr(i++, 2);
            continue;
        }
        if (kSyntax.find(text[i]) != std::string_view::npos) escaped += '\\';
        escaped += text[i];
    }
    return escaped;
}

bool isRegExpLineEnd(wchar_t c) { return c == L'\n' || c == L'\r' || c == 0x2028 || c == 0x2029; }

bool isRegExpBlank(wchar_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == L' ' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool isRegExpDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool sameIgnoringCase(wchar_t a, wchar_t b) { return a == b || folded(a) == folded(b); }

bool holdsAt(std::wstring_view text, std::size_t at, std::wstring_view word) {
    if (at > text.size() || text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (!sameIgnoringCase(text[at + i], word[i])) return false;
    return true;
}

ForwardSearch::ForwardSearch(std::wstring_view text, std::wstring_view word) : text_(text), border_(word.size(), 0) {
    for (const wchar_t c : word) word_ += folded(c);
    for (std::size_t i = 1, k = 0; i < word_.size(); ++i) {
        while (k > 0 && word_[i] != word_[k]) k = border_[k - 1];
        if (word_[i] == word_[k]) ++k;
        border_[i] = k;
    }
}

std::size_t ForwardSearch::next(std::size_t from) {
    constexpr std::size_t kNone = std::wstring_view::npos;
    if (word_.empty()) return from <= text_.size() ? from : kNone;
    if (from < askedFrom_) {
        at_ = from;
        matched_ = 0;
        answered_ = false;
    } else if (answered_ && (found_ == kNone || found_ >= from)) {
        askedFrom_ = from;
        return found_;
    }
    askedFrom_ = from;
    answered_ = true;
    if (at_ < from) {
        at_ = from;
        matched_ = 0;
    }
    // A partial occurrence that began before from is no answer.
    while (matched_ > at_ - from) matched_ = border_[matched_ - 1];
    while (at_ < text_.size()) {
        const wchar_t c = folded(text_[at_++]);
        while (matched_ > 0 && word_[matched_] != c) matched_ = border_[matched_ - 1];
        if (word_[matched_] == c) ++matched_;
        if (matched_ == word_.size()) {
            matched_ = border_[matched_ - 1];
            return found_ = at_ - word_.size();
        }
    }
    return found_ = kNone;
}

}  // namespace quorvane
