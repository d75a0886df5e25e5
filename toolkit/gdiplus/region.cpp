#include "toolkit/gdiplus/region.h"

#include "toolkit/gdiplus/flat.h"
#include "toolkit/gdiplus/graphics.h"
#include "toolkit/gdiplus/path.h"

namespace quorvane::toolkit::gdiplus {

using namespace Gdiplus;

namespace {

GpRegion* region(Handle handle) { return as<GpRegion>(handle); }
GpGraphics* graphicsOf(const Graphics* graphics) { return as<GpGraphics>(handleOf(graphics)); }
CombineMode combine(int mode) { return static_cast<CombineMode>(mode); }

}  // namespace

bool Region::deleteRegion() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeleteRegion(region(h)); });
}

bool Region::create() { return createAt<GpRegion>(*this, classHandle_, flat::GdipCreateRegion); }

bool Region::createFromRect(RectF rect) {
    return createAt<GpRegion>(*this, classHandle_,
                              [&](GpRegion** made) { return flat::GdipCreateRegionRect(gp(&rect), made); });
}

bool Region::createFromRectI(Rect rect) {
    return createAt<GpRegion>(*this, classHandle_,
                              [&](GpRegion** made) { return flat::GdipCreateRegionRectI(gp(&rect), made); });
}

bool Region::createFromPath(const GraphicsPath& path) {
    return createAt<GpRegion>(*this, classHandle_, [&](GpRegion** made) {
        return flat::GdipCreateRegionPath(as<GpPath>(handleOf(path)), made);
    });
}

bool Region::createFromHrgn(HRGN hrgn) {
    return createAt<GpRegion>(*this, classHandle_,
                              [&](GpRegion** made) { return flat::GdipCreateRegionHrgn(hrgn, made); });
}

bool Region::createFromData(const std::vector<unsigned char>& data, int size) {
    return createAt<GpRegion>(
        *this, classHandle_, [&](GpRegion** made) { return flat::GdipCreateRegionRgnData(arrayOf(data), size, made); });
}

bool Region::clone(Region& target) const {
    return cloneInto<GpRegion>(target,
                               [&](GpRegion** made) { return flat::GdipCloneRegion(region(classHandle_), made); });
}

bool Region::makeInfinite() { return ok(flat::GdipSetInfinite(region(classHandle_))); }
bool Region::makeEmpty() { return ok(flat::GdipSetEmpty(region(classHandle_))); }

bool Region::combineRect(RectF rect, int combineMode) {
    return ok(flat::GdipCombineRegionRect(region(classHandle_), gp(&rect), combine(combineMode)));
}
bool Region::combineRectI(Rect rect, int combineMode) {
    return ok(flat::GdipCombineRegionRectI(region(classHandle_), gp(&rect), combine(combineMode)));
}
bool Region::combineRegion(const Region& other, int combineMode) {
    return ok(flat::GdipCombineRegionRegion(region(classHandle_), region(handleOf(other)), combine(combineMode)));
}
bool Region::combinePath(const GraphicsPath& path, int combineMode) {
    return ok(flat::GdipCombineRegionPath(region(classHandle_), as<GpPath>(handleOf(path)), combine(combineMode)));
}
bool Region::translate(float dx, float dy) { return ok(flat::GdipTranslateRegion(region(classHandle_), dx, dy)); }
bool Region::translateI(int dx, int dy) { return ok(flat::GdipTranslateRegionI(region(classHandle_), dx, dy)); }
bool Region::transform(const GdiObject& matrix) {
    return ok(flat::GdipTransformRegion(region(classHandle_), matrixOf(matrix)));
}

RectF Region::getBounds(const Graphics& graphics) const {
    RectF bounds;
    rememberStatus(flat::GdipGetRegionBounds(region(classHandle_), graphicsOf(&graphics), gp(&bounds)));
    return bounds;
}

Rect Region::getBoundsI(const Graphics& graphics) const {
    Rect bounds;
    rememberStatus(flat::GdipGetRegionBoundsI(region(classHandle_), graphicsOf(&graphics), gp(&bounds)));
    return bounds;
}

std::uint32_t Region::getDataSize() const { return value<UINT>(flat::GdipGetRegionDataSize, region(classHandle_)); }

std::vector<unsigned char> Region::getData(std::uint32_t bufferSize, std::uint32_t* sizeFilled) const {
    std::vector<unsigned char> data(bufferSize);
    UINT filled = 0;
    rememberStatus(flat::GdipGetRegionData(region(classHandle_), arrayOf(data), bufferSize, &filled));
    if (sizeFilled) *sizeFilled = filled;
    return data;
}

HRGN Region::getHrgn(const Graphics& graphics) const {
    return value<HRGN>(flat::GdipGetRegionHRgn, region(classHandle_), graphicsOf(&graphics));
}

bool Region::isEmpty(const Graphics& graphics) const {
    return flag(flat::GdipIsEmptyRegion, region(classHandle_), graphicsOf(&graphics));
}
bool Region::isInfinite(const Graphics& graphics) const {
    return flag(flat::GdipIsInfiniteRegion, region(classHandle_), graphicsOf(&graphics));
}
bool Region::equals(const Region& other, const Graphics& graphics) const {
    return flag(flat::GdipIsEqualRegion, region(classHandle_), region(handleOf(other)), graphicsOf(&graphics));
}
bool Region::isVisiblePoint(PointF point, const Graphics* graphics) const {
    return flag(flat::GdipIsVisibleRegionPoint, region(classHandle_), point.x, point.y, graphicsOf(graphics));
}
bool Region::isVisiblePointI(Point point, const Graphics* graphics) const {
    return flag(flat::GdipIsVisibleRegionPointI, region(classHandle_), point.x, point.y, graphicsOf(graphics));
}
bool Region::isVisibleRect(RectF rect, const Graphics* graphics) const {
    return flag(flat::GdipIsVisibleRegionRect, region(classHandle_), rect.x, rect.y, rect.width, rect.height,
                graphicsOf(graphics));
}
bool Region::isVisibleRectI(Rect rect, const Graphics* graphics) const {
    return flag(flat::GdipIsVisibleRegionRectI, region(classHandle_), rect.x, rect.y, rect.width, rect.height,
                graphicsOf(graphics));
}

std::uint32_t Region::getScansCount(const GdiObject& matrix) const {
    UINT count = 0;
    rememberStatus(flat::GdipGetRegionScansCount(region(classHandle_), &count, matrixOf(matrix)));
    return count;
}

int Region::getScans(const GdiObject& matrix, std::vector<RectF>& rects) const {
    return listGetter(
        [&](INT* n) {
            return flat::GdipGetRegionScansCount(region(classHandle_), reinterpret_cast<UINT*>(n), matrixOf(matrix));
        },
        [&](INT n) {
            rects.assign(static_cast<std::size_t>(n), RectF{});
            INT got = n;
            rememberStatus(flat::GdipGetRegionScans(region(classHandle_), gpArray(rects), &got, matrixOf(matrix)));
        });
}

int Region::getScansI(const GdiObject& matrix, std::vector<Rect>& rects) const {
    return listGetter(
        [&](INT* n) {
            return flat::GdipGetRegionScansCount(region(classHandle_), reinterpret_cast<UINT*>(n), matrixOf(matrix));
        },
        [&](INT n) {
            rects.assign(static_cast<std::size_t>(n), Rect{});
            INT got = n;
            rememberStatus(flat::GdipGetRegionScansI(region(classHandle_), gpArray(rects), &got, matrixOf(matrix)));
        });
}

}  // namespace quorvane::toolkit::gdiplus
