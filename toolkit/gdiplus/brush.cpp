#include "toolkit/gdiplus/brush.h"

#include "toolkit/gdiplus/flat.h"
#include "toolkit/gdiplus/path.h"

namespace quorvane::toolkit::gdiplus {

using namespace Gdiplus;

namespace {

GpBrush* brushAt(Handle handle) { return as<GpBrush>(handle); }
GpLineGradient* line(Handle handle) { return as<GpLineGradient>(handle); }
GpPathGradient* pathGradient(Handle handle) { return as<GpPathGradient>(handle); }
WrapMode wrap(int mode) { return static_cast<WrapMode>(mode); }
MatrixOrder order(int value) { return static_cast<MatrixOrder>(value); }

}  // namespace

bool Brush::deleteBrush() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeleteBrush(brushAt(h)); });
}

bool Brush::clone(Brush& target) const {
    return cloneInto<GpBrush>(target,
                              [&](GpBrush** made) { return flat::GdipCloneBrush(brushAt(classHandle_), made); });
}

int Brush::getType() const { return value<BrushType>(flat::GdipGetBrushType, brushAt(classHandle_)); }

// Solid brushes.

bool SolidBrush::create(Argb colour) {
    return createAt<GpSolidFill>(*this, leafHandle_,
                                 [&](GpSolidFill** made) { return flat::GdipCreateSolidFill(colour, made); });
}

bool SolidBrush::setColor(Argb colour) { return ok(flat::GdipSetSolidFillColor(as<GpSolidFill>(leafHandle_), colour)); }

Argb SolidBrush::getColor() const { return value<ARGB>(flat::GdipGetSolidFillColor, as<GpSolidFill>(leafHandle_)); }

// Linear gradients.

bool LinearGradientBrush::create(PointF point1, PointF point2, Argb colour1, Argb colour2) {
    return createAt<GpLineGradient>(*this, leafHandle_, [&](GpLineGradient** made) {
        return flat::GdipCreateLineBrush(gp(&point1), gp(&point2), colour1, colour2, WrapModeTile, made);
    });
}

bool LinearGradientBrush::createI(Point point1, Point point2, Argb colour1, Argb colour2) {
    return createAt<GpLineGradient>(*this, leafHandle_, [&](GpLineGradient** made) {
        return flat::GdipCreateLineBrushI(gp(&point1), gp(&point2), colour1, colour2, WrapModeTile, made);
    });
}

bool LinearGradientBrush::createFromRect(RectF rect, Argb colour1, Argb colour2, int mode) {
    return createAt<GpLineGradient>(*this, leafHandle_, [&](GpLineGradient** made) {
        return flat::GdipCreateLineBrushFromRect(gp(&rect), colour1, colour2, static_cast<LinearGradientMode>(mode),
                                                 WrapModeTile, made);
    });
}

bool LinearGradientBrush::createFromRectI(Rect rect, Argb colour1, Argb colour2, int mode) {
    return createAt<GpLineGradient>(*this, leafHandle_, [&](GpLineGradient** made) {
        return flat::GdipCreateLineBrushFromRectI(gp(&rect), colour1, colour2, static_cast<LinearGradientMode>(mode),
                                                  WrapModeTile, made);
    });
}

bool LinearGradientBrush::createFromRectWithAngle(RectF rect, Argb colour1, Argb colour2, float angle,
                                                  bool isAngleScalable) {
    return createAt<GpLineGradient>(*this, leafHandle_, [&](GpLineGradient** made) {
        return flat::GdipCreateLineBrushFromRectWithAngle(gp(&rect), colour1, colour2, angle, isAngleScalable,
                                                          WrapModeTile, made);
    });
}

bool LinearGradientBrush::createFromRectWithAngleI(Rect rect, Argb colour1, Argb colour2, float angle,
                                                   bool isAngleScalable) {
    return createAt<GpLineGradient>(*this, leafHandle_, [&](GpLineGradient** made) {
        return flat::GdipCreateLineBrushFromRectWithAngleI(gp(&rect), colour1, colour2, angle, isAngleScalable,
                                                           WrapModeTile, made);
    });
}

bool LinearGradientBrush::getColors(Argb& colour1, Argb& colour2) const {
    ARGB colours[2] = {};
    const bool done = ok(flat::GdipGetLineColors(line(leafHandle_), colours));
    colour1 = colours[0];
    colour2 = colours[1];
    return done;
}

