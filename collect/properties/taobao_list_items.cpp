#include "collect/properties/taobao_list_items.h"

#include "text/codepage.h"
#include "text/regexp_literals.h"

#include <algorithm>
#include <functional>

namespace quorvane {
namespace {

// The object reads UTF-16 units; so do these routines, with the same
// conversion, so that an odd GBK byte comes back as the object gives it.
constexpr std::wstring_view kItemStart = L"<li data-value=\"";
constexpr std::wstring_view kSpan = L"<span>";
constexpr std::wstring_view kSpanEnd = L"</span>";
constexpr std::wstring_view kAnchor = L"<a";
constexpr std::size_t kNone = std::wstring_view::npos;

// For every position x of the text, the position that a lazy part of the
// pattern starting at x settles on, or kNone: its first candidate from x up to
// the end of x's line (the line end itself included when includeLineEnd) for
// which accepts says the rest of the pattern succeeds.
using Settled = std::vector<std::size_t>;
Settled settledFrom(std::wstring_view text, bool includeLineEnd, const std::function<bool(std::size_t)>& accepts) {
    Settled first(text.size() + 1, kNone);
    for (std::size_t x = text.size(); x-- > 0;) {
        const bool lineEnd = isRegExpLineEnd(text[x]);
        if ((!lineEnd || includeLineEnd) && accepts(x))
            first[x] = x;
        else if (!lineEnd)
            first[x] = first[x + 1];
    }
    return first;
}

std::string gbk(std::wstring_view text, std::size_t from, std::size_t to) {
    return wideToGbk(text.substr(from, to - from));
}

// Where a match that starts in a window's first line stands, in window
// positions.
struct Found {
    std::size_t quote, shownStart, shownEnd, end;
};

// One of the two patterns over a piece of text that holds its first line and
// the two after it: a match from the first line reaches no further, for only
// the two "\s" cross a line end.
class Window {
public:
    // shown: the literal third group, or nothing for "(.*?)".
    Window(std::wstring_view text, std::optional<std::wstring_view> shown) : text_(text), shown_(shown) {
        const auto blank = [&](std::size_t x) { return isRegExpBlank(text_[x]); };
        // ".*?<span>(...)</span>" from x: where its <span> stands.
        if (shown_) {
            spanAt_ = settledFrom(text_, false, [&](std::size_t x) { return tailEnd(x) != kNone; });
        } else {
            spanEndAt_ = settledFrom(text_, false, [&](std::size_t x) { return holdsAt(text_, x, kSpanEnd); });
            // Of the <span> tags on a line the first is taken: any later one
            // with a </span> after it leaves one after the first as well.
            spanAt_ = settledFrom(text_, false, [&](std::size_t x) { return holdsAt(text_, x, kSpan); });
            for (std::size_t& at : spanAt_)
                if (at != kNone && spanEndAt_[at + kSpan.size()] == kNone) at = kNone;
        }
        // ".*?\s.*?<span>...": where its blank stands.
        blankAt_ = settledFrom(text_, true, [&](std::size_t x) { return blank(x) && spanAt_[x + 1] != kNone; });
        if (shown_) {
            // "\s<a.*?\s...": the blank right before the anchor.
            anchorBlankAt_ = settledFrom(text_, true, [&](std::size_t x) {
                return blank(x) && holdsAt(text_, x + 1, kAnchor) && blankAt_[x + 1 + kAnchor.size()] != kNone;
            });
        } else {
            // ".*?<a.*?\s...": where its anchor stands; then "\s" before it.
            anchorAt_ = settledFrom(text_, false, [&](std::size_t x) {
                return holdsAt(text_, x, kAnchor) && blankAt_[x + kAnchor.size()] != kNone;
            });
            anchorBlankAt_ =
                settledFrom(text_, true, [&](std::size_t x) { return blank(x) && anchorAt_[x + 1] != kNone; });
        }
    }

