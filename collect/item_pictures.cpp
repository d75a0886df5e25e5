#include "collect/item_pictures.h"

#include "text/extract.h"

namespace quorvane {
namespace {

constexpr std::string_view kSwatchPattern =
    R"re(<li data-value="(.*?)".*?>\s*?<a.*?style="background:url\((.*?(jpg|gif|png))_.*? center no-repeat;">)re";

}  // namespace

std::vector<std::string> mainPictureAddresses(std::string_view pageText, bool isTmall) {
    std::vector<std::string> addresses;
    if (isTmall) {
        extractAllBetween(pageText, R"(<a href="#"><img src=")", "_60x60q90.jpg", addresses);
    } else {
        extractAllBetween(pageText, R"(<img data-src=")", "_50x50.jpg", addresses);
    }
    return addresses;
}

std::vector<SalePropertyPicture> salePropertyPictures(std::string_view pageText, RegExpA& regExp) {
    regExp.create(kSwatchPattern, true, true, true);
    const int count = regExp.execute(pageText);
    std::vector<SalePropertyPicture> pictures;
    for (int i = 1; i <= count; ++i) pictures.push_back({regExp.subMatchText(i, 1), regExp.subMatchText(i, 2)});
    return pictures;
}

}  // namespace quorvane
