#pragma once
// Regions: areas for clipping, filling and measured character ranges.
#include "toolkit/gdiplus/gdi_object.h"

#include <cstdint>
#include <vector>

namespace quorvane::toolkit::gdiplus {

class Graphics;
class GraphicsPath;

class Region final : public GdiObject {
public:
    Region() = default;
    ~Region() override { deleteRegion(); }

    bool deleteRegion();
    bool create();  // infinite
    bool createFromRect(RectF rect);
    bool createFromRectI(Rect rect);
    bool createFromPath(const GraphicsPath& path);
    bool createFromHrgn(HRGN hrgn);
    bool createFromData(const std::vector<unsigned char>& data, int size);
    bool clone(Region& target) const;
    bool makeInfinite();
    bool makeEmpty();
    // The combine mode defaults to intersect.
    bool combineRect(RectF rect, int combineMode = 1);
    bool combineRectI(Rect rect, int combineMode = 1);
    bool combineRegion(const Region& region, int combineMode = 1);
    bool combinePath(const GraphicsPath& path, int combineMode = 1);
    bool translate(float dx, float dy);
    bool translateI(int dx, int dy);
    bool transform(const GdiObject& matrix);
    RectF getBounds(const Graphics& graphics) const;
    Rect getBoundsI(const Graphics& graphics) const;
    std::uint32_t getDataSize() const;
    std::vector<unsigned char> getData(std::uint32_t bufferSize, std::uint32_t* sizeFilled = nullptr) const;
    HRGN getHrgn(const Graphics& graphics) const;
    bool isEmpty(const Graphics& graphics) const;
    bool isInfinite(const Graphics& graphics) const;
    bool equals(const Region& region, const Graphics& graphics) const;
    bool isVisiblePoint(PointF point, const Graphics* graphics = nullptr) const;
    bool isVisiblePointI(Point point, const Graphics* graphics = nullptr) const;
    bool isVisibleRect(RectF rect, const Graphics* graphics = nullptr) const;
    bool isVisibleRectI(Rect rect, const Graphics* graphics = nullptr) const;
    std::uint32_t getScansCount(const GdiObject& matrix) const;
    int getScans(const GdiObject& matrix, std::vector<RectF>& rects) const;
    int getScansI(const GdiObject& matrix, std::vector<Rect>& rects) const;

private:
    void syncClassHandle(Handle handle) override { classHandle_ = handle; }
    Handle classHandle_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus
