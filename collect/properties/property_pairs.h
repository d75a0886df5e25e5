#pragma once
// The pid:vid pairs inside the row fields that carry them. A pair is
// rewritten or looked for as a whole, where its field's format puts one, so
// that "1627207:1001" is never part of "1627207:10012" and "1627975:" never
// part of "11627975:" or of a picture name.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

enum class PairField {
    Pairs,     // cateProps: pid:vid;
    Skus,      // skuProps: price:quantity::pid:vid;pid:vid; ... (the pairs close each entry)
    Aliases,   // propAlias, input_custom_cpv: pid:vid:text;
    Pictures,  // picture: name:n:n:pid:vid|; (main-picture entries hold no pair)
};

// The entries of an alias field, each without its closing ";". An entry
// begins at the field's start or after a ";" that a pid:vid: shape follows:
// a ";" inside a shown text (of an entity such as "&amp;") stays in it.
std::vector<std::string_view> aliasEntries(std::string_view field);

// The field with every pair passed through rewrite; everything else is kept
// byte for byte.
std::string rewritePairs(std::string_view field, PairField shape,
                         const std::function<std::string(std::string_view pair)>& rewrite);

// The field with every pair equal to from replaced by to.
std::string replacePair(std::string_view field, PairField shape, std::string_view from, std::string_view to);

// The field with the pid of every pair whose pid is from replaced by to.
std::string replacePid(std::string_view field, PairField shape, std::string_view from, std::string_view to);

bool holdsPair(std::string_view field, PairField shape, std::string_view pair);
bool holdsPid(std::string_view field, PairField shape, std::string_view pid);

}  // namespace quorvane
