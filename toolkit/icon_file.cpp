#include "toolkit/icon_file.h"

#include <cstdint>

namespace quorvane::toolkit {
namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kEntrySize = 16;
constexpr DWORD kIconFormatVersion = 0x00030000;

std::uint32_t read32(const unsigned char* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

}  // namespace

HICON iconFromIcoBytes(std::span<const unsigned char> bytes, int index, int* width, int* height) {
    if (index < 0) return nullptr;
    const std::size_t entry = kDirectoryHeader + kEntrySize * static_cast<std::size_t>(index);
    if (entry + kEntrySize > bytes.size()) return nullptr;
    const unsigned char* fields = bytes.data() + entry;
    if (width) *width = fields[0];
    if (height) *height = fields[1];
    const std::uint32_t size = read32(fields + 8);
    const std::uint32_t offset = read32(fields + 12);
    if (!size || offset > bytes.size() || size > bytes.size() - offset) return nullptr;
    // Sized as CreateIconFromResource sizes it, but not shared, so that the
    // owner can destroy it.
    return CreateIconFromResourceEx(const_cast<unsigned char*>(bytes.data() + offset), size, TRUE, kIconFormatVersion,
                                    0, 0, LR_DEFAULTSIZE);
}

}  // namespace quorvane::toolkit
