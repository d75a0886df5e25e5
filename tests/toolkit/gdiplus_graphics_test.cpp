// The drawing surface over GDI+, drawn into a DIB and read back. The
// metafile enumerations are not called: five of them end the process in
// Wine, and the system never enumerates a metafile.
#include "gdiplus_fixture.h"
#include "toolkit/gdiplus/brush.h"
#include "toolkit/gdiplus/font.h"
#include "toolkit/gdiplus/graphics.h"
#include "toolkit/gdiplus/image.h"
#include "toolkit/gdiplus/path.h"
#include "toolkit/gdiplus/pen.h"
#include "toolkit/gdiplus/region.h"

#include <functional>
#include <memory>

namespace quorvane::toolkit::gdiplus {
namespace {

class GraphicsTest : public GdiplusTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(graphics.createFromHdc(surface.dc()));
        ASSERT_TRUE(red.create(0xFFFF0000));
    }
    Surface surface{120, 80};
    Graphics graphics;
    SolidBrush red;
};

// A 2 x 2 image: red, green / blue, white.
std::unique_ptr<Bitmap> quadrants() {
    auto bitmap = std::make_unique<Bitmap>();
    EXPECT_TRUE(bitmap->createFromScan0(2, 2));
    bitmap->setPixel(0, 0, 0xFFFF0000);
    bitmap->setPixel(1, 0, 0xFF00FF00);
    bitmap->setPixel(0, 1, 0xFF0000FF);
    bitmap->setPixel(1, 1, 0xFFFFFFFF);
    return bitmap;
}

TEST_F(GraphicsTest, CreatorsAndTheirDeviceContext) {
    EXPECT_NE(graphics.getNativeHandle(), nullptr);
    Graphics withDevice;
    EXPECT_TRUE(withDevice.createFromHdc(surface.dc(), nullptr)) << "a device given, even none";
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.createFromScan0(10, 10));
    Graphics onImage;
    ASSERT_TRUE(onImage.createFromImage(bitmap));
    ASSERT_TRUE(onImage.clear(0xFF00FF00));
    EXPECT_EQ(bitmap.getPixel(5, 5), 0xFF00FF00u);
    EXPECT_TRUE(onImage.deleteGraphics());
    EXPECT_FALSE(onImage.deleteGraphics());

    HDC dc = graphics.getDc();
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(graphics.releaseDc(dc));
    EXPECT_GT(graphics.getDpiX(), 0);
    EXPECT_GT(graphics.getDpiY(), 0);
}

TEST_F(GraphicsTest, ClearFillAndDrawReachThePixels) {
    ASSERT_TRUE(graphics.clear());
    EXPECT_EQ(surface.pixel(60, 40), 0xFFFFFFu) << "opaque white by default";
    ASSERT_TRUE(graphics.fillRectangle(red, 10, 10, 20, 20));
    EXPECT_EQ(surface.pixel(15, 15), 0xFF0000u);
    EXPECT_EQ(surface.pixel(35, 15), 0xFFFFFFu);
    SolidBrush blue;
    ASSERT_TRUE(blue.create(0xFF0000FF));
    ASSERT_TRUE(graphics.fillRectangleRect(blue, {40, 10, 10, 10}));
    EXPECT_EQ(surface.pixel(45, 15), 0x0000FFu);
    ASSERT_TRUE(graphics.fillEllipseI(blue, 60, 0, 20, 20));
    EXPECT_EQ(surface.pixel(70, 10), 0x0000FFu);
    GraphicsPath triangle;
    ASSERT_TRUE(triangle.create());
    triangle.addPolygon({{90, 10}, {110, 10}, {100, 30}});
    ASSERT_TRUE(graphics.fillPath(red, triangle));
    EXPECT_EQ(surface.pixel(100, 15), 0xFF0000u);
    Pen black;
    ASSERT_TRUE(black.create(0xFF000000, 1, Gdiplus::UnitPixel));
    ASSERT_TRUE(graphics.drawLine(black, 5.0f, 50.0f, 5.0f, 70.0f));
    EXPECT_EQ(surface.pixel(5, 60), 0u);
    ASSERT_TRUE(graphics.drawRectangleI(black, 20, 50, 10, 10));
    EXPECT_EQ(surface.pixel(20, 55), 0u);
    EXPECT_EQ(surface.pixel(25, 55), 0xFFFFFFu);
    Region area;
    ASSERT_TRUE(area.createFromRectI({40, 50, 5, 5}));
    ASSERT_TRUE(graphics.fillRegion(red, area));
    EXPECT_EQ(surface.pixel(42, 52), 0xFF0000u);
}

TEST_F(GraphicsTest, WholeImagesScaleIntoTheirRectangle) {
    ASSERT_TRUE(graphics.clear());
    ASSERT_TRUE(graphics.setInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor));
    ASSERT_TRUE(graphics.setPixelOffsetMode(Gdiplus::PixelOffsetModeHalf));
    const std::unique_ptr<Bitmap> image = quadrants();
    ASSERT_TRUE(graphics.drawImageRectRect(*image, 10, 10, 32, 32));
    EXPECT_EQ(surface.pixel(14, 14), 0xFF0000u);
    EXPECT_EQ(surface.pixel(38, 14), 0x00FF00u);
    EXPECT_EQ(surface.pixel(14, 38), 0x0000FFu);
    EXPECT_EQ(surface.pixel(44, 44), 0xFFFFFFu) << "outside the square";
    ASSERT_TRUE(graphics.drawImagePoints(*image, 60, 0, 110, 0, 60, 50));
    EXPECT_EQ(surface.pixel(100, 5), 0x00FF00u);
    EXPECT_EQ(surface.pixel(65, 45), 0x0000FFu);
    ASSERT_TRUE(graphics.drawImagePointRectI(*image, 0, 60, 1, 1, 1, 1));
    EXPECT_EQ(surface.pixel(0, 60), 0xFFFFFFu);

    Image undecoded;
    EXPECT_FALSE(undecoded.loadFromBytes(std::vector<unsigned char>(8, 1)));
    EXPECT_FALSE(graphics.drawImageRectRect(undecoded, 0, 0, 10, 10)) << "fails quietly";
}

TEST_F(GraphicsTest, GbkTextIsDrawnAndMeasured) {
    FontFamily family;
    ASSERT_TRUE(family.createFromName(kTestFamily));
    Font font;
    ASSERT_TRUE(font.create(family, 16, 0, Gdiplus::UnitPixel));
    family.deleteFontFamily();
    RectF box;
    ASSERT_TRUE(graphics.measureString("单个", font, {0, 0, 200, 50}, nullptr, box));
    EXPECT_GT(box.width, 20);
    EXPECT_LT(box.width, 60) << "two characters, not four bytes";
    RectF wider;
    ASSERT_TRUE(graphics.measureString("单个采集", font, {0, 0, 200, 50}, nullptr, wider));
    EXPECT_GT(wider.width, box.width * 1.5f);

    ASSERT_TRUE(graphics.clear());
    SolidBrush black;
    ASSERT_TRUE(black.create(0xFF000000));
    StringFormat format;
    ASSERT_TRUE(format.create());
    ASSERT_TRUE(graphics.drawString("退出", font, black, {0, 0, 120, 40}, &format));
    int inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) inked += surface.pixel(x, y) != 0xFFFFFF;
    EXPECT_GT(inked, 20);

    ASSERT_TRUE(graphics.clear());
    ASSERT_TRUE(graphics.drawDriverString("退", font, black, {{20, 30}})) << "glyphs looked up by default";
    inked = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 15; x < 45; ++x) inked += surface.pixel(x, y) != 0xFFFFFF;
    EXPECT_GT(inked, 10);

    std::vector<std::unique_ptr<Region>> regions(3);
    EXPECT_TRUE(graphics.measureCharacterRanges("单个", font, {0, 0, 200, 50}, &format, 0, regions));
    EXPECT_TRUE(regions.empty());
    ASSERT_TRUE(format.setMeasurableCharacterRanges({{1, 1}}));
    ASSERT_TRUE(graphics.measureCharacterRanges("单个", font, {0, 0, 200, 50}, &format, 1, regions));
    ASSERT_EQ(regions.size(), 1u);
    const RectF second = regions[0]->getBounds(graphics);
    EXPECT_GT(second.x, 5) << "the second character's area";
    EXPECT_GT(second.width, 5);
    const Font none;
    EXPECT_FALSE(graphics.measureCharacterRanges("单个", none, {0, 0, 200, 50}, &format, 1, regions));
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0]->getNativeHandle(), nullptr) << "GDI+ failed: the regions hold nothing";
}

TEST_F(GraphicsTest, RenderingSettingsRoundTrip) {
    struct Setting {
        const char* name;
        bool (Graphics::*set)(int);
        int (Graphics::*get)() const;
        int value;
    } settings[] = {
        {"compositing mode", &Graphics::setCompositingMode, &Graphics::getCompositingMode,
         Gdiplus::CompositingModeSourceCopy},
        {"compositing quality", &Graphics::setCompositingQuality, &Graphics::getCompositingQuality,
         Gdiplus::CompositingQualityHighQuality},
        {"smoothing", &Graphics::setSmoothingMode, &Graphics::getSmoothingMode, Gdiplus::SmoothingModeAntiAlias},
        {"text hint", &Graphics::setTextRenderingHint, &Graphics::getTextRenderingHint,
         Gdiplus::TextRenderingHintAntiAlias},
        {"interpolation", &Graphics::setInterpolationMode, &Graphics::getInterpolationMode,
         Gdiplus::InterpolationModeBilinear},
        {"pixel offset", &Graphics::setPixelOffsetMode, &Graphics::getPixelOffsetMode,
         Gdiplus::PixelOffsetModeHighQuality},
        {"page unit", &Graphics::setPageUnit, &Graphics::getPageUnit, Gdiplus::UnitPixel},
    };
    for (const Setting& s : settings) {
        SCOPED_TRACE(s.name);
        EXPECT_TRUE((graphics.*s.set)(s.value));
        EXPECT_EQ((graphics.*s.get)(), s.value);
    }
    ASSERT_TRUE(graphics.setPageScale(2));
    EXPECT_FLOAT_EQ(graphics.getPageScale(), 2);
    ASSERT_TRUE(graphics.setPageScale(1));
    ASSERT_TRUE(graphics.setRenderingOrigin(3, 4));
    int x = 0, y = 0;
    ASSERT_TRUE(graphics.getRenderingOrigin(x, y));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    ASSERT_TRUE(graphics.setTextContrast(5));
    EXPECT_EQ(graphics.getTextContrast(), 5u);
    EXPECT_EQ(graphics.getNearestColor(0xFF102030) >> 24, 0xFFu);
}

