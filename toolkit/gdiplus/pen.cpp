#include "toolkit/gdiplus/pen.h"

#include "toolkit/gdiplus/brush.h"
#include "toolkit/gdiplus/flat.h"

namespace quorvane::toolkit::gdiplus {

using namespace Gdiplus;

namespace {

GpPen* pen(Handle handle) { return as<GpPen>(handle); }
MatrixOrder order(int value) { return static_cast<MatrixOrder>(value); }
LineCap cap(int value) { return static_cast<LineCap>(value); }
DashCap dashCap(int value) { return static_cast<DashCap>(value); }
GpCustomLineCap* customCap(const GdiObject& object) { return as<GpCustomLineCap>(handleOf(object)); }

}  // namespace

bool Pen::deletePen() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeletePen(pen(h)); });
}

bool Pen::create(Argb colour, float width, int unit) {
    return createAt<GpPen>(*this, classHandle_, [&](GpPen** made) {
        return flat::GdipCreatePen1(colour, width, static_cast<GpUnit>(unit), made);
    });
}

bool Pen::createFromBrush(const Brush& brush, float width, int unit) {
    return createAt<GpPen>(*this, classHandle_, [&](GpPen** made) {
        return flat::GdipCreatePen2(as<GpBrush>(handleOf(brush)), width, static_cast<GpUnit>(unit), made);
    });
}

bool Pen::clone(Pen& target) const {
    return cloneInto<GpPen>(target, [&](GpPen** made) { return flat::GdipClonePen(pen(classHandle_), made); });
}

float Pen::getWidth() const { return value<REAL>(flat::GdipGetPenWidth, pen(classHandle_)); }
bool Pen::setWidth(float width) { return ok(flat::GdipSetPenWidth(pen(classHandle_), width)); }
int Pen::getUnit() const { return value<GpUnit>(flat::GdipGetPenUnit, pen(classHandle_)); }
bool Pen::setUnit(double unit) {
    return ok(flat::GdipSetPenUnit(pen(classHandle_), static_cast<GpUnit>(static_cast<int>(unit))));
}

bool Pen::setLineCap(int startCap, int endCap, int dash) {
    return ok(flat::GdipSetPenLineCap197819(pen(classHandle_), cap(startCap), cap(endCap), dashCap(dash)));
}
bool Pen::setLineCapAlt(int startCap, int endCap, int dash) { return setLineCap(startCap, endCap, dash); }
bool Pen::setStartCap(int value) { return ok(flat::GdipSetPenStartCap(pen(classHandle_), cap(value))); }
bool Pen::setEndCap(int value) { return ok(flat::GdipSetPenEndCap(pen(classHandle_), cap(value))); }
bool Pen::setDashCap(int value) { return ok(flat::GdipSetPenDashCap197819(pen(classHandle_), dashCap(value))); }
int Pen::getStartCap() const { return value<LineCap>(flat::GdipGetPenStartCap, pen(classHandle_)); }
int Pen::getEndCap() const { return value<LineCap>(flat::GdipGetPenEndCap, pen(classHandle_)); }
int Pen::getDashCap() const { return value<DashCap>(flat::GdipGetPenDashCap197819, pen(classHandle_)); }
int Pen::getDashCapAlt() const { return getDashCap(); }
bool Pen::setLineJoin(int join) { return ok(flat::GdipSetPenLineJoin(pen(classHandle_), static_cast<LineJoin>(join))); }
int Pen::getLineJoin() const { return value<LineJoin>(flat::GdipGetPenLineJoin, pen(classHandle_)); }

bool Pen::setCustomStartCap(const GdiObject& value) {
    return ok(flat::GdipSetPenCustomStartCap(pen(classHandle_), customCap(value)));
}
bool Pen::getCustomStartCap(GdiObject& target) const {
    return cloneInto<GpCustomLineCap>(
        target, [&](GpCustomLineCap** made) { return flat::GdipGetPenCustomStartCap(pen(classHandle_), made); });
}
bool Pen::setCustomEndCap(const GdiObject& value) {
    return ok(flat::GdipSetPenCustomEndCap(pen(classHandle_), customCap(value)));
}
bool Pen::getCustomEndCap(GdiObject& target) const {
    return cloneInto<GpCustomLineCap>(
        target, [&](GpCustomLineCap** made) { return flat::GdipGetPenCustomEndCap(pen(classHandle_), made); });
}

bool Pen::setMiterLimit(float limit) { return ok(flat::GdipSetPenMiterLimit(pen(classHandle_), limit)); }
float Pen::getMiterLimit() const { return value<REAL>(flat::GdipGetPenMiterLimit, pen(classHandle_)); }
bool Pen::setMode(int alignment) {
    return ok(flat::GdipSetPenMode(pen(classHandle_), static_cast<PenAlignment>(alignment)));
}
int Pen::getMode() const { return value<PenAlignment>(flat::GdipGetPenMode, pen(classHandle_)); }

bool Pen::setTransform(const GdiObject& matrix) {
    return ok(flat::GdipSetPenTransform(pen(classHandle_), matrixOf(matrix)));
}
bool Pen::getTransform(const GdiObject& matrix) const {
    return ok(flat::GdipGetPenTransform(pen(classHandle_), matrixOf(matrix)));
}
bool Pen::resetTransform() { return ok(flat::GdipResetPenTransform(pen(classHandle_))); }
bool Pen::multiplyTransform(const GdiObject& matrix, int matrixOrder) {
    return ok(flat::GdipMultiplyPenTransform(pen(classHandle_), matrixOf(matrix), order(matrixOrder)));
}
bool Pen::rotateTransform(float angle, int matrixOrder) {
    return ok(flat::GdipRotatePenTransform(pen(classHandle_), angle, order(matrixOrder)));
}
bool Pen::scaleTransform(float sx, float sy, int matrixOrder) {
    return ok(flat::GdipScalePenTransform(pen(classHandle_), sx, sy, order(matrixOrder)));
}
bool Pen::translateTransform(float dx, float dy, int matrixOrder) {
    return ok(flat::GdipTranslatePenTransform(pen(classHandle_), dx, dy, order(matrixOrder)));
}

Argb Pen::getColor() const { return value<ARGB>(flat::GdipGetPenColor, pen(classHandle_)); }
bool Pen::setColor(Argb colour) { return ok(flat::GdipSetPenColor(pen(classHandle_), colour)); }
bool Pen::setBrush(const Brush& brush) {
    return ok(flat::GdipSetPenBrushFill(pen(classHandle_), as<GpBrush>(handleOf(brush))));
}
bool Pen::getBrush(Brush& target) const {
    return cloneInto<GpBrush>(target,
                              [&](GpBrush** made) { return flat::GdipGetPenBrushFill(pen(classHandle_), made); });
}
int Pen::getPenType() const { return value<PenType>(flat::GdipGetPenFillType, pen(classHandle_)); }
bool Pen::setDashStyle(int style) {
    return ok(flat::GdipSetPenDashStyle(pen(classHandle_), static_cast<DashStyle>(style)));
}
int Pen::getDashStyle() const { return value<DashStyle>(flat::GdipGetPenDashStyle, pen(classHandle_)); }
float Pen::getDashOffset() const { return value<REAL>(flat::GdipGetPenDashOffset, pen(classHandle_)); }
bool Pen::setDashOffset(float offset) { return ok(flat::GdipSetPenDashOffset(pen(classHandle_), offset)); }

int Pen::getDashPattern(std::vector<float>& dashes) const {
    return listGetter([&](INT* n) { return flat::GdipGetPenDashCount(pen(classHandle_), n); },
                      [&](INT n) {
                          dashes.assign(static_cast<std::size_t>(n), 0);
                          rememberStatus(flat::GdipGetPenDashArray(pen(classHandle_), arrayOf(dashes), n));
                      });
}
bool Pen::setDashPattern(const std::vector<float>& dashes) {
    return ok(flat::GdipSetPenDashArray(pen(classHandle_), arrayOf(dashes), countOf(dashes)));
}
bool Pen::setCompoundArray(const std::vector<float>& values) {
    return ok(flat::GdipSetPenCompoundArray(pen(classHandle_), arrayOf(values), countOf(values)));
}
int Pen::getCompoundArray(std::vector<float>& values) const {
    return listGetter([&](INT* n) { return flat::GdipGetPenCompoundCount(pen(classHandle_), n); },
                      [&](INT n) {
                          values.assign(static_cast<std::size_t>(n), 0);
                          rememberStatus(flat::GdipGetPenCompoundArray(pen(classHandle_), arrayOf(values), n));
                      });
}

}  // namespace quorvane::toolkit::gdiplus
