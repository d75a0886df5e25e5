#include "collect/properties/property_pairs.h"

#include "text/search.h"

namespace quorvane {
namespace {

std::string_view entrySeparator(PairField shape) { return shape == PairField::Pictures ? "|;" : ";"; }

struct Span {
    std::size_t start = 0;
    std::size_t length = 0;
    bool found = false;
};

// Where the pair stands in one entry (its separator removed). ":" is never
// the second byte of a GBK character, so the colons can be found bytewise.
Span pairIn(std::string_view entry, PairField shape) {
    switch (shape) {
    case PairField::Pairs: return {0, entry.size(), entry.find(':') != std::string_view::npos};
    case PairField::Skus: {
        const std::size_t last = entry.rfind(':');
        if (last == std::string_view::npos || last == 0) return {};
        const std::size_t before = entry.rfind(':', last - 1);
        const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
        return {start, entry.size() - start, true};
    }
    case PairField::Aliases: {
        const std::size_t first = entry.find(':');
        if (first == std::string_view::npos) return {};
        const std::size_t second = entry.find(':', first + 1);
        return {0, second == std::string_view::npos ? entry.size() : second, true};
    }
    case PairField::Pictures: {
        std::size_t at = 0;
        for (int colon = 0; colon < 3; ++colon) {
            at = entry.find(':', at);
            if (at == std::string_view::npos) return {};
            ++at;
        }
        if (at == entry.size()) return {};
        return {at, entry.size() - at, true};
    }
    }
    return {};
}

// Digits, ":", digits, ":" at the start of text.
bool startsWithPairShape(std::string_view text) {
    std::size_t at = 0;
    for (int number = 0; number < 2; ++number) {
        const std::size_t digits = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        if (at == digits || at == text.size() || text[at] != ':') return false;
        ++at;
    }
    return true;
}

// The field's entries, each without its separator.
std::vector<std::string_view> entriesOf(std::string_view field, PairField shape) {
    if (shape == PairField::Aliases) return aliasEntries(field);
    const std::string_view separator = entrySeparator(shape);
    std::vector<std::string_view> entries;
    int from = 1;
    while (static_cast<std::size_t>(from - 1) < field.size()) {
        const int at = findLeft(field, separator, from);
        const std::size_t start = static_cast<std::size_t>(from - 1);
        const std::size_t end = at == -1 ? field.size() : static_cast<std::size_t>(at - 1);
        entries.push_back(field.substr(start, end - start));
        if (at == -1) break;
        from = at + static_cast<int>(separator.size());
    }
    return entries;
}

// Calls visit for every pair of the field until it returns false.
template <typename Visit>
void forEachPair(std::string_view field, PairField shape, Visit visit) {
    for (const std::string_view entry : entriesOf(field, shape))
        if (const Span pair = pairIn(entry, shape); pair.found && pair.length > 0)
            if (!visit(entry.substr(pair.start, pair.length))) return;
}

}  // namespace

// ";" is never the second byte of a GBK character: it can be found bytewise.
std::vector<std::string_view> aliasEntries(std::string_view field) {
    std::vector<std::string_view> entries;
    std::size_t start = 0;
    for (std::size_t at = field.find(';'); at != std::string_view::npos; at = field.find(';', at + 1)) {
        if (at + 1 < field.size() && !startsWithPairShape(field.substr(at + 1))) continue;
        entries.push_back(field.substr(start, at - start));
        start = at + 1;
    }
    if (start < field.size()) entries.push_back(field.substr(start));
    return entries;
}

namespace {

std::string_view pidOf(std::string_view pair) { return pair.substr(0, pair.find(':')); }

}  // namespace

std::string rewritePairs(std::string_view field, PairField shape,
                         const std::function<std::string(std::string_view pair)>& rewrite) {
    std::string result;
    result.reserve(field.size());
    std::size_t copied = 0;
    forEachPair(field, shape, [&](std::string_view pair) {
        const std::size_t start = static_cast<std::size_t>(pair.data() - field.data());
        result.append(field.substr(copied, start - copied));
        result += rewrite(pair);
        copied = start + pair.size();
        return true;
    });
    result.append(field.substr(copied));
    return result;
}

std::string replacePair(std::string_view field, PairField shape, std::string_view from, std::string_view to) {
    return rewritePairs(field, shape, [&](std::string_view pair) { return std::string(pair == from ? to : pair); });
}

std::string replacePid(std::string_view field, PairField shape, std::string_view from, std::string_view to) {
    return rewritePairs(field, shape, [&](std::string_view pair) {
        if (pidOf(pair) != from) return std::string(pair);
        return std::string(to) + std::string(pair.substr(from.size()));
    });
}

bool holdsPair(std::string_view field, PairField shape, std::string_view pair) {
    bool found = false;
    forEachPair(field, shape, [&](std::string_view p) { return !(found = p == pair); });
    return found;
}

bool holdsPid(std::string_view field, PairField shape, std::string_view pid) {
    bool found = false;
    forEachPair(field, shape, [&](std::string_view p) { return !(found = pidOf(p) == pid); });
    return found;
}

}  // namespace quorvane
