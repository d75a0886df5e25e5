#include "toolkit/gdiplus/graphics.h"

#include "toolkit/gdiplus/brush.h"
#include "toolkit/gdiplus/flat.h"
#include "toolkit/gdiplus/font.h"
#include "toolkit/gdiplus/image.h"
#include "toolkit/gdiplus/path.h"
#include "toolkit/gdiplus/pen.h"
#include "toolkit/gdiplus/region.h"

#include <algorithm>
#include <string>

namespace quorvane::toolkit::gdiplus {

using namespace Gdiplus;

namespace {

GpGraphics* g(Handle handle) { return as<GpGraphics>(handle); }
GpPen* pn(const Pen& pen) { return as<GpPen>(handleOf(pen)); }
GpBrush* br(const Brush& brush) { return as<GpBrush>(handleOf(brush)); }
GpImage* im(const Image& image) { return as<GpImage>(handleOf(image)); }
GpFont* fn(const Font& font) { return as<GpFont>(handleOf(font)); }
GpStringFormat* fm(const StringFormat* format) { return as<GpStringFormat>(handleOf(format)); }
GpImageAttributes* attributes(const GdiObject* object) { return as<GpImageAttributes>(handleOf(object)); }
GpMetafile* metafileOf(const GdiObject& object) { return as<GpMetafile>(handleOf(object)); }
EnumerateMetafileProc routine(const void* callback) {
    return reinterpret_cast<EnumerateMetafileProc>(const_cast<void*>(callback));
}
MatrixOrder order(int value) { return static_cast<MatrixOrder>(value); }
CombineMode combine(int value) { return static_cast<CombineMode>(value); }
Unit unit(int value) { return static_cast<Unit>(value); }
FillMode fill(int value) { return static_cast<FillMode>(value); }

}  // namespace

bool Graphics::deleteGraphics() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeleteGraphics(as<GpGraphics>(h)); });
}

bool Graphics::createFromHwnd(HWND hwnd, bool useIcm) {
    return createAt<GpGraphics>(*this, classHandle_, [&](GpGraphics** made) {
        return useIcm ? flat::GdipCreateFromHWNDICM(hwnd, made) : flat::GdipCreateFromHWND(hwnd, made);
    });
}

bool Graphics::createFromHdc(HDC hdc, std::optional<HANDLE> device) {
    return createAt<GpGraphics>(*this, classHandle_, [&](GpGraphics** made) {
        return device ? flat::GdipCreateFromHDC2(hdc, *device, made) : flat::GdipCreateFromHDC(hdc, made);
    });
}

bool Graphics::createFromImage(const Image& image) {
    return createAt<GpGraphics>(*this, classHandle_,
                                [&](GpGraphics** made) { return flat::GdipGetImageGraphicsContext(im(image), made); });
}

HDC Graphics::getDc() { return value<HDC>(flat::GdipGetDC, g(classHandle_)); }
bool Graphics::releaseDc(HDC hdc) { return ok(flat::GdipReleaseDC(g(classHandle_), hdc)); }

// Rendering settings.

int Graphics::getCompositingMode() const {
    return value<CompositingMode>(flat::GdipGetCompositingMode, g(classHandle_));
}
bool Graphics::setCompositingMode(int mode) {
    return ok(flat::GdipSetCompositingMode(g(classHandle_), static_cast<CompositingMode>(mode)));
}
bool Graphics::getRenderingOrigin(int& x, int& y) const {
    INT gotX = 0, gotY = 0;
    const bool done = ok(flat::GdipGetRenderingOrigin(g(classHandle_), &gotX, &gotY));
    x = gotX;
    y = gotY;
    return done;
}
bool Graphics::setRenderingOrigin(int x, int y) { return ok(flat::GdipSetRenderingOrigin(g(classHandle_), x, y)); }
int Graphics::getCompositingQuality() const {
    return value<CompositingQuality>(flat::GdipGetCompositingQuality, g(classHandle_));
}
bool Graphics::setCompositingQuality(int quality) {
    return ok(flat::GdipSetCompositingQuality(g(classHandle_), static_cast<CompositingQuality>(quality)));
}
bool Graphics::setSmoothingMode(int mode) {
    return ok(flat::GdipSetSmoothingMode(g(classHandle_), static_cast<SmoothingMode>(mode)));
}
int Graphics::getSmoothingMode() const { return value<SmoothingMode>(flat::GdipGetSmoothingMode, g(classHandle_)); }
bool Graphics::setTextRenderingHint(int hint) {
    return ok(flat::GdipSetTextRenderingHint(g(classHandle_), static_cast<TextRenderingHint>(hint)));
}
int Graphics::getTextRenderingHint() const {
    return value<TextRenderingHint>(flat::GdipGetTextRenderingHint, g(classHandle_));
}
bool Graphics::setInterpolationMode(int mode) {
    return ok(flat::GdipSetInterpolationMode(g(classHandle_), static_cast<InterpolationMode>(mode)));
}
int Graphics::getInterpolationMode() const {
    return value<InterpolationMode>(flat::GdipGetInterpolationMode, g(classHandle_));
}
bool Graphics::setPixelOffsetMode(int mode) {
    return ok(flat::GdipSetPixelOffsetMode(g(classHandle_), static_cast<PixelOffsetMode>(mode)));
}
int Graphics::getPixelOffsetMode() const {
    return value<PixelOffsetMode>(flat::GdipGetPixelOffsetMode, g(classHandle_));
}

