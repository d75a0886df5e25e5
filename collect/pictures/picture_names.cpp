#include "collect/pictures/picture_names.h"

#include "text/bytes.h"
#include "text/clock.h"
#include "text/digest.h"
#include "text/search.h"

#include <atomic>

namespace quorvane {
namespace {

bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool refusedInName(char c) {
    constexpr std::string_view kRefused = "/\\.% :*?\"><|";
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || kRefused.find(c) != std::string_view::npos;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices in every folder.
bool isDeviceName(std::string_view name) {
    const std::string upper = upperText(name);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
           upper[3] <= '9';
}

}  // namespace

std::string descriptionPictureFolderName(std::string_view title, std::string_view itemId) {
    std::string name;
    for (std::size_t at = 0; at < title.size();) {
        // A double-byte character stays whole: its second byte may read as
        // one of the refused characters.
        const std::size_t length = isLeadByte(title[at]) && at + 1 < title.size() ? 2 : 1;
        if (length == 1 && refusedInName(title[at])) {
            ++at;
            continue;
        }
        if (name.size() + length > kLongestPictureFolderName) break;
        name.append(title.substr(at, length));
        at += length;
    }
    if (name.empty()) return std::string(itemId);
    if (isDeviceName(name)) return "_" + name;
    return name;
}

std::string descriptionPictureFileName(std::string_view address, const Bytes& bytes) {
    return md5Hex(address, true) + "." + pictureTypeOf(bytes);
}

std::string packagePictureName(std::string_view title, std::string_view itemId) {
    static std::atomic<unsigned long long> names{0};
    return md5Hex(epochTimeText() + std::string(title) + std::string(itemId) + "#" + std::to_string(++names));
}

}  // namespace quorvane
