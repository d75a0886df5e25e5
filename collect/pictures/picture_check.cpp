#include "collect/pictures/picture_check.h"

#include "text/search.h"

#include <algorithm>

namespace quorvane {

bool isFailedPicture(const Bytes& bytes) {
    if (bytes.empty()) return true;
    if (std::equal(bytes.begin(), bytes.end(), BlankPicture.begin(), BlankPicture.end())) return true;
    return bytesAsText(bytes).find("404") != std::string::npos;
}

}  // namespace quorvane