TEST_F(GraphicsTest, TransformsClipsStatesAndContainers) {
    ASSERT_TRUE(graphics.clear());
    ASSERT_TRUE(graphics.translateTransform(10, 20));
    ASSERT_TRUE(graphics.scaleTransform(2, 2));
    std::vector<PointF> points = {{1, 1}};
    ASSERT_TRUE(graphics.transformPoints(Gdiplus::CoordinateSpaceDevice, Gdiplus::CoordinateSpaceWorld, points));
    EXPECT_FLOAT_EQ(points[0].x, 12);
    EXPECT_FLOAT_EQ(points[0].y, 22);
    Matrix world;
    ASSERT_TRUE(graphics.getTransform(world));
    EXPECT_EQ(world.elements(), (std::vector<float>{2, 0, 0, 2, 10, 20}));
    const std::uint32_t state = graphics.save();
    ASSERT_TRUE(graphics.resetTransform());
    ASSERT_TRUE(graphics.restore(state));
    ASSERT_TRUE(graphics.getTransform(world));
    EXPECT_FLOAT_EQ(world.elements()[4], 10);
    ASSERT_TRUE(graphics.resetTransform());

    EXPECT_FALSE(graphics.isClipEmpty());
    ASSERT_TRUE(graphics.setClipRectI(10, 10, 20, 30));
    const Rect clip = graphics.getClipBoundsI();
    EXPECT_EQ(clip.width, 20);
    EXPECT_EQ(clip.height, 30);
    EXPECT_TRUE(graphics.isVisiblePointI(15, 15));
    EXPECT_FALSE(graphics.isVisiblePoint(5, 5));
    EXPECT_TRUE(graphics.isVisibleRect(25, 35, 10, 10));
    Region held;
    ASSERT_TRUE(held.create());
    ASSERT_TRUE(graphics.getClip(held));
    EXPECT_FLOAT_EQ(held.getBounds(graphics).x, 10);
    ASSERT_TRUE(graphics.translateClip(5, 0));
    EXPECT_FLOAT_EQ(graphics.getClipBounds().x, 15);
    ASSERT_TRUE(graphics.fillRectangle(red, 0, 0, 120, 80));
    EXPECT_EQ(surface.pixel(20, 20), 0xFF0000u);
    EXPECT_EQ(surface.pixel(5, 5), 0xFFFFFFu) << "outside the clip";
    ASSERT_TRUE(graphics.resetClip());
    EXPECT_EQ(graphics.getVisibleClipBoundsI().width, 120);

    // A container's changes end with it.
    ASSERT_TRUE(graphics.translateTransform(7, 0));
    const std::uint32_t container = graphics.beginContainer2();
    EXPECT_EQ(lastGdiStatus(), kOk);
    ASSERT_TRUE(graphics.scaleTransform(3, 3));
    ASSERT_TRUE(graphics.endContainer(container));
    ASSERT_TRUE(graphics.getTransform(world));
    EXPECT_EQ(world.elements(), (std::vector<float>{1, 0, 0, 1, 7, 0}));
    const std::uint32_t scaled = graphics.beginContainer({0, 0, 20, 20}, {0, 0, 10, 10}, Gdiplus::UnitPixel);
    EXPECT_EQ(lastGdiStatus(), kOk);
    EXPECT_TRUE(graphics.endContainer(scaled));
}

TEST_F(GraphicsTest, AGraphicsHoldingNothingReportsGdiplusStatus) {
    Graphics none;
    Pen pen;
    ASSERT_TRUE(pen.create(0xFF000000, 1));
    struct Call {
        const char* name;
        std::function<bool()> run;
    } calls[] = {
        {"fill", [&] { return none.fillRectangle(red, 0, 0, 1, 1); }},
        {"draw", [&] { return none.drawLineI(pen, 0, 0, 1, 1); }},
        {"clear", [&] { return none.clear(); }},
        {"setting", [&] { return none.setSmoothingMode(2); }},
        {"getter", [&] { return none.getSmoothingMode() != 0; }},
        {"flag", [&] { return none.isClipEmpty(); }},
    };
    for (const Call& c : calls) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.run());
        EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
    }
}

}  // namespace
}  // namespace quorvane::toolkit::gdiplus
