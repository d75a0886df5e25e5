// The wrapper family's common design (levels, status, results, text) and its
// brushes, checked against GDI+ itself.
#include "gdiplus_fixture.h"
#include "toolkit/gdiplus/brush.h"
#include "toolkit/gdiplus/path.h"

#include <functional>
#include <memory>

namespace quorvane::toolkit::gdiplus {
namespace {

namespace flat = Gdiplus::DllExports;

using BrushTest = GdiplusTest;

// A failing call on an object that holds nothing, to set a known Status.
void failOnce() {
    SolidBrush none;
    EXPECT_EQ(none.getColor(), 0u);
    ASSERT_EQ(lastGdiStatus(), kInvalidParameter);
}

TEST_F(BrushTest, CreateReleaseAndSecondReleaseKeepTheLevelsAndTheStatus) {
    SolidBrush brush;
    EXPECT_EQ(brush.getNativeHandle(), nullptr);  // constructing calls no GDI+
    ASSERT_TRUE(brush.create(0xFF000000));
    ASSERT_NE(brush.getNativeHandle(), nullptr);
    EXPECT_EQ(brush.getColor(), 0xFF000000u);                  // the leaf level holds it
    EXPECT_EQ(brush.getType(), Gdiplus::BrushTypeSolidColor);  // the class level holds it
    EXPECT_TRUE(brush.deleteBrush());
    EXPECT_EQ(brush.getNativeHandle(), nullptr);
    failOnce();
    EXPECT_FALSE(brush.deleteBrush());
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter) << "a release of nothing calls no GDI+";
    // The leaf level was cleared too: the brush passes none to GDI+.
    EXPECT_EQ(brush.getColor(), 0u);
}

TEST_F(BrushTest, EachBrushKindCreatesClonesAndReportsItsType) {
    GraphicsPath path;
    ASSERT_TRUE(path.create());
    ASSERT_TRUE(path.addEllipse(0, 0, 20, 10));
    struct Case {
        const char* name;
        std::function<std::unique_ptr<Brush>()> make;
        int type;
    } cases[] = {
        {"solid",
         [] {
             auto b = std::make_unique<SolidBrush>();
             EXPECT_TRUE(b->create(0x80FF0000));
             return b;
         },
         Gdiplus::BrushTypeSolidColor},
        {"linear",
         [] {
             auto b = std::make_unique<LinearGradientBrush>();
             EXPECT_TRUE(b->create({0, 0}, {0, 10}, 0xFF000000, 0xFFFFFFFF));
             return b;
         },
         Gdiplus::BrushTypeLinearGradient},
        {"linear from a rectangle",
         [] {
             auto b = std::make_unique<LinearGradientBrush>();
             EXPECT_TRUE(b->createFromRectWithAngleI({0, 0, 10, 10}, 0xFF000000, 0xFFFFFFFF, 45));
             return b;
         },
         Gdiplus::BrushTypeLinearGradient},
        {"path gradient from points",
         [] {
             auto b = std::make_unique<PathGradientBrush>();
             EXPECT_TRUE(b->createFromPoints({{0, 0}, {10, 0}, {5, 8}}));
             return b;
         },
         Gdiplus::BrushTypePathGradient},
        {"path gradient from a path",
         [&] {
             auto b = std::make_unique<PathGradientBrush>();
             EXPECT_TRUE(b->createFromPath(path));
             return b;
         },
         Gdiplus::BrushTypePathGradient},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Brush> brush = c.make();
        EXPECT_EQ(brush->getType(), c.type);
        Gdiplus::BrushType direct{};
        EXPECT_EQ(flat::GdipGetBrushType(static_cast<Gdiplus::GpBrush*>(brush->getNativeHandle()), &direct),
                  Gdiplus::Ok);
        EXPECT_EQ(direct, c.type);
        SolidBrush target;
        ASSERT_TRUE(brush->clone(target));
        EXPECT_NE(target.getNativeHandle(), nullptr);
        EXPECT_NE(target.getNativeHandle(), brush->getNativeHandle());
        EXPECT_EQ(target.getType(), c.type);
    }
}

TEST_F(BrushTest, AFailedCloneLeavesNothingInTheTarget) {
    SolidBrush none, target;
    ASSERT_TRUE(target.create(0xFF00FF00));
    EXPECT_FALSE(none.clone(target));
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
    EXPECT_EQ(target.getNativeHandle(), nullptr);
}

TEST_F(BrushTest, LinearGradientTilesAndReportsWhatItWasMadeOf) {
    LinearGradientBrush brush;
    ASSERT_TRUE(brush.create({0, 0}, {0, 64}, 0x00FFFFFF, 0x50FFFFFF));
    EXPECT_EQ(brush.getWrapMode(), Gdiplus::WrapModeTile);
    Argb first = 0, second = 0;
    ASSERT_TRUE(brush.getColors(first, second));
    EXPECT_EQ(first, 0x00FFFFFFu);
    EXPECT_EQ(second, 0x50FFFFFFu);
    const RectF rect = brush.getRect();
    EXPECT_FLOAT_EQ(rect.height, 64);
    EXPECT_EQ(brush.getRectI().height, 64);
    ASSERT_TRUE(brush.setWrapMode(Gdiplus::WrapModeTileFlipX));
    EXPECT_EQ(brush.getWrapMode(), Gdiplus::WrapModeTileFlipX);
    ASSERT_TRUE(brush.setGammaCorrection(true));
    EXPECT_TRUE(brush.getGammaCorrection());
    Matrix shift(1, 0, 0, 1, 5, 7), into;
    ASSERT_TRUE(brush.setTransform(shift));
    ASSERT_TRUE(brush.translateTransform(1, 1, Gdiplus::MatrixOrderAppend));
    ASSERT_TRUE(brush.getTransform(into));
    EXPECT_EQ(into.elements(), (std::vector<float>{1, 0, 0, 1, 6, 8}));
    ASSERT_TRUE(brush.resetTransform());
    ASSERT_TRUE(brush.getTransform(into));
    EXPECT_EQ(into.elements(), (std::vector<float>{1, 0, 0, 1, 0, 0}));
}

TEST_F(BrushTest, BlendGettersSizeTheListsByTheCountGdiplusReports) {
    LinearGradientBrush brush;
    ASSERT_TRUE(brush.create({0, 0}, {10, 0}, 0xFF000000, 0xFFFFFFFF));
    ASSERT_TRUE(brush.setBlend({0, 0.5f, 1}, {0, 0.3f, 1}));
    std::vector<float> factors{9}, positions;
    EXPECT_EQ(brush.getBlend(factors, positions), 3);
    EXPECT_EQ(factors, (std::vector<float>{0, 0.5f, 1}));
    EXPECT_EQ(positions, (std::vector<float>{0, 0.3f, 1}));

    ASSERT_TRUE(brush.setPresetBlend({0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF}, {0, 0.2f, 0.7f, 1}));
    std::vector<Argb> colours;
    EXPECT_EQ(brush.getPresetBlend(colours, positions), 4);
    EXPECT_EQ(colours, (std::vector<Argb>{0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF}));
    EXPECT_EQ(positions.size(), 4u);

    // A failed count call leaves both lists as they were.
    LinearGradientBrush none;
    std::vector<float> keptFactors{7, 8}, keptPositions{9};
    EXPECT_EQ(none.getBlend(keptFactors, keptPositions), 0);
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
    EXPECT_EQ(keptFactors, (std::vector<float>{7, 8}));
    EXPECT_EQ(keptPositions, (std::vector<float>{9}));
}

TEST_F(BrushTest, PathGradientFromPointsAndItsSurroundColours) {
    PathGradientBrush empty;
    EXPECT_FALSE(empty.createFromPoints({}));
    EXPECT_NE(lastGdiStatus(), kOk);
    EXPECT_EQ(empty.getNativeHandle(), nullptr);

    PathGradientBrush brush;
    ASSERT_TRUE(brush.createFromPoints({{0, 0}, {40, 0}, {40, 20}, {0, 20}}));
    EXPECT_EQ(brush.getWrapMode(), Gdiplus::WrapModeClamp) << "omitted wrap mode";
    EXPECT_EQ(brush.getPointCount(), 4);
    const PointF centre = brush.getCenterPoint();
    EXPECT_FLOAT_EQ(centre.x, 20);
    EXPECT_FLOAT_EQ(centre.y, 10);
    EXPECT_EQ(brush.getCenterPointI().x, 20);
    ASSERT_TRUE(brush.setCenterPoint({30, 5}));
    EXPECT_FLOAT_EQ(brush.getCenterPoint().x, 30);
    ASSERT_TRUE(brush.setCenterColor(0x96FFFFFF));
    EXPECT_EQ(brush.getCenterColor(), 0x96FFFFFFu);
    EXPECT_FLOAT_EQ(brush.getRect().width, 40);

    // One colour without a count: GDI+ gets count 1.
    ASSERT_TRUE(brush.setSurroundColors({0x00FFFFFF}));
    std::vector<Argb> read(4, 0);
    int count = 4;
    ASSERT_TRUE(brush.getSurroundColors(read, count));
    EXPECT_EQ(read[0], 0x00FFFFFFu);
    // A count given: GDI+ leaves there how many colours it took.
    int given = 2;
    ASSERT_TRUE(brush.setSurroundColors({0xFF0000FF, 0xFF00FF00, 0xFFFF0000}, &given));
    EXPECT_EQ(given, 2);
    int tooMany = 5;
    EXPECT_FALSE(brush.setSurroundColors({0xFF0000FF}, &tooMany));
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter);

