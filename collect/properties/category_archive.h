#pragma once
// The category file inside the archive that the category-file service sends.
// Only the one entry of the expected name is ever read, and it is handed
// back in memory: no name from the archive becomes a path, so no entry can
// land outside the options folder.
#include "text/types.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Far above the largest category file, far below what would exhaust memory.
inline constexpr std::size_t kLongestCategoryFile = 32u << 20;

// The first entry named exactly entryName (same bytes, no folder part) of the
// ZIP archive at archivePath; nothing when the archive cannot be read, holds
// no such entry, or the entry is enciphered, damaged or longer than
// kLongestCategoryFile.
std::optional<Bytes> categoryFileFromArchive(const std::wstring& archivePath, std::string_view entryName);

}  // namespace quorvane
