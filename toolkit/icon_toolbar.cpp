#include "toolkit/icon_toolbar.h"

#include "toolkit/gdiplus/font.h"
#include "toolkit/gdiplus/graphics.h"
#include "toolkit/gdiplus/image.h"
#include "toolkit/gdiplus/path.h"
#include "toolkit/gdiplus/pen.h"
#include "toolkit/routine_call.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace quorvane::toolkit {

using namespace gdiplus;

namespace {

constexpr int kGap = 5;  // before every item
constexpr int kRadius = 5;
constexpr float kEpsilon = 1e-7f;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kUnitPixel = 2;
constexpr int kAlignNear = 0;
constexpr int kAlignCentre = 1;
constexpr int kWindowProcedureMethod = 3;

Argb white(std::uint8_t alpha) { return colorrefToArgb(kWhite, alpha); }

int truncated(float value) { return static_cast<int>(value); }

// A closed rounded rectangle; the bottom-right corner's box is a pixel larger.
void addRoundedRect(GraphicsPath& path, float x, float y, float w, float h, int radius) {
    const float r = static_cast<float>(std::clamp(radius, 1, 100));
    const float x2 = x + w, y2 = y + h;
    path.addArc(x2 - r, y, r, r, 270, 90);
    path.addArc(x2 - r - 1, y2 - r - 1, r + 1, r + 1, 0, 90);
    path.addArc(x, y2 - r, r, r, 90, 90);
    path.addArc(x, y, r, r, 180, 90);
    path.closeFigure();
}

// Rounded top, straight open bottom; filling closes it.
void buildItemOutline(GraphicsPath& path, int left, int top, int width, int height, int radius) {
    const auto l = static_cast<float>(left), t = static_cast<float>(top);
    const auto w = static_cast<float>(width), h = static_cast<float>(height), r = static_cast<float>(radius);
    path.addLine(l, t + h, l, t + r);
    path.addArc(l, t, r, r, 180, 90);
    path.addLine(l + r, t, l + w - r, t);
    path.addArc(l + w - r, t, r, r, 270, 90);
    path.addLine(l + w, t + r, l + w, t + h);
}

void fillWithGradient(Graphics& graphics, GraphicsPath& path, PointF from, PointF to, Argb first, Argb second) {
    LinearGradientBrush brush;
    brush.create(from, to, first, second);
    graphics.fillPath(brush, path);
    brush.deleteBrush();
}

void stroke(Graphics& graphics, GraphicsPath& path, Argb colour, int unit) {
    Pen pen;
    pen.create(colour, 1, unit);
    graphics.drawPath(pen, path);
    pen.deletePen();
}

}  // namespace

// Slot 2: the window procedure.
const MethodAddress IconToolbar::kMethods[] = {nullptr, nullptr,
                                               reinterpret_cast<MethodAddress>(&IconToolbar::windowProcEntry)};

IconToolbar::IconToolbar() : captionFamily_("宋体") { methodTable = kMethods; }

IconToolbar::~IconToolbar() {
    clearItems();
    releaseMemoryDc();
}

bool IconToolbar::attach(HWND window, int itemWidth, int itemHeight, const ToolbarOptions& options) {
    reset();
    window_ = window;
    toolTips_.create(window);
    RECT own{}, parent{};
    GetClientRect(window, &own);
    GetClientRect(GetParent(window), &parent);
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    left_ = own.left;
    top_ = own.top;
    itemWidth_ = itemWidth;
    itemHeight_ = itemHeight;
    barWidth_ = parent.right - parent.left;
    barHeight_ = own.bottom - own.top;
    textColour_ = options.textColour;
    backgroundColour_ = options.backgroundColour;
    tag_ = options.tag;
    gradientEnabled_ = options.gradientEnabled;
    gradientStyle_ = options.gradientStyle;
    selectionMode_ = options.selectionMode;
    transparent_ = options.transparent;
    // A thunk attached before goes back first: keeping it as the previous
    // procedure would call ourselves for ever.
    return thunk_.attach(window, &self_, kWindowProcedureMethod);
}

void IconToolbar::addItem(const ToolbarItem& item) {
    items_.push_back(item);
    const int n = itemCount();
    const ItemRect rect{static_cast<float>((n - 1) * itemWidth_ + n * kGap), 0, static_cast<float>(itemWidth_),
                        static_cast<float>(itemHeight_)};
    itemRects_.push_back(rect);
    if (selectionMode_ && n == 1) {
        items_.back().selected = true;
        selectedIndex_ = 1;
    }
    if (!item.tooltip.empty()) {
        const RECT area{truncated(rect.x), truncated(rect.y), truncated(rect.x + rect.width),
                        truncated(rect.y + rect.height)};
        toolTips_.addTool(area, item.tooltip, static_cast<UINT>(n));
    }
}