bool LinearGradientBrush::setColors(Argb colour1, Argb colour2) {
    return ok(flat::GdipSetLineColors(line(leafHandle_), colour1, colour2));
}

RectF LinearGradientBrush::getRect() const {
    RectF rect;
    rememberStatus(flat::GdipGetLineRect(line(leafHandle_), gp(&rect)));
    return rect;
}

Rect LinearGradientBrush::getRectI() const {
    Rect rect;
    rememberStatus(flat::GdipGetLineRectI(line(leafHandle_), gp(&rect)));
    return rect;
}

bool LinearGradientBrush::setGammaCorrection(bool useGamma) {
    return ok(flat::GdipSetLineGammaCorrection(line(leafHandle_), useGamma));
}

bool LinearGradientBrush::getGammaCorrection() const {
    return flag(flat::GdipGetLineGammaCorrection, line(leafHandle_));
}

bool LinearGradientBrush::setBlend(const std::vector<float>& factors, const std::vector<float>& positions) {
    return ok(flat::GdipSetLineBlend(line(leafHandle_), arrayOf(factors), arrayOf(positions), countOf(factors)));
}

int LinearGradientBrush::getBlend(std::vector<float>& factors, std::vector<float>& positions) const {
    return listGetter(
        [&](INT* n) { return flat::GdipGetLineBlendCount(line(leafHandle_), n); },
        [&](INT n) {
            factors.assign(static_cast<std::size_t>(n), 0);
            positions.assign(static_cast<std::size_t>(n), 0);
            rememberStatus(flat::GdipGetLineBlend(line(leafHandle_), arrayOf(factors), arrayOf(positions), n));
        });
}

bool LinearGradientBrush::setPresetBlend(const std::vector<Argb>& colours, const std::vector<float>& positions) {
    return ok(flat::GdipSetLinePresetBlend(line(leafHandle_), arrayOf(colours), arrayOf(positions), countOf(colours)));
}

int LinearGradientBrush::getPresetBlend(std::vector<Argb>& colours, std::vector<float>& positions) const {
    return listGetter(
        [&](INT* n) { return flat::GdipGetLinePresetBlendCount(line(leafHandle_), n); },
        [&](INT n) {
            colours.assign(static_cast<std::size_t>(n), 0);
            positions.assign(static_cast<std::size_t>(n), 0);
            rememberStatus(flat::GdipGetLinePresetBlend(line(leafHandle_), arrayOf(colours), arrayOf(positions), n));
        });
}

bool LinearGradientBrush::setSigmaBlend(float focus, float scale) {
    return ok(flat::GdipSetLineSigmaBlend(line(leafHandle_), focus, scale));
}

bool LinearGradientBrush::setLinearBlend(float focus, float scale) {
    return ok(flat::GdipSetLineLinearBlend(line(leafHandle_), focus, scale));
}

int LinearGradientBrush::getWrapMode() const { return value<WrapMode>(flat::GdipGetLineWrapMode, line(leafHandle_)); }

bool LinearGradientBrush::setWrapMode(int mode) { return ok(flat::GdipSetLineWrapMode(line(leafHandle_), wrap(mode))); }

bool LinearGradientBrush::getTransform(const GdiObject& matrix) const {
    return ok(flat::GdipGetLineTransform(line(leafHandle_), matrixOf(matrix)));
}

bool LinearGradientBrush::setTransform(const GdiObject& matrix) {
    return ok(flat::GdipSetLineTransform(line(leafHandle_), matrixOf(matrix)));
}

bool LinearGradientBrush::resetTransform() { return ok(flat::GdipResetLineTransform(line(leafHandle_))); }

bool LinearGradientBrush::multiplyTransform(const GdiObject& matrix, int matrixOrder) {
    return ok(flat::GdipMultiplyLineTransform(line(leafHandle_), matrixOf(matrix), order(matrixOrder)));
}

bool LinearGradientBrush::translateTransform(float dx, float dy, int matrixOrder) {
    return ok(flat::GdipTranslateLineTransform(line(leafHandle_), dx, dy, order(matrixOrder)));
}

bool LinearGradientBrush::scaleTransform(float sx, float sy, int matrixOrder) {
    return ok(flat::GdipScaleLineTransform(line(leafHandle_), sx, sy, order(matrixOrder)));
}

