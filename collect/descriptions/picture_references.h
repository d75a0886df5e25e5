#pragma once
// Where the descriptions refer to their pictures, and the rewrite of those
// references: three passes, each a pattern over one text whose first group
// is a picture's address after "http://".
#include "text/regexp.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

enum class PictureText { Description, WirelessDescription };

struct DescriptionPicturePass {
    std::string_view pattern;  // for RegExpA: letter case ignored, every match
    // What the pattern begins with and then reads up to, in turn: it runs on
    // those pieces of its text alone (piecesText).
    std::string_view start;
    std::span<const std::string_view> sequence;
    PictureText text;
    bool fileScheme;       // the local reference is "file:///" + path, else the path alone
    bool logsFailedRetry;  // a picture that fails again is logged, besides leaving the text
};

// In their order: the description's IMG tags (their quotes doubled), the
// wireless description's img elements, the description's background
// attributes.
std::span<const DescriptionPicturePass> descriptionPicturePasses();

// The addresses the pass's pattern finds in text, in order, each as often
// as it is found; regExp gets the pass's pattern.
std::vector<std::string> pictureAddresses(std::string_view text, const DescriptionPicturePass& pass, RegExpA& regExp);

// text with every whole occurrence of "http://" + address replaced by
// replacement, letter case ignored. An occurrence is whole when the text ends
// after it or goes on with a character that cannot belong to an address (a
// quote, a bracket, a blank, "<", ...): an address that another one merely
// begins is never taken for it, and one inside url(...) is.
std::string replacePictureAddress(std::string_view text, std::string_view address, std::string_view replacement);

}  // namespace quorvane
