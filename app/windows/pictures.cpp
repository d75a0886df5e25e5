#include "app/windows/pictures.h"

#include "app/runtime/interface_font.h"
#include "text/codepage.h"

#include <string_view>
#include <utility>

namespace quorvane {
namespace {

// A bitmap being drawn; finish() hands it over as a picture.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        SetBkMode(dc_, TRANSPARENT);
    }
    ~Canvas() {
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
        if (bitmap_) DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Top to bottom from one colour to the other.
    void gradient(COLORREF top, COLORREF bottom, RECT area) {
        const int rows = area.bottom - area.top;
        for (int y = 0; y < rows; ++y) {
            auto mix = [&](int a, int b) { return a + (b - a) * y / (rows > 1 ? rows - 1 : 1); };
            HBRUSH brush = CreateSolidBrush(RGB(mix(GetRValue(top), GetRValue(bottom)),
                                                mix(GetGValue(top), GetGValue(bottom)),
                                                mix(GetBValue(top), GetBValue(bottom))));
            RECT line{area.left, area.top + y, area.right, area.top + y + 1};
            FillRect(dc_, &line, brush);
            DeleteObject(brush);
        }
    }
    void gradient(COLORREF top, COLORREF bottom) { gradient(top, bottom, RECT{0, 0, width_, height_}); }

    void fill(COLORREF colour, RECT area) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc_, &area, brush);
        DeleteObject(brush);
    }
    void ellipse(COLORREF colour, RECT area) {
        HBRUSH brush = CreateSolidBrush(colour);
        HGDIOBJ oldBrush = SelectObject(dc_, brush);
        HGDIOBJ oldPen = SelectObject(dc_, GetStockObject(NULL_PEN));
        Ellipse(dc_, area.left, area.top, area.right, area.bottom);
        SelectObject(dc_, oldPen);
        SelectObject(dc_, oldBrush);
        DeleteObject(brush);
    }
    void text(std::string_view gbk, RECT area, COLORREF colour, int pixels, bool bold, UINT format) {
        const ui::Font font = ui::interfaceFamilyFont(pixels, bold);
        HGDIOBJ oldFont = SelectObject(dc_, font.handle());
        SetTextColor(dc_, colour);
        std::wstring wide = gbkToWide(gbk);
        DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &area, format | DT_NOPREFIX);
        SelectObject(dc_, oldFont);
    }
    ui::Picture finish() {
        SelectObject(dc_, std::exchange(old_, nullptr));
        return ui::Picture(std::exchange(bitmap_, nullptr));
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

constexpr COLORREF kDeepBlue = RGB(0x1A, 0x4F, 0x9C);
constexpr COLORREF kSkyBlue = RGB(0x6F, 0xA8, 0xE8);
constexpr COLORREF kWhite = RGB(255, 255, 255);

ui::Picture banner(std::string_view title, COLORREF accent) {
    Canvas canvas(695, 38);
    canvas.gradient(RGB(0xF4, 0xF8, 0xFD), RGB(0xD8, 0xE6, 0xF6));
    canvas.fill(accent, RECT{0, 0, 6, 38});
    canvas.text(title, RECT{16, 0, 160, 38}, accent, 16, true, DT_SINGLELINE | DT_VCENTER);
    canvas.fill(RGB(0xB8, 0xCC, 0xE4), RECT{0, 37, 695, 38});
    return canvas.finish();
}

}  // namespace

ui::Picture splashPicture() {
    Canvas canvas(460, 280);
    canvas.gradient(kDeepBlue, kSkyBlue);
    canvas.ellipse(RGB(0x3C, 0x78, 0xC8), RECT{300, -60, 520, 160});
    canvas.ellipse(RGB(0x2A, 0x64, 0xB4), RECT{-80, 170, 140, 390});
    canvas.text("Quorvane", RECT{0, 70, 460, 130}, kWhite, 44, true, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    canvas.text("宝贝复制助手  V3.60", RECT{0, 140, 460, 175}, kWhite, 18, false,
                DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    canvas.text("正在启动……", RECT{0, 230, 450, 270}, RGB(0xE0, 0xEC, 0xFA), 12, false,
                DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    return canvas.finish();
}

ui::Picture singleModeBanner() { return banner("单个采集", kDeepBlue); }
ui::Picture listModeBanner() { return banner("列表采集", RGB(0x1E, 0x8C, 0x5A)); }
ui::Picture shopModeBanner() { return banner("店铺采集", RGB(0xC8, 0x64, 0x14)); }
ui::Picture settingsBanner() { return banner("下载配置", RGB(0x6E, 0x46, 0xA0)); }
ui::Picture helpBanner() { return banner("使用帮助", RGB(0x50, 0x64, 0x78)); }

ui::Picture headerAnimationPicture() {
    Canvas canvas(90, 22);
    canvas.gradient(RGB(0xFF, 0xB4, 0x3C), RGB(0xF0, 0x82, 0x14));
    canvas.text("官方网站", RECT{0, 0, 90, 22}, kWhite, 12, true, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    return canvas.finish();
}

ui::Picture loginButtonPicture() {
    Canvas canvas(32, 30);
    canvas.gradient(RGB(0xFF, 0x8C, 0x3C), RGB(0xF0, 0x5A, 0x14));
    canvas.ellipse(kWhite, RECT{11, 5, 21, 15});
    canvas.ellipse(kWhite, RECT{7, 16, 25, 30});
    return canvas.finish();
}

ui::Picture addressLabelPicture() {
    Canvas canvas(116, 30);
    canvas.gradient(RGB(0xE8, 0xF0, 0xFA), RGB(0xC8, 0xDA, 0xF0));
    return canvas.finish();
}

ui::Picture questionPicture() {
    Canvas canvas(40, 40);
    canvas.fill(GetSysColor(COLOR_BTNFACE), RECT{0, 0, 40, 40});
    canvas.ellipse(kDeepBlue, RECT{2, 2, 38, 38});
    canvas.text("?", RECT{0, 0, 40, 40}, kWhite, 26, true, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    return canvas.finish();
}

ui::Picture summaryIcon() {
    Canvas canvas(32, 32);
    canvas.fill(RGB(0, 0, 0), RECT{0, 0, 32, 32});
    canvas.ellipse(RGB(0x1E, 0x8C, 0x5A), RECT{1, 1, 31, 31});
    canvas.text("√", RECT{0, 0, 32, 32}, kWhite, 20, true, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    return canvas.finish();
}

}  // namespace quorvane
