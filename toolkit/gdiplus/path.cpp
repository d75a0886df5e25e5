#include "toolkit/gdiplus/path.h"

#include "toolkit/gdiplus/flat.h"
#include "toolkit/gdiplus/font.h"
#include "toolkit/gdiplus/graphics.h"
#include "toolkit/gdiplus/pen.h"

#include <algorithm>
#include <cstring>

namespace quorvane::toolkit::gdiplus {

using namespace Gdiplus;

namespace {

GpPath* path(Handle handle) { return as<GpPath>(handle); }
FillMode fill(int mode) { return static_cast<FillMode>(mode); }
GpPen* penOf(const Pen* pen) { return as<GpPen>(handleOf(pen)); }
GpGraphics* graphicsOf(const Graphics* graphics) { return as<GpGraphics>(handleOf(graphics)); }

}  // namespace

bool GraphicsPath::deletePath() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeletePath(path(h)); });
}

bool GraphicsPath::create(int fillMode) {
    return createAt<GpPath>(*this, classHandle_,
                            [&](GpPath** made) { return flat::GdipCreatePath(fill(fillMode), made); });
}

bool GraphicsPath::createFromPoints(const std::vector<PointF>& points, const std::vector<std::uint8_t>& types,
                                    int fillMode) {
    if (points.size() != types.size()) {
        rememberStatus(InvalidParameter);
        return false;
    }
    return createAt<GpPath>(*this, classHandle_, [&](GpPath** made) {
        return flat::GdipCreatePath2(gpArray(points), arrayOf(types), countOf(types), fill(fillMode), made);
    });
}

bool GraphicsPath::createFromPointsI(const std::vector<Point>& points, const std::vector<std::uint8_t>& types,
                                     int fillMode) {
    if (points.size() != types.size()) {
        rememberStatus(InvalidParameter);
        return false;
    }
    return createAt<GpPath>(*this, classHandle_, [&](GpPath** made) {
        return flat::GdipCreatePath2I(gpArray(points), arrayOf(types), countOf(points), fill(fillMode), made);
    });
}

bool GraphicsPath::clone(GraphicsPath& target) const {
    return cloneInto<GpPath>(target, [&](GpPath** made) { return flat::GdipClonePath(path(classHandle_), made); });
}

bool GraphicsPath::reset() { return ok(flat::GdipResetPath(path(classHandle_))); }

int GraphicsPath::getFillMode() const { return value<FillMode>(flat::GdipGetPathFillMode, path(classHandle_)); }

bool GraphicsPath::setFillMode(int mode) { return ok(flat::GdipSetPathFillMode(path(classHandle_), fill(mode))); }

bool GraphicsPath::getPathData(PathData& data) const {
    INT count = 0;
    if (!ok(flat::GdipGetPointCount(path(classHandle_), &count))) return false;
    data.count = count;
    data.points.assign(static_cast<std::size_t>(std::max(count, 0)), PointF{});
    data.types.assign(static_cast<std::size_t>(std::max(count, 0)), 0);
    if (count <= 0) return false;
    Gdiplus::PathData block;
    block.Count = count;
    block.Points = static_cast<Gdiplus::PointF*>(gdipAlloc(static_cast<std::size_t>(count) * sizeof(PointF)));
    block.Types = static_cast<BYTE*>(gdipAlloc(static_cast<std::size_t>(count)));
    const bool done = block.Points && block.Types &&
                      ok(flat::GdipGetPathData(path(classHandle_), reinterpret_cast<GpPathData*>(&block)));
    if (done) {
        const std::size_t filled = static_cast<std::size_t>(std::clamp<INT>(block.Count, 0, count));
        data.count = block.Count;
        std::memcpy(static_cast<void*>(data.points.data()), block.Points, filled * sizeof(PointF));
        std::memcpy(data.types.data(), block.Types, filled);
    }
    gdipFree(block.Points);
    gdipFree(block.Types);
    // GDI+'s own PathData frees its buffers when it ends: they are ours.
    block.Points = nullptr;
    block.Types = nullptr;
    return done;
}

