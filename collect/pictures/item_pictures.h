// collect/pictures: the item's main and sale-property pictures, and what every picture
// download shares: the names, the bounded download, the check for a picture that did not come.

#pragma once
// The item's main pictures and its sale-property pictures: each becomes a
// picture file of the package and an entry of the picture field.
#include "collect/item/item_fields.h"
#include "collect/run/worker_state.h"
#include "text/regexp.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct ItemPictureSettings {
    std::string pictureFolder;  // PackageFolder + PackageBaseName, without a closing "\"
    int packageFormat = 5;      // the saved layout, for the main-picture entries
};

// Reads pageText, isTmall, title and itemId; sets picture anew and writes
// one PackagePictureFile (name + ".tbi") per picture. The sale-property
// entries take their form from 单选框1 as it stands when each is made. A
// picture that does not come, or whose file cannot be written, gets no
// entry and a log line, so the field never names a missing or empty file.
// Stops between pictures once the worker's requests are cancelled.
void fetchItemPictures(ItemFields& item, const ItemPictureSettings& settings, const OptionBoxes& options,
                       WorkerRegexes& regexes, const WorkerProgress& progress);

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
