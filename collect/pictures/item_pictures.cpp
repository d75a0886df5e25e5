#include "collect/pictures/item_pictures.h"

#include "collect/item/page_parts.h"
#include "collect/pictures/picture_check.h"
#include "collect/pictures/picture_download.h"
#include "collect/pictures/picture_field.h"
#include "collect/pictures/picture_names.h"
#include "net/request_thread.h"
#include "text/codepage.h"
#include "text/extract.h"
#include "text/files.h"

#include <functional>

namespace quorvane {
namespace {

constexpr std::string_view kSwatchPattern =
    R"re(<li data-value="(.*?)".*?>\s*?<a.*?style="background:url\((.*?(jpg|gif|png))_.*? center no-repeat;">)re";

std::string number(int n) { return std::to_string(n); }

class PictureLog {
public:
    explicit PictureLog(const WorkerProgress& progress) : progress_(progress) {}
    void operator()(const std::string& message) const {
        if (progress_.log) progress_.log(" 线程：" + number(progress_.worker) + message);
    }
    std::string itemPlace() const { return number(progress_.itemNumber) + "/" + number(progress_.total); }

private:
    const WorkerProgress& progress_;
};

// The picture under name + ".tbi" in the picture folder; false when it did
// not come or could not be written.
bool storePackagePicture(const std::string& address, const std::string& path) {
    const Bytes bytes = downloadPackagePicture(address);
    if (isFailedPicture(bytes)) return false;
    return replaceFileContent(gbkToWide(path),
                              std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                              FileFlush::Cached);
}

// One kind of picture: its lines around the downloads, and an entry for
// every picture stored. entry gets the picture's name and its number among
// the stored ones.
void fetchPictures(ItemFields& item, const std::string& pictureFolder, const std::string& kind,
                   const std::vector<std::string>& addresses,
                   const std::function<std::string(const std::string& name, int i, int stored)>& entry,
                   const PictureLog& log) {
    log("  开始下载 第：" + log.itemPlace() + "  个宝贝   " + kind + "！");
    const int n = static_cast<int>(addresses.size());
    int stored = 0;
    for (int i = 1; i <= n; ++i) {
        if (requestsCancelled()) return;
        log("  正在下载 第：" + number(i) + "/" + number(n) + "  张 " + kind + "... ");
        const std::string name = packagePictureName(item.title, item.itemId);
        const std::string path = pictureFolder + "\\" + name + ".tbi";
        if (storePackagePicture("http:" + addresses[static_cast<std::size_t>(i - 1)], path)) {
            item.picture += entry(name, i, stored++);
        } else {
            log("  第：" + number(i) + "/" + number(n) + "  张 " + kind + "下载失败，未写入数据包！");
        }
    }
    log("  下载完毕 第：" + log.itemPlace() + "  个宝贝   " + kind + "！");
}

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
    const int count = regExp.execute(listItemsText(pageText, {" center no-repeat;\">"}));
    std::vector<SalePropertyPicture> pictures;
    for (int i = 1; i <= count; ++i) pictures.push_back({regExp.subMatchText(i, 1), regExp.subMatchText(i, 2)});
    return pictures;
}

void fetchItemPictures(ItemFields& item, const ItemPictureSettings& settings, const OptionBoxes& options,
                       WorkerRegexes& regexes, const WorkerProgress& progress) {
    const PictureLog log(progress);
    item.picture.clear();
    // The places of the stored pictures follow each other, so that a failed
    // one leaves no gap among the main pictures.
    fetchPictures(
        item, settings.pictureFolder, "宝贝主图数据", mainPictureAddresses(item.pageText, item.isTmall),
        [&](const std::string& name, int, int stored) {
            return mainPictureEntry(name, stored, settings.packageFormat);
        },
        log);
    if (requestsCancelled()) return;

    const std::vector<SalePropertyPicture> swatches = salePropertyPictures(item.pageText, regexes.first);
    std::vector<std::string> addresses;
    for (const SalePropertyPicture& swatch : swatches) addresses.push_back(swatch.address);
    fetchPictures(
        item, settings.pictureFolder, "销售属性图片数据", addresses,
        [&](const std::string& name, int i, int) {
            return salePropertyPictureEntry(name, swatches[static_cast<std::size_t>(i - 1)].pair,
                                            options.isChecked("单选框1"));
        },
        log);
}

}  // namespace quorvane