namespace {

// The points or types of a path: the count from the path unless given.
template <class T, class Fill>
bool pathList(GpPath* handle, std::vector<T>& list, std::optional<int> count, Fill fillList) {
    INT n = count.value_or(0);
    if (!count && (!ok(flat::GdipGetPointCount(handle, &n)) || n == 0)) return false;
    list.assign(static_cast<std::size_t>(std::max(n, 0)), T{});
    return ok(fillList(arrayOf(list), n));
}

}  // namespace

bool GraphicsPath::getPathTypes(std::vector<std::uint8_t>& types, std::optional<int> count) const {
    return pathList(path(classHandle_), types, count,
                    [&](BYTE* into, INT n) { return flat::GdipGetPathTypes(path(classHandle_), into, n); });
}

bool GraphicsPath::getPathPoints(std::vector<PointF>& points, std::optional<int> count) const {
    return pathList(path(classHandle_), points, count,
                    [&](PointF* into, INT n) { return flat::GdipGetPathPoints(path(classHandle_), gp(into), n); });
}

bool GraphicsPath::startFigure() { return ok(flat::GdipStartPathFigure(path(classHandle_))); }
bool GraphicsPath::closeFigure() { return ok(flat::GdipClosePathFigure(path(classHandle_))); }
bool GraphicsPath::closeAllFigures() { return ok(flat::GdipClosePathFigures(path(classHandle_))); }
bool GraphicsPath::setMarker() { return ok(flat::GdipSetPathMarker(path(classHandle_))); }
bool GraphicsPath::clearMarkers() { return ok(flat::GdipClearPathMarkers(path(classHandle_))); }
bool GraphicsPath::reverse() { return ok(flat::GdipReversePath(path(classHandle_))); }

PointF GraphicsPath::getLastPoint() const {
    PointF point;
    rememberStatus(flat::GdipGetPathLastPoint(path(classHandle_), gp(&point)));
    return point;
}

