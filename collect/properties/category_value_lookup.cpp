#include "collect/properties/category_value_lookup.h"

#include "text/codepage.h"
#include "text/regexp_literals.h"

#include <memory>
#include <optional>

namespace quorvane {
namespace {

constexpr std::size_t kNone = std::wstring_view::npos;
constexpr std::wstring_view kSortOrder = L"\",\"sort_order\":";
constexpr std::wstring_view kStatus = L",\"status\":\"";
constexpr std::wstring_view kVid = L"\",\"vid\":";

// Where a match stands in the data.
struct Found {
    std::size_t pidStart, pidEnd, vidStart, vidEnd;
};

// One of the patterns over the whole data. Every position asked of a search
// below only grows from one opening to the next, so each reads the data once.
class ValueObjectReader {
public:
    // With afterPid, the opening is followed by the pid's digits and then by
    // afterPid; the lazy parts follow, each up to its stage.
    ValueObjectReader(std::wstring_view text, std::wstring_view opening, std::optional<std::wstring_view> afterPid,
                      std::initializer_list<std::wstring_view> stages)
        : text_(text), openingSize_(opening.size()), opening_(text, opening), vid_(text, kVid) {
        if (afterPid) {
            afterPidSize_ = afterPid->size();
            afterPid_ = std::make_unique<ForwardSearch>(text, *afterPid);
        }
        for (const std::wstring_view stage : stages) stages_.push_back({stage.size(), ForwardSearch(text, stage)});
    }

    // The first match at or after from; from becomes its end.
    std::optional<Found> next(std::size_t& from) {
        for (std::size_t start = opening_.next(from); start != kNone; start = opening_.next(start + 1)) {
            if (const std::optional<Found> found = matchAt(start)) {
                from = found->vidEnd + 1;
                return found;
            }
        }
        from = text_.size();
        return std::nullopt;
    }

    std::string gbk(std::size_t from, std::size_t to) const { return wideToGbk(text_.substr(from, to - from)); }

private:
    struct Stage {
        std::size_t size;
        ForwardSearch search;
    };

    std::optional<Found> matchAt(std::size_t start) {
        Found found{};
        std::size_t at = start + openingSize_;
        found.pidStart = found.pidEnd = at;
        if (afterPid_) {
            // "\d*?" up to afterPid, which starts with no digit: the whole run.
            found.pidEnd = digitsEnd(at);
            if (afterPid_->next(found.pidEnd) != found.pidEnd) return std::nullopt;
            at = found.pidEnd + afterPidSize_;
        }
        const std::size_t lazyStart = at;
        for (Stage& stage : stages_) {
            const std::size_t stageAt = stage.search.next(at);
            if (stageAt == kNone) return std::nullopt;
            at = stageAt + stage.size;
        }
        const std::size_t vid = vidTailFrom(at);
        // The lazy parts and the literals between them hold no line end.
        if (vid == kNone || lineEndFrom(lazyStart) < vid) return std::nullopt;
        found.vidStart = vid + kVid.size() - 1;
        found.vidEnd = digitsEnd(found.vidStart + 1);
        return found;
    }

    // The end of the run of digits that starts at at.
    std::size_t digitsEnd(std::size_t at) const {
        while (at < text_.size() && isRegExpDigit(text_[at])) ++at;
        return at;
    }

    // The first "\",\"vid\":" + digits + "}" at or after from.
    std::size_t vidTailFrom(std::size_t from) {
        if (tailAnswered_ && from >= tailAsked_ && (tailAt_ == kNone || tailAt_ >= from)) return tailAt_;
        tailAsked_ = from;
        tailAnswered_ = true;
        for (std::size_t at = vid_.next(from); at != kNone; at = vid_.next(at + 1)) {
            const std::size_t end = digitsEnd(at + kVid.size());
            if (end < text_.size() && text_[end] == L'}') return tailAt_ = at;
        }
        return tailAt_ = kNone;
    }

    // The first line end at or after from, or kNone.
    std::size_t lineEndFrom(std::size_t from) {
        if (lineAnswered_ && from >= lineAsked_ && (lineEndAt_ == kNone || lineEndAt_ >= from)) return lineEndAt_;
        lineAsked_ = from;
        lineAnswered_ = true;
        for (std::size_t at = from; at < text_.size(); ++at)
            if (isRegExpLineEnd(text_[at])) return lineEndAt_ = at;
        return lineEndAt_ = kNone;
    }

    std::wstring_view text_;
    std::size_t openingSize_;
    ForwardSearch opening_;
    std::size_t afterPidSize_ = 0;
    std::unique_ptr<ForwardSearch> afterPid_;
    std::vector<Stage> stages_;
    ForwardSearch vid_;
    std::size_t tailAsked_ = 0, tailAt_ = 0, lineAsked_ = 0, lineEndAt_ = 0;
    bool tailAnswered_ = false, lineAnswered_ = false;
};

}  // namespace

std::vector<ValueObjectMatch> valueObjectsNamed(std::string_view json, std::string_view alias,
                                                std::string_view propertyName) {
    const std::wstring text = gbkToWide(json);
    const std::wstring opening = L"name_alias\":\"" + gbkToWide(alias) + L"\",\"pid\":";
    const std::wstring afterPid = L",\"prop_name\":\"" + gbkToWide(propertyName) + std::wstring(kSortOrder);
    ValueObjectReader reader(text, opening, afterPid, {kStatus});
    std::vector<ValueObjectMatch> matches;
    for (std::size_t at = 0; const auto found = reader.next(at);)
        matches.push_back({reader.gbk(found->pidStart, found->pidEnd), reader.gbk(found->vidStart, found->vidEnd)});
    return matches;
}

std::vector<std::string> valueObjectVids(std::string_view json, std::string_view opening) {
    const std::wstring text = gbkToWide(json);
    ValueObjectReader reader(text, gbkToWide(opening), std::nullopt, {kSortOrder, kStatus});
    std::vector<std::string> vids;
    for (std::size_t at = 0; const auto found = reader.next(at);)
        vids.push_back(reader.gbk(found->vidStart, found->vidEnd));
    return vids;
}

}  // namespace quorvane
