#pragma once
// A package as the tests compare it, and the picture folder beside it. The
// package names its picture folder (the package path without ".csv") in the
// descriptions' local references, and its main and sale-property pictures by
// names that come from the clock: the first is written {PICTURES}, the others
// {NAME}, so that the expected packages are fixed texts.
#include "tests/app/program_in_folder.h"
#include "tests/support/gui_driver.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

inline constexpr std::string_view kPictureFolderMark = "{PICTURES}";
inline constexpr std::string_view kPictureNameMark = "{NAME}";

inline std::string pictureFolderOf(const std::string& packagePath) {
    return packagePath.substr(0, packagePath.size() - std::string_view(".csv").size());
}

// The 32 lower-case hex digits of a picture name, followed by the colon of
// its picture-field entry.
inline bool pictureNameAt(const std::string& text, std::size_t at) {
    if (text.size() < at + 33 || text[at + 32] != ':') return false;
    for (std::size_t i = at; i < at + 32; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i])) && (text[i] < 'a' || text[i] > 'f')) return false;
    return at == 0 || !std::isxdigit(static_cast<unsigned char>(text[at - 1]));
}

inline std::string comparableText(const std::string& text, const std::string& pictureFolder) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, pictureFolder.size(), pictureFolder) == 0) {
            out += kPictureFolderMark;
            at += pictureFolder.size();
        } else if (pictureNameAt(text, at)) {
            out += kPictureNameMark;
            at += 32;
        } else {
            out += text[at++];
        }
    }
    return out;
}

// The package file at this path, comparable; none when it cannot be read.
inline std::optional<std::string> comparablePackage(const std::string& packagePath) {
    const std::optional<std::string> text = readFile(packagePath);
    if (!text) return std::nullopt;
    return comparableText(*text, pictureFolderOf(packagePath));
}

// The package with its rows sorted after its header lines (4.X one, 5.X
// three): the rows stand in the order in which their items finished.
inline std::optional<std::string> withRowsSorted(const std::optional<std::string>& package, int headerLines) {
    if (!package) return std::nullopt;
    std::string header;
    std::vector<std::string> rows;
    int line = 0;
    for (std::size_t at = 0; at < package->size(); ++line) {
        const std::size_t end = std::min(package->find("\r\n", at), package->size() - 2) + 2;
        (line < headerLines ? header : rows.emplace_back()) += package->substr(at, end - at);
        at = end;
    }
    std::sort(rows.begin(), rows.end());
    for (const std::string& row : rows) header += row;
    return header;
}

// The picture names of a picture field, in order.
inline std::vector<std::string> pictureNames(const std::string& text) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < text.size(); ++at)
        if (pictureNameAt(text, at)) names.push_back(text.substr(at, 32));
    return names;
}

}  // namespace quorvane::test
