#include "text/lazy_spans.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace quorvane {
namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(char a, char b) { return asciiLower(a) == asciiLower(b); }

constexpr std::size_t kNone = std::string_view::npos;

// The first place at or after from where sought starts, letter case ignored.
std::size_t findIgnoringCase(std::string_view text, std::string_view sought, std::size_t from) {
    if (from > text.size()) return kNone;
    const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), sought.begin(),
                                   sought.end(), sameIgnoringCase);
    return found == text.end() && !sought.empty() ? kNone : static_cast<std::size_t>(found - text.begin());
}

struct Match {
    std::size_t start = 0;
    std::size_t end = 0;
};

// The matches of one alternative, asked for at places that only grow. Both
// searches resume where the last one stopped: whether an opening matches does
// not depend on where the search began, and the nearest closing after a place
// is the nearest after any earlier place when it lies beyond the later one.
class SpanFinder {
public:
    SpanFinder(std::string_view text, const LazySpan& pattern) : text_(text), pattern_(pattern) {}

    std::optional<Match> next(std::size_t from) {
        if (exhausted_) return std::nullopt;
        if (found_ && found_->start >= from) return found_;
        found_.reset();
        for (std::size_t at = from;; ++at) {
            at = findIgnoringCase(text_, pattern_.opening, at);
            if (at == kNone) break;
            const std::size_t gapStart = at + pattern_.opening.size();
            if (pattern_.firstGapByte && (gapStart >= text_.size() || !pattern_.firstGapByte(text_[gapStart])))
                continue;
            const std::size_t closing = closingFrom(gapStart + pattern_.minimumGap);
            // No closing after this opening: none after any later one either.
            if (closing == kNone) break;
            found_ = Match{at, closing + pattern_.closing.size()};
            return found_;
        }
        exhausted_ = true;
        return std::nullopt;
    }

private:
    std::size_t closingFrom(std::size_t from) {
        if (closingSearchedFrom_ != kNone && closingSearchedFrom_ <= from && (closing_ == kNone || closing_ >= from))
            return closing_;
        closingSearchedFrom_ = from;
        closing_ = findIgnoringCase(text_, pattern_.closing, from);
        return closing_;
    }

    std::string_view text_;
    LazySpan pattern_;
    std::optional<Match> found_;
    bool exhausted_ = false;
    std::size_t closingSearchedFrom_ = kNone;
    std::size_t closing_ = kNone;
};

}  // namespace

bool isBlankByte(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string replaceLazySpans(std::string_view text, std::initializer_list<LazySpan> alternatives,
                             std::string_view replacement) {
    std::vector<SpanFinder> finders;
    finders.reserve(alternatives.size());
    for (const LazySpan& alternative : alternatives) finders.emplace_back(text, alternative);

    std::string result;
    std::size_t done = 0;
    for (;;) {
        std::optional<Match> first;
        for (SpanFinder& finder : finders) {
            const std::optional<Match> match = finder.next(done);
            if (match && (!first || match->start < first->start)) first = match;
        }
        if (!first) break;
        result.append(text.substr(done, first->start - done)).append(replacement);
        done = first->end;
    }
    if (done == 0) return std::string(text);
    return result.append(text.substr(done));
}

}  // namespace quorvane