    ASSERT_TRUE(brush.setFocusScales(0.5f, 0.25f));
    float xScale = 0, yScale = 0;
    ASSERT_TRUE(brush.getFocusScales(xScale, yScale));
    EXPECT_FLOAT_EQ(xScale, 0.5f);
    EXPECT_FLOAT_EQ(yScale, 0.25f);
    ASSERT_TRUE(brush.setBlend({0, 1}, {0, 1}));
    std::vector<float> factors, positions;
    EXPECT_EQ(brush.getBlend(factors, positions), 2);
    EXPECT_EQ(factors.size(), 2u);
}

TEST_F(BrushTest, ColourConversionAndGbkTextAtTheBoundary) {
    EXPECT_EQ(colorrefToArgb(0x1847B3), 0xFFB34718u);
    EXPECT_EQ(colorrefToArgb(0xFFFFFF, 80), 0x50FFFFFFu);
    EXPECT_EQ(colorrefToArgb(0, 0), 0u);
    // GBK both ways, whatever the machine's ANSI and OEM code pages are.
    EXPECT_EQ(toWideText("单个采集"), std::wstring(L"\u5355\u4e2a\u91c7\u96c6"));
    EXPECT_EQ(fromWideText(L"\u9000\u51fa\u7cfb\u7edf"), "退出系统");
    EXPECT_EQ(toWideText(""), std::wstring());
    EXPECT_EQ(fromWideText(L""), "");
    EXPECT_EQ(toWideText(std::string_view("a\0b", 3)), std::wstring(L"a")) << "a zero ends the text";
}

}  // namespace
}  // namespace quorvane::toolkit::gdiplus
