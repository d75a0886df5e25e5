#pragma once
// The download of one picture, bounded in time and in size: the COM request
// first, and the WinINet request when the COM answer is no picture of a
// usual type.
#include "text/types.h"

#include <string>
#include <string_view>

namespace quorvane {

struct DownloadedPicture {
    Bytes bytes;       // empty when the download failed
    std::string name;  // descriptionPictureFileName of the address and the bytes
};

// address is a description picture's address without "http://", as found;
// it is fetched with every "amp;" removed. An answer longer than
// kLargestPictureBytes counts as none.
DownloadedPicture downloadPicture(std::string_view address);

// A main or sale-property picture from its address ("http:" + the page's
// text), through the WinINet request alone.
Bytes downloadPackagePicture(const std::string& address);

}  // namespace quorvane