bool GraphicsPath::addLine(float x1, float y1, float x2, float y2) {
    return ok(flat::GdipAddPathLine(path(classHandle_), x1, y1, x2, y2));
}
bool GraphicsPath::addLineI(int x1, int y1, int x2, int y2) {
    return ok(flat::GdipAddPathLineI(path(classHandle_), x1, y1, x2, y2));
}
bool GraphicsPath::addLines(const std::vector<PointF>& points) {
    return ok(flat::GdipAddPathLine2(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addLinesI(const std::vector<Point>& points) {
    return ok(flat::GdipAddPathLine2I(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return ok(flat::GdipAddPathArc(path(classHandle_), x, y, width, height, startAngle, sweepAngle));
}
bool GraphicsPath::addArcI(int x, int y, int width, int height, float startAngle, float sweepAngle) {
    return ok(flat::GdipAddPathArcI(path(classHandle_), x, y, width, height, startAngle, sweepAngle));
}
bool GraphicsPath::addBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    return ok(flat::GdipAddPathBezier(path(classHandle_), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GraphicsPath::addBezierI(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ok(flat::GdipAddPathBezierI(path(classHandle_), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GraphicsPath::addBeziers(const std::vector<PointF>& points) {
    return ok(flat::GdipAddPathBeziers(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addBeziersI(const std::vector<Point>& points) {
    return ok(flat::GdipAddPathBeziersI(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addCurve(const std::vector<PointF>& points) {
    return ok(flat::GdipAddPathCurve(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addCurve2(const std::vector<PointF>& points, float tension) {
    return ok(flat::GdipAddPathCurve2(path(classHandle_), gpArray(points), countOf(points), tension));
}
bool GraphicsPath::addCurve3(const std::vector<PointF>& points, int offset, int numberOfSegments, float tension) {
    return ok(flat::GdipAddPathCurve3(path(classHandle_), gpArray(points), countOf(points), offset, numberOfSegments,
                                      tension));
}
bool GraphicsPath::addCurveI(const std::vector<Point>& points) {
    return ok(flat::GdipAddPathCurveI(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addCurve2I(const std::vector<Point>& points, float tension) {
    return ok(flat::GdipAddPathCurve2I(path(classHandle_), gpArray(points), countOf(points), tension));
}
bool GraphicsPath::addCurve3I(const std::vector<Point>& points, int offset, int numberOfSegments, float tension) {
    return ok(flat::GdipAddPathCurve3I(path(classHandle_), gpArray(points), countOf(points), offset, numberOfSegments,
                                       tension));
}
bool GraphicsPath::addClosedCurve(const std::vector<PointF>& points) {
    return ok(flat::GdipAddPathClosedCurve(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addClosedCurve2(const std::vector<PointF>& points, float tension) {
    return ok(flat::GdipAddPathClosedCurve2(path(classHandle_), gpArray(points), countOf(points), tension));
}
bool GraphicsPath::addClosedCurveI(const std::vector<Point>& points) {
    return ok(flat::GdipAddPathClosedCurveI(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addClosedCurve2I(const std::vector<Point>& points, float tension) {
    return ok(flat::GdipAddPathClosedCurve2I(path(classHandle_), gpArray(points), countOf(points), tension));
}
bool GraphicsPath::addRectangle(float x, float y, float width, float height) {
    return ok(flat::GdipAddPathRectangle(path(classHandle_), x, y, width, height));
}

bool GraphicsPath::addRoundedRectangle(float x, float y, float width, float height, int percent) {
    percent = std::clamp(percent, 1, 100);
    const float right = x + width;
    const float bottom = y + height;
    const float ew = static_cast<float>(static_cast<int>(width * static_cast<float>(percent) / 100));
    const float eh = static_cast<float>(static_cast<int>(height * static_cast<float>(percent) / 100));
    GpPath* handle = path(classHandle_);
    flat::GdipAddPathArc(handle, right - ew, y, ew, eh, 270, 90);
    flat::GdipAddPathArc(handle, right - ew, bottom - eh, ew, eh, 0, 90);
    flat::GdipAddPathArc(handle, x, bottom - eh, ew, eh, 90, 90);
    flat::GdipAddPathArc(handle, x, y, ew, eh, 180, 90);
    return ok(flat::GdipClosePathFigure(handle));
}

bool GraphicsPath::addRectangles(const std::vector<RectF>& rects) {
    return ok(flat::GdipAddPathRectangles(path(classHandle_), gpArray(rects), countOf(rects)));
}
bool GraphicsPath::addRectangleI(int x, int y, int width, int height) {
    return ok(flat::GdipAddPathRectangleI(path(classHandle_), x, y, width, height));
}
bool GraphicsPath::addRectanglesI(const std::vector<Rect>& rects) {
    return ok(flat::GdipAddPathRectanglesI(path(classHandle_), gpArray(rects), countOf(rects)));
}
bool GraphicsPath::addEllipse(float x, float y, float width, float height) {
    return ok(flat::GdipAddPathEllipse(path(classHandle_), x, y, width, height));
}
bool GraphicsPath::addEllipseI(int x, int y, int width, int height) {
    return ok(flat::GdipAddPathEllipseI(path(classHandle_), x, y, width, height));
}
bool GraphicsPath::addPieI(int x, int y, int width, int height, float startAngle, float sweepAngle) {
    return ok(flat::GdipAddPathPieI(path(classHandle_), x, y, width, height, startAngle, sweepAngle));
}
bool GraphicsPath::addPolygon(const std::vector<PointF>& points) {
    return ok(flat::GdipAddPathPolygon(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addPolygonI(const std::vector<Point>& points) {
    return ok(flat::GdipAddPathPolygonI(path(classHandle_), gpArray(points), countOf(points)));
}
bool GraphicsPath::addPath(const GraphicsPath& other, bool connect) {
    return ok(flat::GdipAddPathPath(path(classHandle_), path(handleOf(other)), connect));
}

bool GraphicsPath::addString(std::string_view text, const FontFamily& family, int emSize, RectF layoutRect, int style,
                             const StringFormat* format) {
    const std::wstring wide = toWideText(text);
    return ok(flat::GdipAddPathString(path(classHandle_), wide.c_str(), lstrlenW(wide.c_str()),
                                      as<GpFontFamily>(handleOf(family)), style, static_cast<REAL>(emSize),
                                      gp(&layoutRect), as<GpStringFormat>(handleOf(format))));
}

bool GraphicsPath::addStringI(std::string_view text, const FontFamily& family, int emSize, Rect layoutRect, int style,
                              const StringFormat* format) {
    const std::wstring wide = toWideText(text);
    return ok(flat::GdipAddPathStringI(path(classHandle_), wide.c_str(), lstrlenW(wide.c_str()),
                                       as<GpFontFamily>(handleOf(family)), style, static_cast<REAL>(emSize),
                                       gp(&layoutRect), as<GpStringFormat>(handleOf(format))));
}

bool GraphicsPath::transform(const GdiObject& matrix) {
    return ok(flat::GdipTransformPath(path(classHandle_), matrixOf(matrix)));
}
bool GraphicsPath::flatten(const GdiObject* matrix, float flatness) {
    return ok(flat::GdipFlattenPath(path(classHandle_), matrixOf(matrix), flatness));
}
bool GraphicsPath::widen(const Pen& pen, const GdiObject* matrix, float flatness) {
    return ok(flat::GdipWidenPath(path(classHandle_), penOf(&pen), matrixOf(matrix), flatness));
}
bool GraphicsPath::outline(const GdiObject* matrix, float flatness) {
    return ok(flat::GdipWindingModeOutline(path(classHandle_), matrixOf(matrix), flatness));
}
bool GraphicsPath::warp(const std::vector<PointF>& points, RectF srcRect, const GdiObject& matrix, int warpMode,
                        float flatness) {
    return ok(flat::GdipWarpPath(path(classHandle_), matrixOf(matrix), gpArray(points), countOf(points), srcRect.x,
                                 srcRect.y, srcRect.width, srcRect.height, static_cast<WarpMode>(warpMode), flatness));
}

int GraphicsPath::getPointCount() const { return value<INT>(flat::GdipGetPointCount, path(classHandle_)); }

RectF GraphicsPath::getBounds(const GdiObject* matrix, const Pen* pen) const {
    RectF bounds;
    rememberStatus(flat::GdipGetPathWorldBounds(path(classHandle_), gp(&bounds), matrixOf(matrix), penOf(pen)));
    return bounds;
}

bool GraphicsPath::isVisiblePoint(float x, float y, const Graphics* graphics) const {
    return flag(flat::GdipIsVisiblePathPoint, path(classHandle_), x, y, graphicsOf(graphics));
}
bool GraphicsPath::isVisiblePointI(int x, int y, const Graphics* graphics) const {
    return flag(flat::GdipIsVisiblePathPointI, path(classHandle_), x, y, graphicsOf(graphics));
}
bool GraphicsPath::isOutlineVisiblePoint(float x, float y, const Pen& pen, const Graphics* graphics) const {
    return flag(flat::GdipIsOutlineVisiblePathPoint, path(classHandle_), x, y, penOf(&pen), graphicsOf(graphics));
}
bool GraphicsPath::isOutlineVisiblePointI(int x, int y, const Pen& pen, const Graphics* graphics) const {
    return flag(flat::GdipIsOutlineVisiblePathPointI, path(classHandle_), x, y, penOf(&pen), graphicsOf(graphics));
}

}  // namespace quorvane::toolkit::gdiplus