// World transform, page settings and point transforms.

bool Graphics::setTransform(const GdiObject& matrix) {
    return ok(flat::GdipSetWorldTransform(g(classHandle_), matrixOf(matrix)));
}
bool Graphics::getTransform(const GdiObject& matrix) const {
    return ok(flat::GdipGetWorldTransform(g(classHandle_), matrixOf(matrix)));
}
bool Graphics::resetTransform() { return ok(flat::GdipResetWorldTransform(g(classHandle_))); }
bool Graphics::multiplyTransform(const GdiObject& matrix, int matrixOrder) {
    return ok(flat::GdipMultiplyWorldTransform(g(classHandle_), matrixOf(matrix), order(matrixOrder)));
}
bool Graphics::translateTransform(float dx, float dy, int matrixOrder) {
    return ok(flat::GdipTranslateWorldTransform(g(classHandle_), dx, dy, order(matrixOrder)));
}
bool Graphics::scaleTransform(float sx, float sy, int matrixOrder) {
    return ok(flat::GdipScaleWorldTransform(g(classHandle_), sx, sy, order(matrixOrder)));
}
bool Graphics::rotateTransform(float angle, int matrixOrder) {
    return ok(flat::GdipRotateWorldTransform(g(classHandle_), angle, order(matrixOrder)));
}
bool Graphics::setPageUnit(int pageUnit) { return ok(flat::GdipSetPageUnit(g(classHandle_), unit(pageUnit))); }
int Graphics::getPageUnit() const { return value<Unit>(flat::GdipGetPageUnit, g(classHandle_)); }
bool Graphics::setPageScale(float scale) { return ok(flat::GdipSetPageScale(g(classHandle_), scale)); }
float Graphics::getPageScale() const { return value<REAL>(flat::GdipGetPageScale, g(classHandle_)); }
float Graphics::getDpiX() const { return value<REAL>(flat::GdipGetDpiX, g(classHandle_)); }
float Graphics::getDpiY() const { return value<REAL>(flat::GdipGetDpiY, g(classHandle_)); }
bool Graphics::transformPoints(int destSpace, int srcSpace, std::vector<PointF>& points) const {
    return ok(flat::GdipTransformPoints(g(classHandle_), static_cast<CoordinateSpace>(destSpace),
                                        static_cast<CoordinateSpace>(srcSpace), gpArray(points), countOf(points)));
}
bool Graphics::transformPointsI(int destSpace, int srcSpace, std::vector<Point>& points) const {
    return ok(flat::GdipTransformPointsI(g(classHandle_), static_cast<CoordinateSpace>(destSpace),
                                         static_cast<CoordinateSpace>(srcSpace), gpArray(points), countOf(points)));
}
Argb Graphics::getNearestColor(Argb colour) const {
    ARGB nearest = colour;
    rememberStatus(flat::GdipGetNearestColor(g(classHandle_), &nearest));
    return nearest;
}

// Lines, arcs, Béziers, rectangles, ellipses, pies, polygons, paths, curves.

bool Graphics::drawLine(const Pen& pen, float x1, float y1, float x2, float y2) {
    return ok(flat::GdipDrawLine(g(classHandle_), pn(pen), x1, y1, x2, y2));
}
bool Graphics::drawLineI(const Pen& pen, int x1, int y1, int x2, int y2) {
    return ok(flat::GdipDrawLineI(g(classHandle_), pn(pen), x1, y1, x2, y2));
}
bool Graphics::drawLines(const Pen& pen, const std::vector<PointF>& points) {
    return ok(flat::GdipDrawLines(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawLinesI(const Pen& pen, const std::vector<Point>& points) {
    return ok(flat::GdipDrawLinesI(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawArc(const Pen& pen, float x, float y, float width, float height, float startAngle,
                       float sweepAngle) {
    return ok(flat::GdipDrawArc(g(classHandle_), pn(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::drawArcI(const Pen& pen, int x, int y, int width, int height, float startAngle, float sweepAngle) {
    return ok(flat::GdipDrawArcI(g(classHandle_), pn(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::drawBezier(const Pen& pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                          float y4) {
    return ok(flat::GdipDrawBezier(g(classHandle_), pn(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool Graphics::drawBezierI(const Pen& pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ok(flat::GdipDrawBezierI(g(classHandle_), pn(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool Graphics::drawBeziers(const Pen& pen, const std::vector<PointF>& points) {
    return ok(flat::GdipDrawBeziers(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawBeziersI(const Pen& pen, const std::vector<Point>& points) {
    return ok(flat::GdipDrawBeziersI(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawRectangle(const Pen& pen, float x, float y, float width, float height) {
    return ok(flat::GdipDrawRectangle(g(classHandle_), pn(pen), x, y, width, height));
}
bool Graphics::drawRectangleI(const Pen& pen, int x, int y, int width, int height) {
    return ok(flat::GdipDrawRectangleI(g(classHandle_), pn(pen), x, y, width, height));
}
bool Graphics::drawRectangles(const Pen& pen, const std::vector<RectF>& rects) {
    return ok(flat::GdipDrawRectangles(g(classHandle_), pn(pen), gpArray(rects), countOf(rects)));
}
bool Graphics::drawRectanglesI(const Pen& pen, const std::vector<Rect>& rects) {
    return ok(flat::GdipDrawRectanglesI(g(classHandle_), pn(pen), gpArray(rects), countOf(rects)));
}
bool Graphics::drawEllipse(const Pen& pen, float x, float y, float width, float height) {
    return ok(flat::GdipDrawEllipse(g(classHandle_), pn(pen), x, y, width, height));
}
bool Graphics::drawEllipseI(const Pen& pen, int x, int y, int width, int height) {
    return ok(flat::GdipDrawEllipseI(g(classHandle_), pn(pen), x, y, width, height));
}
bool Graphics::drawPie(const Pen& pen, float x, float y, float width, float height, float startAngle,
                       float sweepAngle) {
    return ok(flat::GdipDrawPie(g(classHandle_), pn(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::drawPieI(const Pen& pen, int x, int y, int width, int height, float startAngle, float sweepAngle) {
    return ok(flat::GdipDrawPieI(g(classHandle_), pn(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::drawPolygon(const Pen& pen, const std::vector<PointF>& points) {
    return ok(flat::GdipDrawPolygon(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawPolygonI(const Pen& pen, const std::vector<Point>& points) {
    return ok(flat::GdipDrawPolygonI(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawPath(const Pen& pen, const GraphicsPath& path) {
    return ok(flat::GdipDrawPath(g(classHandle_), pn(pen), as<GpPath>(handleOf(path))));
}
bool Graphics::drawCurve(const Pen& pen, const std::vector<PointF>& points) {
    return ok(flat::GdipDrawCurve(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawCurveI(const Pen& pen, const std::vector<Point>& points) {
    return ok(flat::GdipDrawCurveI(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawCurve2(const Pen& pen, const std::vector<PointF>& points, float tension) {
    return ok(flat::GdipDrawCurve2(g(classHandle_), pn(pen), gpArray(points), countOf(points), tension));
}
bool Graphics::drawCurve2I(const Pen& pen, const std::vector<Point>& points, float tension) {
    return ok(flat::GdipDrawCurve2I(g(classHandle_), pn(pen), gpArray(points), countOf(points), tension));
}
bool Graphics::drawCurve3(const Pen& pen, const std::vector<PointF>& points, int offset, int numberOfSegments,
                          float tension) {
    return ok(flat::GdipDrawCurve3(g(classHandle_), pn(pen), gpArray(points), countOf(points), offset, numberOfSegments,
                                   tension));
}
bool Graphics::drawCurve3I(const Pen& pen, const std::vector<Point>& points, int offset, int numberOfSegments,
                           float tension) {
    return ok(flat::GdipDrawCurve3I(g(classHandle_), pn(pen), gpArray(points), countOf(points), offset,
                                    numberOfSegments, tension));
}
bool Graphics::drawClosedCurve(const Pen& pen, const std::vector<PointF>& points) {
    return ok(flat::GdipDrawClosedCurve(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawClosedCurveI(const Pen& pen, const std::vector<Point>& points) {
    return ok(flat::GdipDrawClosedCurveI(g(classHandle_), pn(pen), gpArray(points), countOf(points)));
}
bool Graphics::drawClosedCurve2(const Pen& pen, const std::vector<PointF>& points, float tension) {
    return ok(flat::GdipDrawClosedCurve2(g(classHandle_), pn(pen), gpArray(points), countOf(points), tension));
}
bool Graphics::drawClosedCurve2I(const Pen& pen, const std::vector<Point>& points, float tension) {
    return ok(flat::GdipDrawClosedCurve2I(g(classHandle_), pn(pen), gpArray(points), countOf(points), tension));
}

// Clearing and filling.

bool Graphics::clear(Argb colour) { return ok(flat::GdipGraphicsClear(g(classHandle_), colour)); }
bool Graphics::fillRectangle(const Brush& brush, float x, float y, float width, float height) {
    return ok(flat::GdipFillRectangle(g(classHandle_), br(brush), x, y, width, height));
}
bool Graphics::fillRectangleRect(const Brush& brush, RectF rect) {
    return ok(flat::GdipFillRectangle(g(classHandle_), br(brush), rect.x, rect.y, rect.width, rect.height));
}
bool Graphics::fillRectangleI(const Brush& brush, int x, int y, int width, int height) {
    return ok(flat::GdipFillRectangleI(g(classHandle_), br(brush), x, y, width, height));
}
bool Graphics::fillRectangles(const Brush& brush, const std::vector<RectF>& rects) {
    return ok(flat::GdipFillRectangles(g(classHandle_), br(brush), gpArray(rects), countOf(rects)));
}
bool Graphics::fillRectanglesI(const Brush& brush, const std::vector<Rect>& rects) {
    return ok(flat::GdipFillRectanglesI(g(classHandle_), br(brush), gpArray(rects), countOf(rects)));
}
bool Graphics::fillPolygon(const Brush& brush, const std::vector<PointF>& points, int fillMode) {
    return ok(flat::GdipFillPolygon(g(classHandle_), br(brush), gpArray(points), countOf(points), fill(fillMode)));
}
bool Graphics::fillPolygonI(const Brush& brush, const std::vector<Point>& points, int fillMode) {
    return ok(flat::GdipFillPolygonI(g(classHandle_), br(brush), gpArray(points), countOf(points), fill(fillMode)));
}
bool Graphics::fillEllipse(const Brush& brush, float x, float y, float width, float height) {
    return ok(flat::GdipFillEllipse(g(classHandle_), br(brush), x, y, width, height));
}
bool Graphics::fillEllipseI(const Brush& brush, int x, int y, int width, int height) {
    return ok(flat::GdipFillEllipseI(g(classHandle_), br(brush), x, y, width, height));
}
bool Graphics::fillPie(const Brush& brush, float x, float y, float width, float height, float startAngle,
                       float sweepAngle) {
    return ok(flat::GdipFillPie(g(classHandle_), br(brush), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::fillPieI(const Brush& brush, int x, int y, int width, int height, float startAngle, float sweepAngle) {
    return ok(flat::GdipFillPieI(g(classHandle_), br(brush), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::fillPath(const Brush& brush, const GraphicsPath& path) {
    return ok(flat::GdipFillPath(g(classHandle_), br(brush), as<GpPath>(handleOf(path))));
}
bool Graphics::fillClosedCurve(const Brush& brush, const std::vector<PointF>& points) {
    return ok(flat::GdipFillClosedCurve(g(classHandle_), br(brush), gpArray(points), countOf(points)));
}
bool Graphics::fillClosedCurve2(const Brush& brush, const std::vector<PointF>& points, float tension, int fillMode) {
    return ok(flat::GdipFillClosedCurve2(g(classHandle_), br(brush), gpArray(points), countOf(points), tension,
                                         fill(fillMode)));
}
bool Graphics::fillClosedCurveI(const Brush& brush, const std::vector<Point>& points) {
    return ok(flat::GdipFillClosedCurveI(g(classHandle_), br(brush), gpArray(points), countOf(points)));
}
bool Graphics::fillClosedCurve2I(const Brush& brush, const std::vector<Point>& points, float tension, int fillMode) {
    return ok(flat::GdipFillClosedCurve2I(g(classHandle_), br(brush), gpArray(points), countOf(points), tension,
                                          fill(fillMode)));
}
bool Graphics::fillRegion(const Brush& brush, const Region& region) {
    return ok(flat::GdipFillRegion(g(classHandle_), br(brush), as<GpRegion>(handleOf(region))));
}

// Text.

bool Graphics::drawString(std::string_view text, const Font& font, const Brush& brush, RectF layoutRect,
                          const StringFormat* format) {
    const std::wstring wide = toWideText(text);
    return ok(flat::GdipDrawString(g(classHandle_), wide.c_str(), lstrlenW(wide.c_str()), fn(font), gp(&layoutRect),
                                   fm(format), br(brush)));
}

bool Graphics::measureString(std::string_view text, const Font& font, RectF layoutRect, const StringFormat* format,
                             RectF& boundingBox) const {
    const std::wstring wide = toWideText(text);
    return ok(flat::GdipMeasureString(g(classHandle_), wide.c_str(), lstrlenW(wide.c_str()), fn(font), gp(&layoutRect),
                                      fm(format), gp(&boundingBox), nullptr, nullptr));
}

bool Graphics::measureCharacterRanges(std::string_view text, const Font& font, RectF layoutRect,
                                      const StringFormat* format, int regionCount,
                                      std::vector<std::unique_ptr<Region>>& regions) const {
    regions.clear();
    // GDI+ fills regions that exist: each is made first. The array is never
    // null, which GDI+ may refuse even for no regions.
    std::vector<GpRegion*> handles;
    handles.reserve(static_cast<std::size_t>(std::max(regionCount, 1)));
    for (int i = 0; i < regionCount; ++i) {
        auto region = std::make_unique<Region>();
        region->create();
        handles.push_back(as<GpRegion>(region->getNativeHandle()));
        regions.push_back(std::move(region));
    }
    const std::wstring wide = toWideText(text);
    const bool done =
        ok(flat::GdipMeasureCharacterRanges(g(classHandle_), wide.c_str(), lstrlenW(wide.c_str()), fn(font),
                                            *gp(&layoutRect), fm(format), regionCount, handles.data()));
    if (!done)
        for (auto& region : regions) region->deleteRegion();
    return done;
}

bool Graphics::drawDriverString(std::string_view text, const Font& font, const Brush& brush,
                                const std::vector<PointF>& positions, int flags, const GdiObject* matrix) {
    const std::wstring wide = toWideText(text);
    return ok(flat::GdipDrawDriverString(g(classHandle_), reinterpret_cast<const UINT16*>(wide.c_str()),
                                         lstrlenW(wide.c_str()), fn(font), br(brush), gpArray(positions), flags,
                                         matrixOf(matrix)));
}

bool Graphics::setTextContrast(std::uint32_t contrast) {
    return ok(flat::GdipSetTextContrast(g(classHandle_), contrast));
}
std::uint32_t Graphics::getTextContrast() const { return value<UINT>(flat::GdipGetTextContrast, g(classHandle_)); }

// Images.

bool Graphics::drawImage(const Image& image, float x, float y) {
    return ok(flat::GdipDrawImage(g(classHandle_), im(image), x, y));
}
bool Graphics::drawImageI(const Image& image, int x, int y) {
    return ok(flat::GdipDrawImageI(g(classHandle_), im(image), x, y));
}
bool Graphics::drawCachedBitmap(const GdiObject& cachedBitmap, double x, double y) {
    return ok(flat::GdipDrawCachedBitmap(g(classHandle_), as<GpCachedBitmap>(handleOf(cachedBitmap)),
                                         static_cast<INT>(x), static_cast<INT>(y)));
}

bool Graphics::drawImageRectRect(const Image& image, float x, float y, float width, float height, int srcUnit) {
    const auto srcWidth = static_cast<REAL>(image.getWidth());
    const auto srcHeight = static_cast<REAL>(image.getHeight());
    return ok(flat::GdipDrawImageRectRect(g(classHandle_), im(image), x, y, width, height, 0, 0, srcWidth, srcHeight,
                                          unit(srcUnit), nullptr, nullptr, nullptr));
}

bool Graphics::drawImageRectRectI(const Image& image, int x, int y, int width, int height, int srcUnit) {
    const auto srcWidth = static_cast<INT>(image.getWidth());
    const auto srcHeight = static_cast<INT>(image.getHeight());
    return ok(flat::GdipDrawImageRectRectI(g(classHandle_), im(image), x, y, width, height, 0, 0, srcWidth, srcHeight,
                                           unit(srcUnit), nullptr, nullptr, nullptr));
}

bool Graphics::drawImagePoints(const Image& image, float x1, float y1, float x2, float y2, float x3, float y3) {
    const PointF points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return ok(flat::GdipDrawImagePoints(g(classHandle_), im(image), gp(points), 3));
}
bool Graphics::drawImagePointsI(const Image& image, int x1, int y1, int x2, int y2, int x3, int y3) {
    const Point points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return ok(flat::GdipDrawImagePointsI(g(classHandle_), im(image), gp(points), 3));
}
bool Graphics::drawImagePointRect(const Image& image, float x, float y, float srcX, float srcY, float srcWidth,
                                  float srcHeight, int srcUnit) {
    return ok(
        flat::GdipDrawImagePointRect(g(classHandle_), im(image), x, y, srcX, srcY, srcWidth, srcHeight, unit(srcUnit)));
}
bool Graphics::drawImagePointRectI(const Image& image, int x, int y, int srcX, int srcY, int srcWidth, int srcHeight,
                                   int srcUnit) {
    return ok(flat::GdipDrawImagePointRectI(g(classHandle_), im(image), x, y, srcX, srcY, srcWidth, srcHeight,
                                            unit(srcUnit)));
}
bool Graphics::drawImageRectSrcRect(const Image& image, float dstX, float dstY, float dstWidth, float dstHeight,
                                    float srcX, float srcY, float srcWidth, float srcHeight, int srcUnit,
                                    const GdiObject* imageAttributes) {
    return ok(flat::GdipDrawImageRectRect(g(classHandle_), im(image), dstX, dstY, dstWidth, dstHeight, srcX, srcY,
                                          srcWidth, srcHeight, unit(srcUnit), attributes(imageAttributes), nullptr,
                                          nullptr));
}
bool Graphics::drawImageRectSrcRectI(const Image& image, int dstX, int dstY, int dstWidth, int dstHeight, int srcX,
                                     int srcY, int srcWidth, int srcHeight, int srcUnit,
                                     const GdiObject* imageAttributes) {
    return ok(flat::GdipDrawImageRectRectI(g(classHandle_), im(image), dstX, dstY, dstWidth, dstHeight, srcX, srcY,
                                           srcWidth, srcHeight, unit(srcUnit), attributes(imageAttributes), nullptr,
                                           nullptr));
}
bool Graphics::drawImagePointsRect(const Image& image, float x1, float y1, float x2, float y2, float x3, float y3,
                                   float srcX, float srcY, float srcWidth, float srcHeight, int srcUnit,
                                   const GdiObject* imageAttributes) {
    const PointF points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return ok(flat::GdipDrawImagePointsRect(g(classHandle_), im(image), gp(points), 3, srcX, srcY, srcWidth, srcHeight,
                                            unit(srcUnit), attributes(imageAttributes), nullptr, nullptr));
}
bool Graphics::drawImagePointsRectI(const Image& image, int x1, int y1, int x2, int y2, int x3, int y3, int srcX,
                                    int srcY, int srcWidth, int srcHeight, int srcUnit,
                                    const GdiObject* imageAttributes) {
    const Point points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return ok(flat::GdipDrawImagePointsRectI(g(classHandle_), im(image), gp(points), 3, srcX, srcY, srcWidth, srcHeight,
                                             unit(srcUnit), attributes(imageAttributes), nullptr, nullptr));
}

// Metafile enumeration.

bool Graphics::enumerateMetafileDestPoint(const GdiObject& metafile, PointF dest, const void* callback,
                                          void* callbackData, const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileDestPoint(g(classHandle_), metafileOf(metafile), *gp(&dest), routine(callback),
                                                   callbackData, attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileDestPointI(const GdiObject& metafile, Point dest, const void* callback,
                                           void* callbackData, const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileDestPointI(g(classHandle_), metafileOf(metafile), *gp(&dest),
                                                    routine(callback), callbackData, attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileDestPoints(const GdiObject& metafile, const std::vector<PointF>& dest,
                                           const void* callback, void* callbackData, const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileDestPoints(g(classHandle_), metafileOf(metafile), gpArray(dest), countOf(dest),
                                                    routine(callback), callbackData, attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileDestPointsI(const GdiObject& metafile, const std::vector<Point>& dest,
                                            const void* callback, void* callbackData,
                                            const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileDestPointsI(g(classHandle_), metafileOf(metafile), gpArray(dest),
                                                     countOf(dest), routine(callback), callbackData,
                                                     attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileDestRect(const GdiObject& metafile, RectF dest, const void* callback,
                                         void* callbackData, const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileDestRect(g(classHandle_), metafileOf(metafile), *gp(&dest), routine(callback),
                                                  callbackData, attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileDestRectI(const GdiObject& metafile, Rect dest, const void* callback,
                                          void* callbackData, const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileDestRectI(g(classHandle_), metafileOf(metafile), *gp(&dest), routine(callback),
                                                   callbackData, attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileSrcRectDestPoint(const GdiObject& metafile, PointF dest, RectF src, int srcUnit,
                                                 const void* callback, void* callbackData,
                                                 const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileSrcRectDestPoint(g(classHandle_), metafileOf(metafile), *gp(&dest), *gp(&src),
                                                          unit(srcUnit), routine(callback), callbackData,
                                                          attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileSrcRectDestPointI(const GdiObject& metafile, Point dest, Rect src, int srcUnit,
                                                  const void* callback, void* callbackData,
                                                  const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileSrcRectDestPointI(g(classHandle_), metafileOf(metafile), *gp(&dest), *gp(&src),
                                                           unit(srcUnit), routine(callback), callbackData,
                                                           attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileSrcRectDestPoints(const GdiObject& metafile, const std::vector<PointF>& dest, RectF src,
                                                  int srcUnit, const void* callback, void* callbackData,
                                                  const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileSrcRectDestPoints(g(classHandle_), metafileOf(metafile), gpArray(dest),
                                                           countOf(dest), *gp(&src), unit(srcUnit), routine(callback),
                                                           callbackData, attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileSrcRectDestPointsI(const GdiObject& metafile, const std::vector<Point>& dest, Rect src,
                                                   int srcUnit, const void* callback, void* callbackData,
                                                   const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileSrcRectDestPointsI(g(classHandle_), metafileOf(metafile), gpArray(dest),
                                                            countOf(dest), *gp(&src), unit(srcUnit), routine(callback),
                                                            callbackData, attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileSrcRectDestRect(const GdiObject& metafile, RectF dest, RectF src, int srcUnit,
                                                const void* callback, void* callbackData,
                                                const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileSrcRectDestRect(g(classHandle_), metafileOf(metafile), *gp(&dest), *gp(&src),
                                                         unit(srcUnit), routine(callback), callbackData,
                                                         attributes(imageAttributes)));
}
bool Graphics::enumerateMetafileSrcRectDestRectI(const GdiObject& metafile, Rect dest, Rect src, int srcUnit,
                                                 const void* callback, void* callbackData,
                                                 const GdiObject* imageAttributes) {
    return ok(flat::GdipEnumerateMetafileSrcRectDestRectI(g(classHandle_), metafileOf(metafile), *gp(&dest), *gp(&src),
                                                          unit(srcUnit), routine(callback), callbackData,
                                                          attributes(imageAttributes)));
}

// Clipping and visibility.

bool Graphics::setClipGraphics(const Graphics& graphics, int combineMode) {
    return ok(flat::GdipSetClipGraphics(g(classHandle_), as<GpGraphics>(handleOf(graphics)), combine(combineMode)));
}
bool Graphics::setClipPath(const GraphicsPath& path, int combineMode) {
    return ok(flat::GdipSetClipPath(g(classHandle_), as<GpPath>(handleOf(path)), combine(combineMode)));
}
bool Graphics::setClipRect(float x, float y, float width, float height, int combineMode) {
    return ok(flat::GdipSetClipRect(g(classHandle_), x, y, width, height, combine(combineMode)));
}
bool Graphics::setClipRectI(int x, int y, int width, int height, int combineMode) {
    return ok(flat::GdipSetClipRectI(g(classHandle_), x, y, width, height, combine(combineMode)));
}
bool Graphics::setClipRegion(const Region& region, int combineMode) {
    return ok(flat::GdipSetClipRegion(g(classHandle_), as<GpRegion>(handleOf(region)), combine(combineMode)));
}
bool Graphics::setClipHrgn(HRGN hrgn, int combineMode) {
    return ok(flat::GdipSetClipHrgn(g(classHandle_), hrgn, combine(combineMode)));
}
bool Graphics::resetClip() { return ok(flat::GdipResetClip(g(classHandle_))); }
bool Graphics::translateClip(float dx, float dy) { return ok(flat::GdipTranslateClip(g(classHandle_), dx, dy)); }
bool Graphics::translateClipI(int dx, int dy) { return ok(flat::GdipTranslateClipI(g(classHandle_), dx, dy)); }
bool Graphics::getClip(const Region& region) const {
    return ok(flat::GdipGetClip(g(classHandle_), as<GpRegion>(handleOf(region))));
}

RectF Graphics::getClipBounds() const {
    RectF bounds;
    rememberStatus(flat::GdipGetClipBounds(g(classHandle_), gp(&bounds)));
    return bounds;
}
Rect Graphics::getClipBoundsI() const {
    Rect bounds;
    rememberStatus(flat::GdipGetClipBoundsI(g(classHandle_), gp(&bounds)));
    return bounds;
}
RectF Graphics::getVisibleClipBounds() const {
    RectF bounds;
    rememberStatus(flat::GdipGetVisibleClipBounds(g(classHandle_), gp(&bounds)));
    return bounds;
}
Rect Graphics::getVisibleClipBoundsI() const {
    Rect bounds;
    rememberStatus(flat::GdipGetVisibleClipBoundsI(g(classHandle_), gp(&bounds)));
    return bounds;
}
bool Graphics::isClipEmpty() const { return flag(flat::GdipIsClipEmpty, g(classHandle_)); }
bool Graphics::isVisibleClipEmpty() const { return flag(flat::GdipIsVisibleClipEmpty, g(classHandle_)); }
bool Graphics::isVisiblePoint(float x, float y) const { return flag(flat::GdipIsVisiblePoint, g(classHandle_), x, y); }
bool Graphics::isVisiblePointI(int x, int y) const { return flag(flat::GdipIsVisiblePointI, g(classHandle_), x, y); }
bool Graphics::isVisibleRect(float x, float y, float width, float height) const {
    return flag(flat::GdipIsVisibleRect, g(classHandle_), x, y, width, height);
}
bool Graphics::isVisibleRectI(int x, int y, int width, int height) const {
    return flag(flat::GdipIsVisibleRectI, g(classHandle_), x, y, width, height);
}

// Saved states, containers and comments.

std::uint32_t Graphics::save() { return value<GraphicsState>(flat::GdipSaveGraphics, g(classHandle_)); }
bool Graphics::restore(std::uint32_t state) { return ok(flat::GdipRestoreGraphics(g(classHandle_), state)); }
std::uint32_t Graphics::beginContainer(RectF dstRect, RectF srcRect, int containerUnit) {
    return value<GraphicsContainer>(flat::GdipBeginContainer, g(classHandle_), gp(&dstRect), gp(&srcRect),
                                    unit(containerUnit));
}
std::uint32_t Graphics::beginContainerI(Rect dstRect, Rect srcRect, int containerUnit) {
    return value<GraphicsContainer>(flat::GdipBeginContainerI, g(classHandle_), gp(&dstRect), gp(&srcRect),
                                    unit(containerUnit));
}
std::uint32_t Graphics::beginContainer2() {
    return value<GraphicsContainer>(flat::GdipBeginContainer2, g(classHandle_));
}
bool Graphics::endContainer(std::uint32_t state) { return ok(flat::GdipEndContainer(g(classHandle_), state)); }
bool Graphics::addComment(const std::vector<unsigned char>& data) {
    return ok(flat::GdipComment(g(classHandle_), static_cast<UINT>(data.size()), arrayOf(data)));
}

}  // namespace quorvane::toolkit::gdiplus