void IconToolbar::redraw() {
    // Without a window there is nothing to draw: no invalidation of the screen.
    if (!window_) return;
    needsFullRender_ = true;
    InvalidateRect(window_, nullptr, TRUE);
}

void IconToolbar::reset() {
    needsFullRender_ = true;
    window_ = nullptr;
    itemWidth_ = itemHeight_ = barWidth_ = barHeight_ = 0;
    textColour_ = backgroundColour_ = 0;
    tag_.clear();
    clearItems();
    itemRects_.clear();
    separators_.clear();
    hoverIndex_ = paintedHoverIndex_ = 0;
    clickCallback_ = nullptr;
    gradientEnabled_ = false;
    gradientStyle_ = left_ = top_ = 0;
    transparent_ = false;
    chosenIndex_ = 0;
    deleteThemeBrushes();
    selectedIndex_ = 0;
}

void IconToolbar::clearItems() { items_.clear(); }

bool IconToolbar::selectItem(int k, bool state) {
    if (k < 1 || k > itemCount()) return false;
    ToolbarItem& item = items_[static_cast<std::size_t>(k - 1)];
    if (selectionMode_) {
        for (ToolbarItem& other : items_) other.selected = false;
        item.selected = true;
        chosenIndex_ = k;
        const int previous = std::exchange(selectedIndex_, k);
        if (previous > 0 && previous != k) repaintItem(previous);
    } else {
        if (!item.toggles) return false;
        item.selected = state;
    }
    repaintItem(k);
    if (clickCallback_) callWithArgs(reinterpret_cast<const void*>(clickCallback_), std::array<std::intptr_t, 1>{k});
    return true;
}

bool IconToolbar::isItemSelected(int k) const {
    return k >= 1 && k <= itemCount() && items_[static_cast<std::size_t>(k - 1)].selected;
}

void IconToolbar::move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    barWidth_ = width;
    barHeight_ = height;
    MoveWindow(window_, left_, top_, barWidth_, barHeight_, TRUE);
}

void IconToolbar::repaintParent() {
    HWND parent = GetParent(window_);
    InvalidateRect(parent, nullptr, TRUE);
    SendMessageW(parent, WM_PAINT, 0, 0);
}

// The window procedure.

LRESULT WINAPI IconToolbar::windowProcEntry(ObjectReference self, HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    return objectOf<IconToolbar>(self).windowProc(window, message, wParam, lParam);
}

LRESULT IconToolbar::callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return thunk_.callPrevious(window, message, wParam, lParam);
}

LRESULT IconToolbar::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (needsFullRender_)
            renderOffscreen(dc);
        else
            present(dc, paint.rcPaint);
        EndPaint(window, &paint);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        hitTestHover(GET_X_LPARAM(lParam));
        break;
    }
    case WM_LBUTTONDOWN:
        if (hoverIndex_ > 0) paintItem(hoverIndex_, nullptr, false, true);
        break;
    case WM_LBUTTONUP: handleClick(GET_X_LPARAM(lParam)); break;
    case WM_MOUSELEAVE:
        hoverIndex_ = 0;
        repaintHover(0);
        paintedHoverIndex_ = 0;
        break;
    case WM_SIZE: needsFullRender_ = true; break;
    case WM_DESTROY:
        reset();
        releaseMemoryDc();
        tag_.assign(1, 0);
        break;
    case WM_ERASEBKGND: return 1;
    default: break;
    }
    return callPrevious(window, message, wParam, lParam);
}

// Mouse.

int IconToolbar::itemAt(int x) const {
    const auto at = static_cast<float>(x);
    for (std::size_t i = 0; i < itemRects_.size(); ++i) {
        const ItemRect& r = itemRects_[i];
        if (at - r.x > kEpsilon && at - (r.x + r.width) < -kEpsilon) return static_cast<int>(i + 1);
    }
    return 0;
}

void IconToolbar::hitTestHover(int x) {
    hoverIndex_ = itemAt(x);
    if (hoverIndex_ != paintedHoverIndex_) repaintHover(hoverIndex_);
}

void IconToolbar::repaintHover(int k) {
    if (paintedHoverIndex_ > 0) {
        repaintItem(paintedHoverIndex_);
        if (hoverIndex_ == 0) paintedHoverIndex_ = 0;
    }
    if (k >= 1 && k <= itemCount()) {
        paintItem(hoverIndex_, nullptr, true);
        paintedHoverIndex_ = hoverIndex_;
    }
}

void IconToolbar::handleClick(int x) {
    const int clicked = itemAt(x);
    if (clicked == 0 || clicked > itemCount()) return;
    click(clicked);
}

void IconToolbar::click(int clicked) {
    ToolbarItem& item = items_[static_cast<std::size_t>(clicked - 1)];
    bool wasSelected = false;
    if (selectionMode_) {
        wasSelected = item.selected;
        chosenIndex_ = clicked;
        for (ToolbarItem& other : items_) other.selected = false;
        items_[static_cast<std::size_t>(chosenIndex_ - 1)].selected = true;
        if (clicked != selectedIndex_ && selectedIndex_ > 0) repaintItem(selectedIndex_);
    } else if (item.toggles) {
        item.selected = !item.selected;
    }
    repaintItem(clicked);
    selectedIndex_ = clicked;
    // A click on the item already selected changes nothing to report.
    if (clickCallback_ && !wasSelected)
        callWithArgs(reinterpret_cast<const void*>(clickCallback_), std::array<std::intptr_t, 1>{clicked});
}

// Painting.

void IconToolbar::createThemeBrushes(COLORREF colour) {
    deleteThemeBrushes();
    solidBrush_.create(colorrefToArgb(colour));
    if (!gradientEnabled_) return;
    const auto height = static_cast<float>(barHeight_);
    switch (gradientStyle_) {
    case 0: gradientBrush_.create({0, 0}, {0, height}, white(0), white(80)); break;
    case 1: gradientBrush_.create({0, 0}, {0, height}, white(80), white(0)); break;
    case 2:
        gradientBrush_.create({0, 0}, {static_cast<float>(itemCount() * (itemWidth_ + kGap)), 0}, white(30), white(0));
        break;
    case 3: gradientBrush_.create({0, 0}, {static_cast<float>(barWidth_), 0}, white(150), white(0)); break;
    default: break;
    }
}

void IconToolbar::deleteThemeBrushes() {
    solidBrush_.deleteBrush();
    gradientBrush_.deleteBrush();
}

void IconToolbar::drawBarBackground(Graphics& graphics) {
    if (!transparent_) {
        createThemeBrushes(backgroundColour_);
        graphics.fillRectangle(solidBrush_, 0, 0, static_cast<float>(barWidth_), static_cast<float>(barHeight_));
        if (gradientEnabled_ && gradientBrush_.getNativeHandle()) {
            const int width = gradientStyle_ == 2 ? itemCount() * (itemWidth_ + kGap) : barWidth_;
            graphics.fillRectangle(gradientBrush_, 0, 0, static_cast<float>(width), static_cast<float>(barHeight_));
        }
        deleteThemeBrushes();
    }
    Pen pen;
    pen.create(colorrefToArgb(0, 80), 1, kUnitPixel);
    for (const int k : separators_) {
        const auto x = static_cast<float>(k * itemWidth_ + k * kGap + 2);
        graphics.drawLine(pen, x, 4, x, static_cast<float>(itemHeight_));
    }
    pen.deletePen();
}

void IconToolbar::drawItemBackground(Graphics& graphics, int x, int y, int width, int height) {
    if (transparent_) return;
    createThemeBrushes(backgroundColour_);
    const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
    const auto fw = static_cast<float>(width), fh = static_cast<float>(height);
    graphics.fillRectangle(solidBrush_, fx, fy, fw, fh);
    // The gradient's own coordinates keep it in line with the rest of the
    // bar; laid only over this item, it adds nothing to its neighbours.
    if (gradientEnabled_ && gradientBrush_.getNativeHandle()) graphics.fillRectangle(gradientBrush_, fx, fy, fw, fh);
    deleteThemeBrushes();
}

void IconToolbar::paintItem(int n, Graphics* ready, bool hover, bool pressed) {
    if (n < 1 || n > itemCount()) return;
    const ToolbarItem& item = items_[static_cast<std::size_t>(n - 1)];
    const ItemRect& rect = itemRects_[static_cast<std::size_t>(n - 1)];
    const int x = truncated(rect.x);
    const int w = itemWidth_, h = itemHeight_;
    const auto fx = static_cast<float>(x), fw = static_cast<float>(w), fh = static_cast<float>(h);

    std::optional<Graphics> own;
    if (!ready) {
        if (!memoryDc_) return;  // nothing drawn yet to paint into
        own.emplace();
        own->createFromHdc(memoryDc_);
        drawItemBackground(*own, x, truncated(rect.y), truncated(rect.width), truncated(rect.height));
    }
    Graphics& graphics = ready ? *ready : *own;

    SolidBrush captionBrush;
    captionBrush.create(colorrefToArgb(textColour_));
    FontFamily family;
    if (!family.createFromName(captionFamily_)) family.createGenericSansSerif();
    Font font;
    font.create(family, 12, 0, kUnitPixel);
    StringFormat format;
    format.create();

    GraphicsPath path;
    path.create();
    if (!item.selected && hover) {
        buildItemOutline(path, x + 1, 1, w - 3, (h - 2) / 2, kRadius);
        fillWithGradient(graphics, path, {fx + 1, 1}, {fx + 1, fh / 2}, white(120), white(40));
        path.reset();
        path.addArc(fx + 1, 0.65f * fh, fw - 3, fh - 0.35f * fh, 180, 180);
        PathGradientBrush glow;
        glow.createFromPath(path);
        glow.setCenterPoint({fx + fw / 2, fh});
        glow.setCenterColor(white(150));
        glow.setSurroundColors({white(0)});
        graphics.fillPath(glow, path);
        glow.deleteBrush();
        path.reset();
        addRoundedRect(path, fx, 0, fw - 1, fh - 1, kRadius);
        stroke(graphics, path, colorrefToArgb(0, 60), 0);
        path.reset();
        addRoundedRect(path, fx + 1, 1, fw - 3, fh - 3, kRadius);
        stroke(graphics, path, white(170), kUnitPixel);
    } else if (item.selected || pressed) {
        addRoundedRect(path, fx, 0, fw - 1, fh - 1, kRadius);
        stroke(graphics, path, colorrefToArgb(0, 60), 0);
        path.reset();
        addRoundedRect(path, fx + 1, 1, fw - 3, fh - 3, kRadius);
        stroke(graphics, path, white(80), kUnitPixel);
        path.reset();
        if (pressed) {
            buildItemOutline(path, x + 1, 1, w - 3, h - 2, kRadius);
            fillWithGradient(graphics, path, {fx + 1, 1}, {fx + 1, fh - 2}, white(0), white(100));
        } else {
            buildItemOutline(path, x + 1, 1, w - 3, h / 2, kRadius);
            fillWithGradient(graphics, path, {fx + 1, 1}, {fx + 1, fh / 2}, white(100), white(0));
        }
    }
    path.deletePath();

    Image icon;
    icon.loadFromBytes(item.icon);
    if (item.caption.empty()) {
        const float side = 0.7f * static_cast<float>(std::min(w, h));
        graphics.drawImageRectRect(icon, fx + (fw - side) / 2, (fh - side) / 2, side, side);
    } else if (!item.iconBeside) {
        format.setAlignment(kAlignCentre);
        const float side = (fh - 13) * 0.8f;
        graphics.drawImageRectRect(icon, fx + (fw - side) / 2, 0.05f * fh, side, side);
        graphics.drawString(item.caption, font, captionBrush, {fx, side + 0.05f * fh + 2, fw, fh - side}, &format);
    } else {
        format.setAlignment(kAlignNear);
        const float side = 0.3f * fw;
        graphics.drawImageRectRect(icon, fx + 3, (fh - side) / 2, side, side);
        graphics.drawString(item.caption, font, captionBrush, {fx + side + 5, fh / 2 - 5, fw - side - 7, fh}, &format);
    }
    captionBrush.deleteBrush();
    icon.dispose();
    family.deleteFontFamily();
    font.deleteFont();
    format.deleteStringFormat();

    if (own) {
        // Flushed before the copy, or the window shows the item half drawn.
        own->releaseDc(own->getDc());
        own->deleteGraphics();
        HDC windowDc = GetDC(window_);
        StretchBlt(windowDc, x, truncated(rect.y), truncated(rect.width), truncated(rect.height), memoryDc_, x,
                   truncated(rect.y), truncated(rect.width), truncated(rect.height), SRCCOPY);
        ReleaseDC(window_, windowDc);
    }
}

void IconToolbar::releaseMemoryDc() {
    if (!memoryDc_) return;
    // The bitmap goes with its DC, or every full render leaks one.
    HGDIOBJ bitmap = SelectObject(memoryDc_, memoryDcOldBitmap_);
    DeleteDC(memoryDc_);
    if (bitmap) DeleteObject(bitmap);
    memoryDc_ = nullptr;
    memoryDcOldBitmap_ = nullptr;
}

void IconToolbar::renderOffscreen(HDC paintDc) {
    releaseMemoryDc();
    Bitmap picture;
    picture.createFromScan0(barWidth_, barHeight_);
    HBITMAP bitmap = picture.getHbitmap(0);
    picture.dispose();
    memoryDc_ = CreateCompatibleDC(nullptr);
    memoryDcOldBitmap_ = bitmap ? SelectObject(memoryDc_, bitmap) : nullptr;

    Graphics graphics;
    graphics.createFromHdc(memoryDc_);
    drawBarBackground(graphics);
    for (int i = 1; i <= itemCount(); ++i) paintItem(i, &graphics);
    // Flushed before the copy.
    graphics.deleteGraphics();
    BitBlt(paintDc, 0, 0, barWidth_, barHeight_, memoryDc_, 0, 0, SRCCOPY);
    needsFullRender_ = false;
}

void IconToolbar::present(HDC paintDc, const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    StretchBlt(paintDc, area.left, area.top, width, height, memoryDc_, area.left, area.top, width, height, SRCCOPY);
}

}  // namespace quorvane::toolkit
