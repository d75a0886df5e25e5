// Paths and pens over GDI+. Pen::setUnit is not called: Wine's
// GdipSetPenUnit ends the process.
#include "gdiplus_fixture.h"
#include "toolkit/gdiplus/brush.h"
#include "toolkit/gdiplus/font.h"
#include "toolkit/gdiplus/path.h"
#include "toolkit/gdiplus/pen.h"

#include <functional>

namespace quorvane::toolkit::gdiplus {
namespace {

using PathTest = GdiplusTest;
using PenTest = GdiplusTest;

PathData dataOf(const GraphicsPath& path) {
    PathData data;
    EXPECT_TRUE(path.getPathData(data));
    return data;
}

void expectSameFigures(const GraphicsPath& actual, const GraphicsPath& expected) {
    const PathData a = dataOf(actual), e = dataOf(expected);
    ASSERT_EQ(a.count, e.count);
    EXPECT_EQ(a.types, e.types);
    for (std::size_t i = 0; i < a.points.size(); ++i) {
        EXPECT_FLOAT_EQ(a.points[i].x, e.points[i].x) << i;
        EXPECT_FLOAT_EQ(a.points[i].y, e.points[i].y) << i;
    }
}

TEST_F(PathTest, RoundedRectangleIsFourCornerArcsClosed) {
    struct Case {
        const char* name;
        float width, height;
        int percent;
        float ew, eh;  // the corner ellipses
    } cases[] = {
        {"20 percent", 100, 50, 20, 20, 10},
        {"0 acts as 1", 100, 50, 0, 1, 0},
        {"250 acts as 100", 100, 50, 250, 100, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GraphicsPath rounded, expected;
        ASSERT_TRUE(rounded.create());
        ASSERT_TRUE(expected.create());
        EXPECT_TRUE(rounded.addRoundedRectangle(0, 0, c.width, c.height, c.percent));
        expected.addArc(c.width - c.ew, 0, c.ew, c.eh, 270, 90);
        expected.addArc(c.width - c.ew, c.height - c.eh, c.ew, c.eh, 0, 90);
        expected.addArc(0, c.height - c.eh, c.ew, c.eh, 90, 90);
        expected.addArc(0, 0, c.ew, c.eh, 180, 90);
        expected.closeFigure();
        expectSameFigures(rounded, expected);
    }
    // Width 3 at 10 percent truncates the corners to nothing; only the
    // closing step decides the result.
    GraphicsPath thin;
    ASSERT_TRUE(thin.create());
    EXPECT_TRUE(thin.addRoundedRectangle(0, 0, 3, 30, 10));
}

TEST_F(PathTest, PathDataPointsAndTypes) {
    GraphicsPath path;
    ASSERT_TRUE(path.create());
    EXPECT_EQ(path.getFillMode(), Gdiplus::FillModeAlternate) << "omitted fill mode";
    PathData empty;
    empty.points.resize(3);
    EXPECT_FALSE(path.getPathData(empty));
    EXPECT_EQ(empty.count, 0);
    EXPECT_TRUE(empty.points.empty());
    std::vector<PointF> points;
    EXPECT_FALSE(path.getPathPoints(points)) << "an empty path";

    ASSERT_TRUE(path.addLine(1, 2, 30, 2));
    ASSERT_TRUE(path.addLine(30, 2, 30, 20));
    ASSERT_TRUE(path.closeFigure());
    EXPECT_EQ(path.getPointCount(), 3);
    const PathData data = dataOf(path);
    ASSERT_EQ(data.count, 3);
    EXPECT_FLOAT_EQ(data.points[2].y, 20);
    EXPECT_EQ(data.types[0], Gdiplus::PathPointTypeStart);
    EXPECT_EQ(data.types[2], Gdiplus::PathPointTypeLine | Gdiplus::PathPointTypeCloseSubpath);
    std::vector<std::uint8_t> types;
    ASSERT_TRUE(path.getPathTypes(types));
    EXPECT_EQ(types, data.types);
    ASSERT_TRUE(path.getPathPoints(points, 3)) << "a given count";
    EXPECT_EQ(points.size(), 3u);
    EXPECT_FLOAT_EQ(points[1].x, 30);
    EXPECT_FLOAT_EQ(path.getLastPoint().x, 30);
    const RectF bounds = path.getBounds();
    EXPECT_FLOAT_EQ(bounds.x, 1);
    EXPECT_FLOAT_EQ(bounds.width, 29);
    EXPECT_TRUE(path.isVisiblePoint(25, 5));
    EXPECT_FALSE(path.isVisiblePointI(2, 19));

    ASSERT_TRUE(path.reset());
    EXPECT_EQ(path.getPointCount(), 0);
}

TEST_F(PathTest, PathsFromPointListsNeedATypeForEveryPoint) {
    const std::vector<std::uint8_t> types = {Gdiplus::PathPointTypeStart, Gdiplus::PathPointTypeLine,
                                             Gdiplus::PathPointTypeLine};
    GraphicsPath path;
    ASSERT_TRUE(path.createFromPoints({{0, 0}, {10, 0}, {10, 10}}, types, Gdiplus::FillModeWinding));
    EXPECT_EQ(path.getPointCount(), 3);
    EXPECT_EQ(path.getFillMode(), Gdiplus::FillModeWinding);
    GraphicsPath fromIntegers;
    ASSERT_TRUE(fromIntegers.createFromPointsI({{0, 0}, {10, 0}, {10, 10}}, types));
    EXPECT_EQ(fromIntegers.getPointCount(), 3);
    GraphicsPath uneven;
    EXPECT_FALSE(uneven.createFromPoints({{0, 0}, {10, 0}}, types));
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
    EXPECT_FALSE(uneven.createFromPointsI({{0, 0}, {10, 0}, {1, 1}, {2, 2}}, types));
    EXPECT_EQ(uneven.getNativeHandle(), nullptr);
    GraphicsPath copy;
    ASSERT_TRUE(path.clone(copy));
    expectSameFigures(copy, path);
}

TEST_F(PathTest, ShapesCurvesStringsAndTransforms) {
    GraphicsPath path;
    ASSERT_TRUE(path.create());
    struct Add {
        const char* name;
        std::function<bool()> add;
    } adds[] = {
        {"rectangles",
         [&] {
             return path.addRectangles({{0, 0, 5, 5}, {10, 10, 5, 5}});
         }},
        {"ellipse", [&] { return path.addEllipseI(0, 0, 8, 8); }},
        {"pie", [&] { return path.addPieI(0, 0, 10, 10, 0, 90); }},
        {"polygon",
         [&] {
             return path.addPolygon({{0, 0}, {4, 0}, {2, 3}});
         }},
        {"curve",
         [&] {
             return path.addCurve2({{0, 0}, {4, 4}, {8, 0}}, 0.5f);
         }},
        {"closed curve",
         [&] {
             return path.addClosedCurveI({{0, 0}, {4, 4}, {8, 0}});
         }},
        {"beziers", [&] { return path.addBezier(0, 0, 1, 1, 2, 1, 3, 0); }},
        {"lines",
         [&] {
             return path.addLinesI({{0, 0}, {1, 1}, {2, 0}});
         }},
    };
    int before = 0;
    for (const Add& a : adds) {
        SCOPED_TRACE(a.name);
        EXPECT_TRUE(a.add());
        EXPECT_GT(path.getPointCount(), before);
        before = path.getPointCount();
    }

    FontFamily family;
    ASSERT_TRUE(family.createFromName(kTestFamily));
    GraphicsPath text;
    ASSERT_TRUE(text.create());
    StringFormat format;  // Wine wants one
    ASSERT_TRUE(format.create());
    EXPECT_TRUE(text.addString("采集", family, 20, RectF{0, 0, 100, 40}, 0, &format));
    EXPECT_GT(text.getPointCount(), 8);
    family.deleteFontFamily();

    GraphicsPath square;
    ASSERT_TRUE(square.create());
    square.addRectangle(0, 0, 10, 10);
    const Matrix twice(2, 0, 0, 2, 0, 0);
    ASSERT_TRUE(square.transform(twice));
    EXPECT_FLOAT_EQ(square.getBounds().width, 20);
    GraphicsPath both;
    ASSERT_TRUE(both.create());
    ASSERT_TRUE(both.addPath(square));
    EXPECT_EQ(both.getPointCount(), square.getPointCount());

    Pen pen;
    ASSERT_TRUE(pen.create(0xFF000000, 4));
    EXPECT_TRUE(square.isOutlineVisiblePoint(0, 10, pen));
    EXPECT_FALSE(square.isOutlineVisiblePointI(10, 10, pen));
    EXPECT_GT(square.getBounds(nullptr, &pen).width, 20) << "the pen widens the bounds";
    GraphicsPath arc;
    ASSERT_TRUE(arc.create());
    arc.addArc(0, 0, 50, 50, 0, 180);
    const int curved = arc.getPointCount();
    ASSERT_TRUE(arc.flatten());
    EXPECT_GT(arc.getPointCount(), curved);
    ASSERT_TRUE(arc.widen(pen));
}

TEST_F(PenTest, CreationTakesColourWidthAndUnit) {
    Pen pen;
    ASSERT_TRUE(pen.create(0xFF000000, 1.0f));
    EXPECT_EQ(pen.getUnit(), Gdiplus::UnitWorld) << "omitted unit";
    EXPECT_FLOAT_EQ(pen.getWidth(), 1);
    EXPECT_EQ(pen.getColor(), 0xFF000000u);
    EXPECT_EQ(pen.getPenType(), Gdiplus::PenTypeSolidColor);
    Pen pixels;
    ASSERT_TRUE(pixels.create(0x50000000, 1.0f, Gdiplus::UnitPixel));
    EXPECT_EQ(pixels.getUnit(), Gdiplus::UnitPixel);

    LinearGradientBrush gradient;
    ASSERT_TRUE(gradient.create({0, 0}, {0, 10}, 0xFF000000, 0xFFFFFFFF));
    Pen brushed;
    ASSERT_TRUE(brushed.createFromBrush(gradient, 3));
    EXPECT_EQ(brushed.getPenType(), Gdiplus::PenTypeLinearGradient);
    SolidBrush fill;
    ASSERT_TRUE(pen.getBrush(fill));
    EXPECT_EQ(fill.getColor(), 0xFF000000u);
    ASSERT_TRUE(pen.setBrush(gradient));
    EXPECT_EQ(pen.getPenType(), Gdiplus::PenTypeLinearGradient);

    Pen copy;
    ASSERT_TRUE(pixels.clone(copy));
    EXPECT_EQ(copy.getColor(), 0x50000000u);
    EXPECT_TRUE(copy.deletePen());
    EXPECT_FALSE(copy.deletePen());
}

TEST_F(PenTest, SettingsRoundTrip) {
    Pen pen;
    ASSERT_TRUE(pen.create(0xFF112233, 2));
    ASSERT_TRUE(pen.setLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapSquare, Gdiplus::DashCapTriangle));
    EXPECT_EQ(pen.getStartCap(), Gdiplus::LineCapRound);
    EXPECT_EQ(pen.getEndCap(), Gdiplus::LineCapSquare);
    EXPECT_EQ(pen.getDashCap(), Gdiplus::DashCapTriangle);
    EXPECT_EQ(pen.getDashCapAlt(), Gdiplus::DashCapTriangle);
    ASSERT_TRUE(pen.setStartCap(Gdiplus::LineCapFlat));
    EXPECT_EQ(pen.getStartCap(), Gdiplus::LineCapFlat);
    ASSERT_TRUE(pen.setLineJoin(Gdiplus::LineJoinBevel));
    EXPECT_EQ(pen.getLineJoin(), Gdiplus::LineJoinBevel);
    ASSERT_TRUE(pen.setMiterLimit(4));
    EXPECT_FLOAT_EQ(pen.getMiterLimit(), 4);
    ASSERT_TRUE(pen.setMode(Gdiplus::PenAlignmentInset));
    EXPECT_EQ(pen.getMode(), Gdiplus::PenAlignmentInset);
    ASSERT_TRUE(pen.setWidth(5));
    EXPECT_FLOAT_EQ(pen.getWidth(), 5);
    ASSERT_TRUE(pen.setColor(0xFF445566));
    EXPECT_EQ(pen.getColor(), 0xFF445566u);
    ASSERT_TRUE(pen.setDashStyle(Gdiplus::DashStyleDot));
    EXPECT_EQ(pen.getDashStyle(), Gdiplus::DashStyleDot);
    ASSERT_TRUE(pen.setDashOffset(1.5f));
    EXPECT_FLOAT_EQ(pen.getDashOffset(), 1.5f);

    ASSERT_TRUE(pen.setDashPattern({3, 1, 2, 1}));
    std::vector<float> dashes;
    EXPECT_EQ(pen.getDashPattern(dashes), 4);
    EXPECT_EQ(dashes, (std::vector<float>{3, 1, 2, 1}));
    ASSERT_TRUE(pen.setCompoundArray({0, 0.25f, 0.75f, 1}));
    std::vector<float> compound;
    EXPECT_EQ(pen.getCompoundArray(compound), 4);
    EXPECT_EQ(compound.size(), 4u);

    const Matrix shift(1, 0, 0, 1, 3, 4);
    Matrix into;
    ASSERT_TRUE(pen.setTransform(shift));
    ASSERT_TRUE(pen.scaleTransform(2, 2));
    ASSERT_TRUE(pen.getTransform(into));
    EXPECT_EQ(into.elements(), (std::vector<float>{2, 0, 0, 2, 3, 4}));
    ASSERT_TRUE(pen.resetTransform());
    ASSERT_TRUE(pen.getTransform(into));
    EXPECT_EQ(into.elements(), (std::vector<float>{1, 0, 0, 1, 0, 0}));

    Pen none;
    std::vector<float> kept{1};
    EXPECT_EQ(none.getDashPattern(kept), 0);
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
    EXPECT_EQ(kept, (std::vector<float>{1}));
}

}  // namespace
}  // namespace quorvane::toolkit::gdiplus
