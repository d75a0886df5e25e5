#include "collect/descriptions/description_pictures.h"

#include "collect/descriptions/picture_references.h"
#include "collect/pictures/picture_check.h"
#include "collect/pictures/picture_download.h"
#include "collect/pictures/picture_names.h"
#include "net/request_thread.h"
#include "text/codepage.h"
#include "text/files.h"

#include <vector>

namespace quorvane {
namespace {

std::string number(int n) { return std::to_string(n); }

class PicturePass {
public:
    PicturePass(ItemFields& item, const DescriptionPicturePass& pass, const std::string& folder,
                const WorkerProgress& progress)
        : text_(pass.text == PictureText::Description ? item.description : item.wireless_desc),
          pass_(pass),
          folder_(folder),
          progress_(progress) {}

    std::vector<std::string> addresses(RegExpA& regExp) const { return pictureAddresses(text_, pass_, regExp); }

    // Downloaded, tested and written, and then referred to locally; false
    // when the picture failed or its file could not be written.
    bool store(const std::string& address) {
        const DownloadedPicture picture = downloadPicture(address);
        if (isFailedPicture(picture.bytes)) return false;
        const std::string path = folder_ + "\\" + picture.name;
        const std::string_view content(reinterpret_cast<const char*>(picture.bytes.data()), picture.bytes.size());
        // Items of one folder name share their pictures' files: another
        // worker may be writing the same bytes to this one right now.
        if (!storeFileContent(gbkToWide(path), content, FileFlush::Cached)) return false;
        text_ = replacePictureAddress(text_, address, (pass_.fileScheme ? "file:///" : "") + path);
        return true;
    }

    void remove(const std::string& address) { text_ = replacePictureAddress(text_, address, ""); }

    void log(const std::string& message, int i, int n) const {
        if (progress_.log) progress_.log(" 线程：" + number(progress_.worker) + message + number(i) + "/" + number(n));
    }
    std::string itemPlace() const { return number(progress_.itemNumber) + "/" + number(progress_.total); }

private:
    std::string& text_;
    const DescriptionPicturePass& pass_;
    const std::string& folder_;
    const WorkerProgress& progress_;
};

}  // namespace

void fetchDescriptionPictures(ItemFields& item, const DescriptionPictureSettings& settings, WorkerRegexes& regexes,
                              const WorkerProgress& progress) {
    for (const DescriptionPicturePass& pass : descriptionPicturePasses()) {
        if (requestsCancelled()) return;
        const std::string folder =
            settings.pictureFolder + "\\" + descriptionPictureFolderName(item.title, item.itemId);
        PicturePass picturePass(item, pass, folder, progress);
        // Taken once, before the pass changes its text.
        const std::vector<std::string> addresses = picturePass.addresses(regexes.second);
        const int n = static_cast<int>(addresses.size());
        if (n == 0) continue;
        // A folder that cannot be made fails every picture's write.
        createFolder(gbkToWide(folder));
        const std::string place = picturePass.itemPlace();
        for (int i = 1; i <= n; ++i) {
            if (requestsCancelled()) return;
            const std::string& address = addresses[static_cast<std::size_t>(i - 1)];
            picturePass.log("  正在下载第:" + place + " 个宝贝 描述图片 ", i, n);
            if (picturePass.store(address)) continue;
            const int policy = settings.failurePolicy ? settings.failurePolicy() : KeepFailedPicture;
            if (policy == DeleteFailedPicture) {
                picturePass.remove(address);
                picturePass.log("  第:" + place + " 个宝贝 描述图片 字节集为0 已经删除 ", i, n);
            } else if (policy == RetryFailedPicture) {
                picturePass.log("  第:" + place + " 个宝贝 描述图片 字节集为0 正在重新下载 ", i, n);
                if (picturePass.store(address)) continue;
                picturePass.remove(address);
                if (pass.logsFailedRetry)
                    picturePass.log("  第:" + place + " 个宝贝 描述图片 字节集为0 重新下载失败===已经删除图片 ", i, n);
            }
        }
    }
}

}  // namespace quorvane