bool LinearGradientBrush::rotateTransform(float angle, int matrixOrder) {
    return ok(flat::GdipRotateLineTransform(line(leafHandle_), angle, order(matrixOrder)));
}

// Path gradients.

bool PathGradientBrush::createFromPoints(const std::vector<PointF>& points, int wrapMode) {
    return createAt<GpPathGradient>(*this, leafHandle_, [&](GpPathGradient** made) {
        return flat::GdipCreatePathGradient(gpArray(points), countOf(points), wrap(wrapMode), made);
    });
}

bool PathGradientBrush::createFromPointsI(const std::vector<Point>& points, int wrapMode) {
    return createAt<GpPathGradient>(*this, leafHandle_, [&](GpPathGradient** made) {
        return flat::GdipCreatePathGradientI(gpArray(points), countOf(points), wrap(wrapMode), made);
    });
}

bool PathGradientBrush::createFromPath(const GraphicsPath& path) {
    return createAt<GpPathGradient>(*this, leafHandle_, [&](GpPathGradient** made) {
        return flat::GdipCreatePathGradientFromPath(as<GpPath>(handleOf(path)), made);
    });
}

Argb PathGradientBrush::getCenterColor() const {
    return value<ARGB>(flat::GdipGetPathGradientCenterColor, pathGradient(leafHandle_));
}

bool PathGradientBrush::setCenterColor(Argb colour) {
    return ok(flat::GdipSetPathGradientCenterColor(pathGradient(leafHandle_), colour));
}

int PathGradientBrush::getPointCount() const {
    return value<INT>(flat::GdipGetPathGradientPointCount, pathGradient(leafHandle_));
}

int PathGradientBrush::getSurroundColorCount() const {
    return value<INT>(flat::GdipGetPathGradientSurroundColorCount, pathGradient(leafHandle_));
}

bool PathGradientBrush::getSurroundColors(std::vector<Argb>& colours, int& count) const {
    INT n = count;
    const bool done =
        ok(flat::GdipGetPathGradientSurroundColorsWithCount(pathGradient(leafHandle_), arrayOf(colours), &n));
    count = n;
    return done;
}

bool PathGradientBrush::setSurroundColors(const std::vector<Argb>& colours, int* count) {
    INT n = count ? *count : countOf(colours);
    if (n > countOf(colours)) {
        rememberStatus(InvalidParameter);
        return false;
    }
    const bool done =
        ok(flat::GdipSetPathGradientSurroundColorsWithCount(pathGradient(leafHandle_), arrayOf(colours), &n));
    if (count) *count = n;
    return done;
}

bool PathGradientBrush::getPath(GraphicsPath& path) const {
    return ok(flat::GdipGetPathGradientPath(pathGradient(leafHandle_), as<GpPath>(handleOf(path))));
}

bool PathGradientBrush::getPathInto(GraphicsPath& path) const { return getPath(path); }

PointF PathGradientBrush::getCenterPoint() const {
    PointF point;
    rememberStatus(flat::GdipGetPathGradientCenterPoint(pathGradient(leafHandle_), gp(&point)));
    return point;
}

Point PathGradientBrush::getCenterPointI() const {
    Point point;
    rememberStatus(flat::GdipGetPathGradientCenterPointI(pathGradient(leafHandle_), gp(&point)));
    return point;
}

bool PathGradientBrush::setCenterPoint(PointF point) {
    return ok(flat::GdipSetPathGradientCenterPoint(pathGradient(leafHandle_), gp(&point)));
}

bool PathGradientBrush::setCenterPointAlt(PointF point) { return setCenterPoint(point); }

RectF PathGradientBrush::getRect() const {
    RectF rect;
    rememberStatus(flat::GdipGetPathGradientRect(pathGradient(leafHandle_), gp(&rect)));
    return rect;
}

Rect PathGradientBrush::getRectI() const {
    Rect rect;
    rememberStatus(flat::GdipGetPathGradientRectI(pathGradient(leafHandle_), gp(&rect)));
    return rect;
}

bool PathGradientBrush::setGammaCorrection(bool useGamma) {
    return ok(flat::GdipSetPathGradientGammaCorrection(pathGradient(leafHandle_), useGamma));
}

bool PathGradientBrush::getGammaCorrection() const {
    return flag(flat::GdipGetPathGradientGammaCorrection, pathGradient(leafHandle_));
}

