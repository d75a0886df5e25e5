#include "collect/pictures/picture_download.h"

#include "collect/item/field_checks.h"
#include "collect/pictures/picture_check.h"
#include "collect/pictures/picture_names.h"
#include "net/answer_status.h"
#include "net/com_request.h"
#include "net/timed_request.h"
#include "text/search.h"

namespace quorvane {
namespace {

// An error page or the part of a picture that came before its connection
// closed would be stored as the picture: such an answer is none.
Bytes wholePicture(Bytes bytes, const std::string& headers) {
    return isWholeSuccessfulAnswer(headers, bytes.size()) ? std::move(bytes) : Bytes{};
}

Bytes timedPicture(const std::string& url) {
    std::string headers;
    TimedRequest request;
    request.address = url;
    request.maxBodyBytes = kLargestPictureBytes;
    request.responseHeadersOut = &headers;
    Bytes bytes = httpRequestWithTimeout(request);
    return wholePicture(std::move(bytes), headers);
}

Bytes comPicture(std::string url) {
    std::string headers;
    ComRequest request;
    request.address = &url;
    request.maxBodyBytes = kLargestPictureBytes;
    request.responseHeadersOut = &headers;
    Bytes bytes = comHttpRequest(request);
    return wholePicture(std::move(bytes), headers);
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
