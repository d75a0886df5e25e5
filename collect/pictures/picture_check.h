#pragma once
// What counts as a picture that did not come: no bytes, the marketplace's
// blank placeholder, or an error page; and the largest answer taken as a
// picture, for every picture is held whole in memory.
#include "text/types.h"

#include <array>
#include <cstddef>

namespace quorvane {

// The 1 by 1 pixel GIF the marketplace answers in place of a missing picture.
inline constexpr std::array<unsigned char, 49> BlankPicture = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x91, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff,
    0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x02, 0x00, 0x2c,
    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x54, 0x01, 0x00, 0x3b};

// A 32-bit process cannot hold many pictures of this size at once.
inline constexpr std::size_t kLargestPictureBytes = 20u << 20;

// Empty, equal to BlankPicture, or holding "404" before its first zero byte.
bool isFailedPicture(const Bytes& bytes);

}  // namespace quorvane
