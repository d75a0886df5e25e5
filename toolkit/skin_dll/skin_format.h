#pragma once
// Our skin file: one record of 13,987 bytes, little-endian. The header names
// the frame colours and the frame's lines; a checksum over everything after
// the header tells a whole file from a damaged or cut one. Bytes the header
// does not use are zero.
#include <cstdint>

namespace quorvane::skin {

inline constexpr std::uint32_t kFileSize = 13987;
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::uint16_t kHeaderSize = 32;
inline constexpr int kMaxShades = 16;

// Offsets of the fields.
inline constexpr std::uint32_t kMagicAt = 0;             // ".SHE"
inline constexpr std::uint32_t kVersionAt = 4;           // u16
inline constexpr std::uint32_t kHeaderSizeAt = 6;        // u16
inline constexpr std::uint32_t kFileSizeAt = 8;          // u32
inline constexpr std::uint32_t kChecksumAt = 12;         // u32, FNV-1a of the bytes after the header
inline constexpr std::uint32_t kFrameColourAt = 16;      // COLORREF of a top-level window's frame
inline constexpr std::uint32_t kEdgeColourAt = 20;       // COLORREF of a child window's border
inline constexpr std::uint32_t kFrameLinesAt = 24;       // u8, lines of the frame, at most kMaxShades
inline constexpr std::uint32_t kShadesAt = kHeaderSize;  // u8 per frame line, outermost first: percent of the colour

inline constexpr unsigned char kMagic[4] = {0x2E, 0x53, 0x48, 0x45};

constexpr std::uint32_t checksum(const unsigned char* bytes, std::uint32_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::uint32_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

constexpr std::uint32_t read16(const unsigned char* at) { return at[0] | at[1] << 8; }
constexpr std::uint32_t read32(const unsigned char* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

}  // namespace quorvane::skin
