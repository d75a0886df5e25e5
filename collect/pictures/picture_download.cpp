#include "collect/pictures/picture_download.h"

#include "collect/item/field_checks.h"
#include "collect/pictures/picture_check.h"
#include "collect/pictures/picture_names.h"
#include "net/com_request.h"
#include "net/timed_request.h"
#include "text/search.h"

namespace quorvane {
namespace {

Bytes timedPicture(const std::string& url) {
    TimedRequest request;
    request.address = url;
    request.maxBodyBytes = kLargestPictureBytes;
    return httpRequestWithTimeout(request);
}

Bytes comPicture(std::string url) {
    ComRequest request;
    request.address = &url;
    request.maxBodyBytes = kLargestPictureBytes;
    return comHttpRequest(request);
}

}  // namespace

DownloadedPicture downloadPicture(std::string_view address) {
    const std::string url = "http://" + replaceText(address, "amp;", "");
    DownloadedPicture picture;
    if (isPlainAddress(url)) picture.bytes = comPicture(url);
    picture.name = descriptionPictureFileName(address, picture.bytes);
    // Not a usual picture type (or nothing at all): the other request may do better.
    if (picture.name.size() > kUsualPictureFileName && isPlainAddress(url)) {
        picture.bytes = timedPicture(url);
        picture.name = descriptionPictureFileName(address, picture.bytes);
    }
    return picture;
}

Bytes downloadPackagePicture(const std::string& address) {
    if (!isPlainAddress(address)) return {};
    return timedPicture(address);
}

}  // namespace quorvane
