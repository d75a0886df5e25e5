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
    PictureText text;
    // What follows a whole address in this text: an address that another
    // one merely begins is never taken for it.
    std::string_view closing;
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

// text with every occurrence of "http://" + address that closing follows
// replaced by replacement; letter case is ignored in both.
std::string replacePictureAddress(std::string_view text, std::string_view address, std::string_view closing,
                                  std::string_view replacement);

}  // namespace quorvane