bool PathGradientBrush::setBlend(const std::vector<float>& factors, const std::vector<float>& positions) {
    return ok(flat::GdipSetPathGradientBlend(pathGradient(leafHandle_), arrayOf(factors), arrayOf(positions),
                                             countOf(factors)));
}

int PathGradientBrush::getBlend(std::vector<float>& factors, std::vector<float>& positions) const {
    return listGetter([&](INT* n) { return flat::GdipGetPathGradientBlendCount(pathGradient(leafHandle_), n); },
                      [&](INT n) {
                          factors.assign(static_cast<std::size_t>(n), 0);
                          positions.assign(static_cast<std::size_t>(n), 0);
                          rememberStatus(flat::GdipGetPathGradientBlend(pathGradient(leafHandle_), arrayOf(factors),
                                                                        arrayOf(positions), n));
                      });
}

bool PathGradientBrush::getFocusScales(float& xScale, float& yScale) const {
    return ok(flat::GdipGetPathGradientFocusScales(pathGradient(leafHandle_), &xScale, &yScale));
}

bool PathGradientBrush::setFocusScales(float xScale, float yScale) {
    return ok(flat::GdipSetPathGradientFocusScales(pathGradient(leafHandle_), xScale, yScale));
}

bool PathGradientBrush::setPresetBlend(const std::vector<Argb>& colours, const std::vector<float>& positions) {
    return ok(flat::GdipSetPathGradientPresetBlend(pathGradient(leafHandle_), arrayOf(colours), arrayOf(positions),
                                                   countOf(colours)));
}

int PathGradientBrush::getPresetBlend(std::vector<Argb>& colours, std::vector<float>& positions) const {
    return listGetter([&](INT* n) { return flat::GdipGetPathGradientPresetBlendCount(pathGradient(leafHandle_), n); },
                      [&](INT n) {
                          colours.assign(static_cast<std::size_t>(n), 0);
                          positions.assign(static_cast<std::size_t>(n), 0);
                          rememberStatus(flat::GdipGetPathGradientPresetBlend(pathGradient(leafHandle_),
                                                                              arrayOf(colours), arrayOf(positions), n));
                      });
}

bool PathGradientBrush::setSigmaBlend(float focus, float scale) {
    return ok(flat::GdipSetPathGradientSigmaBlend(pathGradient(leafHandle_), focus, scale));
}

bool PathGradientBrush::setLinearBlend(float focus, float scale) {
    return ok(flat::GdipSetPathGradientLinearBlend(pathGradient(leafHandle_), focus, scale));
}

int PathGradientBrush::getWrapMode() const {
    return value<WrapMode>(flat::GdipGetPathGradientWrapMode, pathGradient(leafHandle_));
}

bool PathGradientBrush::setWrapMode(int mode) {
    return ok(flat::GdipSetPathGradientWrapMode(pathGradient(leafHandle_), wrap(mode)));
}

bool PathGradientBrush::getTransform(const GdiObject& matrix) const {
    return ok(flat::GdipGetPathGradientTransform(pathGradient(leafHandle_), matrixOf(matrix)));
}

bool PathGradientBrush::setTransform(const GdiObject& matrix) {
    return ok(flat::GdipSetPathGradientTransform(pathGradient(leafHandle_), matrixOf(matrix)));
}

bool PathGradientBrush::resetTransform() { return ok(flat::GdipResetPathGradientTransform(pathGradient(leafHandle_))); }

bool PathGradientBrush::multiplyTransform(const GdiObject& matrix, int matrixOrder) {
    return ok(flat::GdipMultiplyPathGradientTransform(pathGradient(leafHandle_), matrixOf(matrix), order(matrixOrder)));
}

bool PathGradientBrush::translateTransform(float dx, float dy, int matrixOrder) {
    return ok(flat::GdipTranslatePathGradientTransform(pathGradient(leafHandle_), dx, dy, order(matrixOrder)));
}

bool PathGradientBrush::scaleTransform(float sx, float sy, int matrixOrder) {
    return ok(flat::GdipScalePathGradientTransform(pathGradient(leafHandle_), sx, sy, order(matrixOrder)));
}

bool PathGradientBrush::rotateTransform(float angle, int matrixOrder) {
    return ok(flat::GdipRotatePathGradientTransform(pathGradient(leafHandle_), angle, order(matrixOrder)));
}

}  // namespace quorvane::toolkit::gdiplus
