#pragma once
// What the wrapper tests share: GDI+ started once, a matrix held by an
// object of the family (the family has no matrix class), a 32-bit surface
// to draw on and read back, and the test font.
#include "toolkit/gdiplus/gdi_object.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string_view>

namespace quorvane::toolkit::gdiplus {

// Wine has no 宋体; this family is installed with the test machine.
inline constexpr std::string_view kTestFamily = "WenQuanYi Micro Hei";

class GdiplusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_NE(startGdiplus(), 0u); }
};

// A GDI+ matrix as an object of the family.
class Matrix final : public GdiObject {
public:
    Matrix(float m11 = 1, float m12 = 0, float m21 = 0, float m22 = 1, float dx = 0, float dy = 0) {
        Gdiplus::GpMatrix* made = nullptr;
        Gdiplus::DllExports::GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &made);
        setNativeHandle(made);
    }
    ~Matrix() override { Gdiplus::DllExports::GdipDeleteMatrix(static_cast<Gdiplus::GpMatrix*>(getNativeHandle())); }
    // The six elements GDI+ holds.
    std::vector<float> elements() const {
        std::vector<float> values(6);
        Gdiplus::DllExports::GdipGetMatrixElements(static_cast<Gdiplus::GpMatrix*>(getNativeHandle()), values.data());
        return values;
    }

private:
    void syncClassHandle(Handle) override {}
};

// A 32-bit top-down DIB selected into a memory DC: draw with GDI+ on dc(),
// read pixels back as 0x00RRGGBB.
class Surface {
public:
    Surface(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return dc_; }
    DWORD pixel(int x, int y) const {
        GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus
