#pragma once
// Brushes: solid, linear gradient and path gradient.
#include "toolkit/gdiplus/gdi_object.h"

#include <vector>

namespace quorvane::toolkit::gdiplus {

class GraphicsPath;

class Brush : public GdiObject {
public:
    bool deleteBrush();
    bool clone(Brush& target) const;
    int getType() const;

protected:
    void syncClassHandle(Handle handle) override {
        classHandle_ = handle;
        syncLeafHandle(handle);
    }
    virtual void syncLeafHandle(Handle handle) = 0;

    Handle classHandle_ = nullptr;
};

class SolidBrush final : public Brush {
public:
    SolidBrush() = default;
    ~SolidBrush() override { deleteBrush(); }

    bool create(Argb colour);
    bool setColor(Argb colour);
    Argb getColor() const;

private:
    void syncLeafHandle(Handle handle) override { leafHandle_ = handle; }
    Handle leafHandle_ = nullptr;
};

// Every linear gradient made here tiles (wrap mode 0).
class LinearGradientBrush final : public Brush {
public:
    LinearGradientBrush() = default;
    ~LinearGradientBrush() override { deleteBrush(); }

    bool create(PointF point1, PointF point2, Argb colour1, Argb colour2);
    bool createI(Point point1, Point point2, Argb colour1, Argb colour2);
    bool createFromRect(RectF rect, Argb colour1, Argb colour2, int mode = 0);
    bool createFromRectI(Rect rect, Argb colour1, Argb colour2, int mode = 0);
    bool createFromRectWithAngle(RectF rect, Argb colour1, Argb colour2, float angle, bool isAngleScalable = false);
    bool createFromRectWithAngleI(Rect rect, Argb colour1, Argb colour2, float angle, bool isAngleScalable = false);
    bool getColors(Argb& colour1, Argb& colour2) const;
    bool setColors(Argb colour1, Argb colour2);
    RectF getRect() const;
    Rect getRectI() const;
    bool setGammaCorrection(bool useGamma);
    bool getGammaCorrection() const;
    bool setBlend(const std::vector<float>& factors, const std::vector<float>& positions);
    int getBlend(std::vector<float>& factors, std::vector<float>& positions) const;
    bool setPresetBlend(const std::vector<Argb>& colours, const std::vector<float>& positions);
    int getPresetBlend(std::vector<Argb>& colours, std::vector<float>& positions) const;
    bool setSigmaBlend(float focus, float scale);
    bool setLinearBlend(float focus, float scale);
    int getWrapMode() const;
    bool setWrapMode(int mode);
    bool getTransform(const GdiObject& matrix) const;
    bool setTransform(const GdiObject& matrix);
    bool resetTransform();
    bool multiplyTransform(const GdiObject& matrix, int order = 0);
    bool translateTransform(float dx, float dy, int order = 0);
    bool scaleTransform(float sx, float sy, int order = 0);
    bool rotateTransform(float angle, int order = 0);

private:
    void syncLeafHandle(Handle handle) override { leafHandle_ = handle; }
    Handle leafHandle_ = nullptr;
};

class PathGradientBrush final : public Brush {
public:
    PathGradientBrush() = default;
    ~PathGradientBrush() override { deleteBrush(); }

    bool createFromPoints(const std::vector<PointF>& points, int wrapMode = 4);
    bool createFromPointsI(const std::vector<Point>& points, int wrapMode = 4);
    bool createFromPath(const GraphicsPath& path);
    Argb getCenterColor() const;
    bool setCenterColor(Argb colour);
    int getPointCount() const;
    int getSurroundColorCount() const;
    // `colours` is sized by the caller; GDI+ writes into it and leaves in
    // `count` how many it wrote.
    bool getSurroundColors(std::vector<Argb>& colours, int& count) const;
    // Without a count GDI+ gets the number of colours; GDI+ leaves in the
    // count how many it took. A count above the number of colours is refused.
    bool setSurroundColors(const std::vector<Argb>& colours, int* count = nullptr);
    bool getPath(GraphicsPath& path) const;
    bool getPathInto(GraphicsPath& path) const;
    PointF getCenterPoint() const;
    Point getCenterPointI() const;
    bool setCenterPoint(PointF point);
    bool setCenterPointAlt(PointF point);
    RectF getRect() const;
    Rect getRectI() const;
    bool setGammaCorrection(bool useGamma);
    bool getGammaCorrection() const;
    bool setBlend(const std::vector<float>& factors, const std::vector<float>& positions);
    int getBlend(std::vector<float>& factors, std::vector<float>& positions) const;
    bool getFocusScales(float& xScale, float& yScale) const;
    bool setFocusScales(float xScale, float yScale);
    bool setPresetBlend(const std::vector<Argb>& colours, const std::vector<float>& positions);
    int getPresetBlend(std::vector<Argb>& colours, std::vector<float>& positions) const;
    bool setSigmaBlend(float focus, float scale);
    bool setLinearBlend(float focus, float scale);
    int getWrapMode() const;
    bool setWrapMode(int mode);
    bool getTransform(const GdiObject& matrix) const;
    bool setTransform(const GdiObject& matrix);
    bool resetTransform();
    bool multiplyTransform(const GdiObject& matrix, int order = 0);
    bool translateTransform(float dx, float dy, int order = 0);
    bool scaleTransform(float sx, float sy, int order = 0);
    bool rotateTransform(float angle, int order = 0);

private:
    void syncLeafHandle(Handle handle) override { leafHandle_ = handle; }
    Handle leafHandle_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus
