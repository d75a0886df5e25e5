#include "collect/property_pairs.h"

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

// Calls visit for every pair of the field until it returns false.
template <typename Visit>
void forEachPair(std::string_view field, PairField shape, Visit visit) {
    const std::string_view separator = entrySeparator(shape);
    int from = 1;
    while (static_cast<std::size_t>(from - 1) < field.size()) {
        const int at = findLeft(field, separator, from);
        const std::size_t start = static_cast<std::size_t>(from - 1);
        const std::size_t end = at == -1 ? field.size() : static_cast<std::size_t>(at - 1);
        const std::string_view entry = field.substr(start, end - start);
        if (const Span pair = pairIn(entry, shape); pair.found && pair.length > 0)
            if (!visit(entry.substr(pair.start, pair.length))) return;
        if (at == -1) break;
        from = at + static_cast<int>(separator.size());
    }
}

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