    // The match that starts at start, on the window's first line.
    std::optional<Found> matchAt(std::size_t start) const {
        // The first group ends at the first quote of its line: a later quote
        // reaches only what the first one reaches too.
        std::size_t quote = start + kItemStart.size();
        while (quote < text_.size() && text_[quote] != L'"' && !isRegExpLineEnd(text_[quote])) ++quote;
        if (quote == text_.size() || text_[quote] != L'"') return std::nullopt;
        std::size_t span = spanAt_[quote + 1];
        if (span == kNone) {
            const std::size_t blank = anchorBlankAt_[quote + 1];
            if (blank == kNone) return std::nullopt;
            const std::size_t afterAnchor = shown_ ? blank + 1 + kAnchor.size() : anchorAt_[blank + 1] + kAnchor.size();
            span = spanAt_[blankAt_[afterAnchor] + 1];
        }
        const std::size_t shownStart = span + kSpan.size();
        const std::size_t shownEnd = shown_ ? shownStart + shown_->size() : spanEndAt_[shownStart];
        return Found{quote, shownStart, shownEnd, shownEnd + kSpanEnd.size()};
    }

private:
    // Where "<span>shown</span>" at x ends, or kNone.
    std::size_t tailEnd(std::size_t x) const {
        if (!holdsAt(text_, x, kSpan) || !holdsAt(text_, x + kSpan.size(), *shown_)) return kNone;
        const std::size_t close = x + kSpan.size() + shown_->size();
        return holdsAt(text_, close, kSpanEnd) ? close + kSpanEnd.size() : kNone;
    }

    std::wstring_view text_;
    std::optional<std::wstring_view> shown_;
    Settled spanAt_, spanEndAt_, blankAt_, anchorAt_, anchorBlankAt_;
};

// One of the two patterns over a whole text, one window at a time: a window
// serves every item that starts on its first line, so each line is looked
// at for at most three windows.
class ListItemReader {
public:
    ListItemReader(std::wstring_view text, std::optional<std::wstring_view> shown) : text_(text), shown_(shown) {}

    // The first match at or after from; from becomes its end.
    std::optional<ListItemMatch> next(std::size_t& from) {
        for (std::size_t start = find(from); start != kNone; start = find(start + 1)) {
            const Window& window = windowFor(start);
            const std::optional<Found> found = window.matchAt(start - windowStart_);
            if (!found) continue;
            from = windowStart_ + found->end;
            return ListItemMatch{gbk(text_, start + kItemStart.size(), windowStart_ + found->quote),
                                 gbk(text_, windowStart_ + found->shownStart, windowStart_ + found->shownEnd)};
        }
        from = text_.size();
        return std::nullopt;
    }

private:
    std::size_t find(std::size_t from) const {
        for (std::size_t at = from; at + kItemStart.size() <= text_.size(); ++at)
            if (holdsAt(text_, at, kItemStart)) return at;
        return kNone;
    }

    // A start before the first line end of the window in hand shares it.
    const Window& windowFor(std::size_t start) {
        if (window_ && start < firstLineEnd_) return *window_;
        // A shown text that holds line ends reaches as many lines further.
        const auto shownLineEnds = shown_ ? std::count_if(shown_->begin(), shown_->end(), isRegExpLineEnd) : 0;
        std::size_t end = start;
        firstLineEnd_ = text_.size();
        for (std::ptrdiff_t lineEnds = 0; end < text_.size(); ++end) {
            if (!isRegExpLineEnd(text_[end])) continue;
            if (lineEnds++ == 0) firstLineEnd_ = end;
            if (lineEnds == 3 + shownLineEnds) break;
        }
        windowStart_ = start;
        window_.emplace(text_.substr(start, end - start), shown_);
        return *window_;
    }

    std::wstring_view text_;
    std::optional<std::wstring_view> shown_;
    std::optional<Window> window_;
    std::size_t windowStart_ = 0;
    std::size_t firstLineEnd_ = 0;
};

}  // namespace

std::vector<ListItemMatch> taobaoListItems(std::string_view text) {
    const std::wstring wide = gbkToWide(text);
    ListItemReader reader(wide, std::nullopt);
    std::vector<ListItemMatch> matches;
    for (std::size_t at = 0; auto match = reader.next(at);) matches.push_back(std::move(*match));
    return matches;
}

std::optional<ListItemMatch> taobaoListItemShowing(std::string_view text, std::string_view shownText) {
    const std::wstring wide = gbkToWide(text);
    const std::wstring shown = gbkToWide(shownText);
    std::size_t at = 0;
    return ListItemReader(wide, shown).next(at);
}

}  // namespace quorvane
