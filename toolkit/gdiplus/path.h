#pragma once
// Paths: figures of lines, arcs, curves and shapes.
#include "toolkit/gdiplus/gdi_object.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvane::toolkit::gdiplus {

class FontFamily;
class Graphics;
class Pen;
class StringFormat;

struct PathData {
    std::int32_t count = 0;
    std::vector<PointF> points;
    std::vector<std::uint8_t> types;  // one GDI+ point type per point
};

class GraphicsPath final : public GdiObject {
public:
    GraphicsPath() = default;
    ~GraphicsPath() override { deletePath(); }

    bool deletePath();
    bool create(int fillMode = 0);
    // A type byte for every point: lists of different lengths are refused.
    bool createFromPoints(const std::vector<PointF>& points, const std::vector<std::uint8_t>& types, int fillMode = 0);
    bool createFromPointsI(const std::vector<Point>& points, const std::vector<std::uint8_t>& types, int fillMode = 0);
    bool clone(GraphicsPath& target) const;
    bool reset();
    int getFillMode() const;
    bool setFillMode(int mode);
    bool getPathData(PathData& data) const;
    bool getPathTypes(std::vector<std::uint8_t>& types, std::optional<int> count = std::nullopt) const;
    bool getPathPoints(std::vector<PointF>& points, std::optional<int> count = std::nullopt) const;
    bool startFigure();
    bool closeFigure();
    bool closeAllFigures();
    bool setMarker();
    bool clearMarkers();
    bool reverse();
    PointF getLastPoint() const;
    bool addLine(float x1, float y1, float x2, float y2);
    bool addLineI(int x1, int y1, int x2, int y2);
    bool addLines(const std::vector<PointF>& points);
    bool addLinesI(const std::vector<Point>& points);
    bool addArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool addArcI(int x, int y, int width, int height, float startAngle, float sweepAngle);
    bool addBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    bool addBezierI(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    bool addBeziers(const std::vector<PointF>& points);
    bool addBeziersI(const std::vector<Point>& points);
    bool addCurve(const std::vector<PointF>& points);
    bool addCurve2(const std::vector<PointF>& points, float tension);
    bool addCurve3(const std::vector<PointF>& points, int offset, int numberOfSegments, float tension);
    bool addCurveI(const std::vector<Point>& points);
    bool addCurve2I(const std::vector<Point>& points, float tension);
    bool addCurve3I(const std::vector<Point>& points, int offset, int numberOfSegments, float tension);
    bool addClosedCurve(const std::vector<PointF>& points);
    bool addClosedCurve2(const std::vector<PointF>& points, float tension);
    bool addClosedCurveI(const std::vector<Point>& points);
    bool addClosedCurve2I(const std::vector<Point>& points, float tension);
    bool addRectangle(float x, float y, float width, float height);
    // Corner ellipses of `percent` (1 to 100) of the width and height; only
    // the closing step's Status is kept.
    bool addRoundedRectangle(float x, float y, float width, float height, int percent);
    bool addRectangles(const std::vector<RectF>& rects);
    bool addRectangleI(int x, int y, int width, int height);
    bool addRectanglesI(const std::vector<Rect>& rects);
    bool addEllipse(float x, float y, float width, float height);
    bool addEllipseI(int x, int y, int width, int height);
    bool addPieI(int x, int y, int width, int height, float startAngle, float sweepAngle);
    bool addPolygon(const std::vector<PointF>& points);
    bool addPolygonI(const std::vector<Point>& points);
    bool addPath(const GraphicsPath& path, bool connect = false);
    bool addString(std::string_view text, const FontFamily& family, int emSize, RectF layoutRect, int style = 0,
                   const StringFormat* format = nullptr);
    bool addStringI(std::string_view text, const FontFamily& family, int emSize, Rect layoutRect, int style = 0,
                    const StringFormat* format = nullptr);
    bool transform(const GdiObject& matrix);
    bool flatten(const GdiObject* matrix = nullptr, float flatness = 0.25f);
    bool widen(const Pen& pen, const GdiObject* matrix = nullptr, float flatness = 0.25f);
    bool outline(const GdiObject* matrix = nullptr, float flatness = 0.25f);
    bool warp(const std::vector<PointF>& points, RectF srcRect, const GdiObject& matrix, int warpMode = 0,
              float flatness = 0.25f);
    int getPointCount() const;
    RectF getBounds(const GdiObject* matrix = nullptr, const Pen* pen = nullptr) const;
    bool isVisiblePoint(float x, float y, const Graphics* graphics = nullptr) const;
    bool isVisiblePointI(int x, int y, const Graphics* graphics = nullptr) const;
    bool isOutlineVisiblePoint(float x, float y, const Pen& pen, const Graphics* graphics = nullptr) const;
    bool isOutlineVisiblePointI(int x, int y, const Pen& pen, const Graphics* graphics = nullptr) const;

private:
    void syncClassHandle(Handle handle) override { classHandle_ = handle; }
    Handle classHandle_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus
