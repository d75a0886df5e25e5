#include "toolkit/skin_file.h"

#include "toolkit/skin_dll/skin_format.h"

#include <array>
#include <cstdint>

namespace quorvane::toolkit {
namespace {

using SkinFile = std::array<unsigned char, skin::kFileSize>;

// The orange of the navigation bar; the start-up tint turns it blue.
constexpr std::uint32_t kFrameColour = 0x001847B3;
constexpr std::uint32_t kEdgeColour = 0x000F2E75;
constexpr unsigned char kFrameShades[] = {100, 80, 60};

constexpr void put16(SkinFile& file, std::uint32_t at, std::uint32_t value) {
    file[at] = static_cast<unsigned char>(value);
    file[at + 1] = static_cast<unsigned char>(value >> 8);
}

constexpr void put32(SkinFile& file, std::uint32_t at, std::uint32_t value) {
    put16(file, at, value & 0xFFFF);
    put16(file, at + 2, value >> 16);
}

constexpr SkinFile makeSkinFile() {
    SkinFile file{};
    for (std::uint32_t i = 0; i < 4; ++i) file[skin::kMagicAt + i] = skin::kMagic[i];
    put16(file, skin::kVersionAt, skin::kVersion);
    put16(file, skin::kHeaderSizeAt, skin::kHeaderSize);
    put32(file, skin::kFileSizeAt, skin::kFileSize);
    put32(file, skin::kFrameColourAt, kFrameColour);
    put32(file, skin::kEdgeColourAt, kEdgeColour);
    file[skin::kFrameLinesAt] = sizeof(kFrameShades);
    for (std::uint32_t i = 0; i < sizeof(kFrameShades); ++i) file[skin::kShadesAt + i] = kFrameShades[i];
    put32(file, skin::kChecksumAt,
          skin::checksum(file.data() + skin::kHeaderSize, skin::kFileSize - skin::kHeaderSize));
    return file;
}

constexpr SkinFile kSkinFile = makeSkinFile();

}  // namespace

std::span<const unsigned char> carriedSkinFile() { return kSkinFile; }

}  // namespace quorvane::toolkit
