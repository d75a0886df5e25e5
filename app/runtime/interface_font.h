#pragma once
// The interface font: 宋体 (SimSun) at 9 points, 12 pixels, the size the
// window layouts were drawn for. Where a machine has no 宋体 its font
// substitutes decide what is drawn; the Wine prefix of tools/wine-run
// replaces it with an outline CJK font.
#include <windows.h>

#include <utility>

namespace quorvane::ui {

// A font object, deleted with its owner.
class Font {
public:
    Font() = default;
    explicit Font(HFONT font) : font_(font) {}
    ~Font() {
        if (font_) DeleteObject(font_);
    }
    Font(Font&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    Font& operator=(Font&& other) noexcept {
        std::swap(font_, other.font_);
        return *this;
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HFONT handle() const { return font_; }

private:
    HFONT font_ = nullptr;
};

// The interface family at another size or weight; `pixels` is the em height.
Font interfaceFamilyFont(int pixels, bool bold = false);

// The font of every component; it lives as long as the process.
HFONT interfaceFont();

}  // namespace quorvane::ui
