#pragma once
// The drawing surface: a GDI+ Graphics on a device context, a window or an
// image. Draw operations take the pen first, fill operations the brush.
#include "toolkit/gdiplus/gdi_object.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvane::toolkit::gdiplus {

class Brush;
class Font;
class GraphicsPath;
class Image;
class Pen;
class Region;
class StringFormat;

class Graphics final : public GdiObject {
public:
    Graphics() = default;
    ~Graphics() override { deleteGraphics(); }

    bool deleteGraphics();
    bool createFromHwnd(HWND hwnd, bool useIcm = false);
    // With a device (even none) GDI+ is given it: GdipCreateFromHDC2.
    bool createFromHdc(HDC hdc, std::optional<HANDLE> device = std::nullopt);
    bool createFromImage(const Image& image);
    HDC getDc();
    bool releaseDc(HDC hdc);

    int getCompositingMode() const;
    bool setCompositingMode(int mode);
    bool getRenderingOrigin(int& x, int& y) const;
    bool setRenderingOrigin(int x, int y);
    int getCompositingQuality() const;
    bool setCompositingQuality(int quality);
    bool setSmoothingMode(int mode);
    int getSmoothingMode() const;
    bool setTextRenderingHint(int hint);
    int getTextRenderingHint() const;
    bool setInterpolationMode(int mode);
    int getInterpolationMode() const;
    bool setPixelOffsetMode(int mode);
    int getPixelOffsetMode() const;

    bool setTransform(const GdiObject& matrix);
    bool getTransform(const GdiObject& matrix) const;
    bool resetTransform();
    bool multiplyTransform(const GdiObject& matrix, int order = 0);
    bool translateTransform(float dx, float dy, int order = 0);
    bool scaleTransform(float sx, float sy, int order = 0);
    bool rotateTransform(float angle, int order = 0);
    bool setPageUnit(int unit);
    int getPageUnit() const;
    bool setPageScale(float scale);
    float getPageScale() const;
    float getDpiX() const;
    float getDpiY() const;
    bool transformPoints(int destSpace, int srcSpace, std::vector<PointF>& points) const;
    bool transformPointsI(int destSpace, int srcSpace, std::vector<Point>& points) const;
    Argb getNearestColor(Argb colour) const;

