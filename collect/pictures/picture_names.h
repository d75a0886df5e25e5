#pragma once
// The names the package gives its pictures: the folder of an item's
// description pictures, the file of each description picture, and the name
// of each main and sale-property picture.
#include "text/types.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane {

// Longest folder name taken from a title, in bytes: the whole path must stay
// within what Windows accepts.
inline constexpr std::size_t kLongestPictureFolderName = 100;

// The title without "/", "\", ".", "%", blanks, ":", tabs, "*", "?", double
// quotes, ">", "<", "|" and control characters, cut to
// kLongestPictureFolderName bytes without splitting a character; a device
// name (CON, NUL, COM1 ...) gets a leading "_", and a title with nothing
// left gives the item id. So no title can lead out of the package folder.
std::string descriptionPictureFolderName(std::string_view title, std::string_view itemId);

// The 16 middle hex digits of the MD5 of the address (as found, without
// "http://"), a dot and the type of the picture's first bytes.
std::string descriptionPictureFileName(std::string_view address, const Bytes& bytes);

// A description picture file name of the usual form: a recognised type whose
// extension has three letters.
inline constexpr std::size_t kUsualPictureFileName = 20;

// 32 lower-case hex digits: the MD5 of the clock's milliseconds, the title,
// the item id and a count of the process's names, so that two names are
// never the same even within one millisecond.
std::string packagePictureName(std::string_view title, std::string_view itemId);

}  // namespace quorvane
