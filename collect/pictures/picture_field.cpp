#include "collect/pictures/picture_field.h"

namespace quorvane {

std::string mainPictureEntry(std::string_view name, int index, int packageFormat) {
    return std::string(name) + (packageFormat == 4 ? ":0:" : ":1:") + std::to_string(index) + ":|;";
}

std::string salePropertyPictureEntry(std::string_view name, std::string_view pair, bool layout4X) {
    return std::string(name) + (layout4X ? ":1:0:" : ":2:0:") + std::string(pair) + "|;";
}

}  // namespace quorvane