    bool drawLine(const Pen& pen, float x1, float y1, float x2, float y2);
    bool drawLineI(const Pen& pen, int x1, int y1, int x2, int y2);
    bool drawLines(const Pen& pen, const std::vector<PointF>& points);
    bool drawLinesI(const Pen& pen, const std::vector<Point>& points);
    bool drawArc(const Pen& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool drawArcI(const Pen& pen, int x, int y, int width, int height, float startAngle, float sweepAngle);
    bool drawBezier(const Pen& pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    bool drawBezierI(const Pen& pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    bool drawBeziers(const Pen& pen, const std::vector<PointF>& points);
    bool drawBeziersI(const Pen& pen, const std::vector<Point>& points);
    bool drawRectangle(const Pen& pen, float x, float y, float width, float height);
    bool drawRectangleI(const Pen& pen, int x, int y, int width, int height);
    bool drawRectangles(const Pen& pen, const std::vector<RectF>& rects);
    bool drawRectanglesI(const Pen& pen, const std::vector<Rect>& rects);
    bool drawEllipse(const Pen& pen, float x, float y, float width, float height);
    bool drawEllipseI(const Pen& pen, int x, int y, int width, int height);
    bool drawPie(const Pen& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool drawPieI(const Pen& pen, int x, int y, int width, int height, float startAngle, float sweepAngle);
    bool drawPolygon(const Pen& pen, const std::vector<PointF>& points);
    bool drawPolygonI(const Pen& pen, const std::vector<Point>& points);
    bool drawPath(const Pen& pen, const GraphicsPath& path);
    bool drawCurve(const Pen& pen, const std::vector<PointF>& points);
    bool drawCurveI(const Pen& pen, const std::vector<Point>& points);
    bool drawCurve2(const Pen& pen, const std::vector<PointF>& points, float tension);
    bool drawCurve2I(const Pen& pen, const std::vector<Point>& points, float tension);
    bool drawCurve3(const Pen& pen, const std::vector<PointF>& points, int offset, int numberOfSegments, float tension);
    bool drawCurve3I(const Pen& pen, const std::vector<Point>& points, int offset, int numberOfSegments, float tension);
    bool drawClosedCurve(const Pen& pen, const std::vector<PointF>& points);
    bool drawClosedCurveI(const Pen& pen, const std::vector<Point>& points);
    bool drawClosedCurve2(const Pen& pen, const std::vector<PointF>& points, float tension);
    bool drawClosedCurve2I(const Pen& pen, const std::vector<Point>& points, float tension);

    bool clear(Argb colour = 0xFFFFFFFF);
    bool fillRectangle(const Brush& brush, float x, float y, float width, float height);
    bool fillRectangleRect(const Brush& brush, RectF rect);
    bool fillRectangleI(const Brush& brush, int x, int y, int width, int height);
    bool fillRectangles(const Brush& brush, const std::vector<RectF>& rects);
    bool fillRectanglesI(const Brush& brush, const std::vector<Rect>& rects);
    bool fillPolygon(const Brush& brush, const std::vector<PointF>& points, int fillMode = 0);
    bool fillPolygonI(const Brush& brush, const std::vector<Point>& points, int fillMode = 0);
    bool fillEllipse(const Brush& brush, float x, float y, float width, float height);
    bool fillEllipseI(const Brush& brush, int x, int y, int width, int height);
    bool fillPie(const Brush& brush, float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool fillPieI(const Brush& brush, int x, int y, int width, int height, float startAngle, float sweepAngle);
    bool fillPath(const Brush& brush, const GraphicsPath& path);
    bool fillClosedCurve(const Brush& brush, const std::vector<PointF>& points);
    bool fillClosedCurve2(const Brush& brush, const std::vector<PointF>& points, float tension, int fillMode = 0);
    bool fillClosedCurveI(const Brush& brush, const std::vector<Point>& points);
    bool fillClosedCurve2I(const Brush& brush, const std::vector<Point>& points, float tension, int fillMode = 0);
    bool fillRegion(const Brush& brush, const Region& region);

    // Texts are GBK.
    bool drawString(std::string_view text, const Font& font, const Brush& brush, RectF layoutRect,
                    const StringFormat* format = nullptr);
    bool measureString(std::string_view text, const Font& font, RectF layoutRect, const StringFormat* format,
                       RectF& boundingBox) const;
    // `regions` becomes regionCount regions, which GDI+ fills with the
    // ranges of the format; all hold nothing when GDI+ fails.
    bool measureCharacterRanges(std::string_view text, const Font& font, RectF layoutRect, const StringFormat* format,
                                int regionCount, std::vector<std::unique_ptr<Region>>& regions) const;
    bool drawDriverString(std::string_view text, const Font& font, const Brush& brush,
                          const std::vector<PointF>& positions, int flags = 1, const GdiObject* matrix = nullptr);
    bool setTextContrast(std::uint32_t contrast);
    std::uint32_t getTextContrast() const;

    bool drawImage(const Image& image, float x, float y);
    bool drawImageI(const Image& image, int x, int y);
    bool drawCachedBitmap(const GdiObject& cachedBitmap, double x, double y);
    // The whole image into the rectangle.
    bool drawImageRectRect(const Image& image, float x, float y, float width, float height, int srcUnit = 2);
    bool drawImageRectRectI(const Image& image, int x, int y, int width, int height, int srcUnit = 2);
    bool drawImagePoints(const Image& image, float x1, float y1, float x2, float y2, float x3, float y3);
    bool drawImagePointsI(const Image& image, int x1, int y1, int x2, int y2, int x3, int y3);
    bool drawImagePointRect(const Image& image, float x, float y, float srcX, float srcY, float srcWidth,
                            float srcHeight, int srcUnit = 2);
    bool drawImagePointRectI(const Image& image, int x, int y, int srcX, int srcY, int srcWidth, int srcHeight,
                             int srcUnit = 2);
    bool drawImageRectSrcRect(const Image& image, float dstX, float dstY, float dstWidth, float dstHeight, float srcX,
                              float srcY, float srcWidth, float srcHeight, int srcUnit = 2,
                              const GdiObject* imageAttributes = nullptr);
    bool drawImageRectSrcRectI(const Image& image, int dstX, int dstY, int dstWidth, int dstHeight, int srcX, int srcY,
                               int srcWidth, int srcHeight, int srcUnit = 2,
                               const GdiObject* imageAttributes = nullptr);
    bool drawImagePointsRect(const Image& image, float x1, float y1, float x2, float y2, float x3, float y3, float srcX,
                             float srcY, float srcWidth, float srcHeight, int srcUnit = 2,
                             const GdiObject* imageAttributes = nullptr);
    bool drawImagePointsRectI(const Image& image, int x1, int y1, int x2, int y2, int x3, int y3, int srcX, int srcY,
                              int srcWidth, int srcHeight, int srcUnit = 2, const GdiObject* imageAttributes = nullptr);

    // The callback is a routine address handed to GDI+ unchanged.
    bool enumerateMetafileDestPoint(const GdiObject& metafile, PointF dest, const void* callback,
                                    void* callbackData = nullptr, const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileDestPointI(const GdiObject& metafile, Point dest, const void* callback,
                                     void* callbackData = nullptr, const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileDestPoints(const GdiObject& metafile, const std::vector<PointF>& dest, const void* callback,
                                     void* callbackData = nullptr, const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileDestPointsI(const GdiObject& metafile, const std::vector<Point>& dest, const void* callback,
                                      void* callbackData = nullptr, const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileDestRect(const GdiObject& metafile, RectF dest, const void* callback,
                                   void* callbackData = nullptr, const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileDestRectI(const GdiObject& metafile, Rect dest, const void* callback,
                                    void* callbackData = nullptr, const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileSrcRectDestPoint(const GdiObject& metafile, PointF dest, RectF src, int srcUnit,
                                           const void* callback, void* callbackData = nullptr,
                                           const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileSrcRectDestPointI(const GdiObject& metafile, Point dest, Rect src, int srcUnit,
                                            const void* callback, void* callbackData = nullptr,
                                            const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileSrcRectDestPoints(const GdiObject& metafile, const std::vector<PointF>& dest, RectF src,
                                            int srcUnit, const void* callback, void* callbackData = nullptr,
                                            const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileSrcRectDestPointsI(const GdiObject& metafile, const std::vector<Point>& dest, Rect src,
                                             int srcUnit, const void* callback, void* callbackData = nullptr,
                                             const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileSrcRectDestRect(const GdiObject& metafile, RectF dest, RectF src, int srcUnit,
                                          const void* callback, void* callbackData = nullptr,
                                          const GdiObject* imageAttributes = nullptr);
    bool enumerateMetafileSrcRectDestRectI(const GdiObject& metafile, Rect dest, Rect src, int srcUnit,
                                           const void* callback, void* callbackData = nullptr,
                                           const GdiObject* imageAttributes = nullptr);

    bool setClipGraphics(const Graphics& graphics, int combineMode = 0);
    bool setClipPath(const GraphicsPath& path, int combineMode = 0);
    bool setClipRect(float x, float y, float width, float height, int combineMode = 0);
    bool setClipRectI(int x, int y, int width, int height, int combineMode = 0);
    bool setClipRegion(const Region& region, int combineMode = 0);
    bool setClipHrgn(HRGN hrgn, int combineMode = 0);
    bool resetClip();
    bool translateClip(float dx, float dy);
    bool translateClipI(int dx, int dy);
    bool getClip(const Region& region) const;
    RectF getClipBounds() const;
    Rect getClipBoundsI() const;
    RectF getVisibleClipBounds() const;
    Rect getVisibleClipBoundsI() const;
    bool isClipEmpty() const;
    bool isVisibleClipEmpty() const;
    bool isVisiblePoint(float x, float y) const;
    bool isVisiblePointI(int x, int y) const;
    bool isVisibleRect(float x, float y, float width, float height) const;
    bool isVisibleRectI(int x, int y, int width, int height) const;

    std::uint32_t save();
    bool restore(std::uint32_t state);
    std::uint32_t beginContainer(RectF dstRect, RectF srcRect, int unit = 0);
    std::uint32_t beginContainerI(Rect dstRect, Rect srcRect, int unit = 0);
    std::uint32_t beginContainer2();
    bool endContainer(std::uint32_t state);
    bool addComment(const std::vector<unsigned char>& data);

private:
    void syncClassHandle(Handle handle) override { classHandle_ = handle; }
    Handle classHandle_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus
