#pragma once
// Pens: colour or brush, width, caps, joins, dashes and transform.
#include "toolkit/gdiplus/gdi_object.h"

#include <vector>

namespace quorvane::toolkit::gdiplus {

class Brush;

class Pen final : public GdiObject {
public:
    Pen() = default;
    ~Pen() override { deletePen(); }

    bool deletePen();
    bool create(Argb colour, float width, int unit = 0);
    bool createFromBrush(const Brush& brush, float width, int unit = 0);
    bool clone(Pen& target) const;
    float getWidth() const;
    bool setWidth(float width);
    int getUnit() const;
    bool setUnit(double unit);  // truncated to a whole unit
    bool setLineCap(int startCap, int endCap, int dashCap);
    bool setLineCapAlt(int startCap, int endCap, int dashCap);
    bool setStartCap(int cap);
    bool setEndCap(int cap);
    bool setDashCap(int dashCap);
    int getStartCap() const;
    int getEndCap() const;
    int getDashCap() const;
    int getDashCapAlt() const;
    bool setLineJoin(int join);
    int getLineJoin() const;
    // Caps are objects of the family holding a GDI+ custom line cap.
    bool setCustomStartCap(const GdiObject& cap);
    bool getCustomStartCap(GdiObject& target) const;
    bool setCustomEndCap(const GdiObject& cap);
    bool getCustomEndCap(GdiObject& target) const;
    bool setMiterLimit(float limit);
    float getMiterLimit() const;
    bool setMode(int alignment);
    int getMode() const;
    bool setTransform(const GdiObject& matrix);
    bool getTransform(const GdiObject& matrix) const;
    bool resetTransform();
    bool multiplyTransform(const GdiObject& matrix, int order = 0);
    bool rotateTransform(float angle, int order = 0);
    bool scaleTransform(float sx, float sy, int order = 0);
    bool translateTransform(float dx, float dy, int order = 0);
    Argb getColor() const;
    bool setColor(Argb colour);
    bool setBrush(const Brush& brush);
    bool getBrush(Brush& target) const;
    int getPenType() const;
    bool setDashStyle(int style);
    int getDashStyle() const;
    float getDashOffset() const;
    bool setDashOffset(float offset);
    int getDashPattern(std::vector<float>& dashes) const;
    bool setDashPattern(const std::vector<float>& dashes);
    bool setCompoundArray(const std::vector<float>& values);
    int getCompoundArray(std::vector<float>& values) const;

private:
    void syncClassHandle(Handle handle) override { classHandle_ = handle; }
    Handle classHandle_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus
