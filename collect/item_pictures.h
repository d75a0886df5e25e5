#pragma once
// The item's main pictures and its sale-property pictures: where the page
// names them.
#include "text/regexp.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The page's main-picture addresses without their scheme, in page order:
// the thumbnails' addresses without the thumbnail suffix.
std::vector<std::string> mainPictureAddresses(std::string_view pageText, bool isTmall);

struct SalePropertyPicture {
    std::string pair;     // pid:vid
    std::string address;  // without the scheme and the thumbnail suffix
    bool operator==(const SalePropertyPicture&) const = default;
};

// The swatches of the page's sale-property values, in page order; regExp
// gets the swatch pattern.
std::vector<SalePropertyPicture> salePropertyPictures(std::string_view pageText, RegExpA& regExp);

}  // namespace quorvane
