#include "app/runtime/interface_font.h"

#include "text/codepage.h"

namespace quorvane::ui {

Font interfaceFamilyFont(int pixels, bool bold) {
    // The Chinese character set makes the font mapper prefer a font with the
    // captions' glyphs where 宋体 is unknown. Default quality follows the
    // system's font smoothing.
    return Font(CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            gbkToWide("宋体").c_str()));
}

HFONT interfaceFont() {
    // Pixels, not points: the layouts are in pixels and do not grow with the screen's DPI.
    static const Font font = interfaceFamilyFont(12);
    return font.handle();
}

}  // namespace quorvane::ui
