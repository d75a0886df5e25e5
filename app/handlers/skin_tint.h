#pragma once
// The skin's tint as the colour sliders last set it; it lives for the process
// and is neither saved nor loaded.
namespace quorvane {

struct SkinTint {
    int hue = 0;         // -181..180
    int saturation = 0;  // -101..100
    int value = 0;       // -101..100
};

SkinTint& skinTint();

}  // namespace quorvane
