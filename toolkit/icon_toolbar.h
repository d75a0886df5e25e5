#pragma once
// A bar of icon buttons with captions drawn with GDI+ over an existing
// child window, which it subclasses. The bar is drawn once into an
// off-screen picture; hover, press and click repaint one item there and copy
// it to the window. A click reports the item's number (from 1) to one
// callback. Interface thread only.
#include "toolkit/gdiplus/brush.h"
#include "toolkit/method_table.h"
#include "toolkit/tooltip_window.h"
#include "toolkit/window_thunk.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::toolkit {

namespace gdiplus {
class Graphics;
class GraphicsPath;
}  // namespace gdiplus

struct ToolbarItem {
    std::vector<unsigned char> icon;  // a picture file GDI+ decodes (PNG here)
    std::string caption;              // GBK; empty for an icon alone
    bool iconBeside = false;          // icon left of the caption, else above it
    std::string tooltip;              // GBK; empty for none
    bool toggles = false;             // outside selection mode a click flips `selected`
    bool selected = false;
};

// Takes the clicked item's number and removes it from the stack itself.
using ToolbarCallback = void(WINAPI*)(std::intptr_t itemNumber);

struct ToolbarOptions {
    COLORREF textColour = 0;
    COLORREF backgroundColour = 0;
    std::vector<unsigned char> tag;  // kept, never drawn
    bool gradientEnabled = true;
    int gradientStyle = 0;  // 0 to 3; others draw no gradient
    // Exactly one item is selected at a time, like a tab strip.
    bool selectionMode = false;
    // The bar paints no background of its own.
    bool transparent = false;
};

// Reached by its window through a method thunk, hence the method table.
class IconToolbar : public MethodTableObject {
public:
    IconToolbar();
    ~IconToolbar();
    IconToolbar(const IconToolbar&) = delete;
    IconToolbar& operator=(const IconToolbar&) = delete;

    // Takes over the window (after letting go of one attached before); the
    // bar is as wide as the parent's client area and as high as the window's.
    // False when the window refuses the new procedure.
    bool attach(HWND window, int itemWidth, int itemHeight, const ToolbarOptions& options = {});
    void setClickCallback(ToolbarCallback callback) { clickCallback_ = callback; }
    // Adds a copy; nothing is repainted. In selection mode the first item
    // starts selected.
    void addItem(const ToolbarItem& item);
    // A line in the gap after that many items.
    void addSeparator(int itemCount) { separators_.push_back(itemCount); }
    // The next paint draws the whole bar again.
    void redraw();
    // Back to no window and no items; the window procedure stays.
    void reset();

    // What a click on item k does, without the mouse; false for a number
    // outside the items and, outside selection mode, for an item that does
    // not toggle.
    bool selectItem(int k, bool state);
    bool isItemSelected(int k) const;
    void move(int left, int top, int width = 0, int height = 0);
    void repaintParent();
    // The font family of the captions; one that is not installed gives way
    // to the generic sans-serif family.
    void setCaptionFamily(std::string family) { captionFamily_ = std::move(family); }

    HWND window() const { return window_; }
    const std::vector<unsigned char>& tag() const { return tag_; }
    int hoverIndex() const { return hoverIndex_; }
    int selectedIndex() const { return selectedIndex_; }
    int itemCount() const { return static_cast<int>(items_.size()); }
    // The off-screen picture of the bar; none before the first paint.
    HDC memoryDc() const { return memoryDc_; }
    HWND toolTips() const { return toolTips_.handle(); }

private:
    struct ItemRect {
        float x, y, width, height;
    };

    static const MethodAddress kMethods[];
    static LRESULT WINAPI windowProcEntry(ObjectReference self, HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam);
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void paintItem(int n, gdiplus::Graphics* graphics, bool hover = false, bool pressed = false);
    void drawBarBackground(gdiplus::Graphics& graphics);
    void drawItemBackground(gdiplus::Graphics& graphics, int x, int y, int width, int height);
    void createThemeBrushes(COLORREF colour);
    void deleteThemeBrushes();
    void hitTestHover(int x);
    void handleClick(int x);
    void repaintHover(int k);
    void repaintItem(int k) { paintItem(k, nullptr); }
    void present(HDC paintDc, const RECT& area);
    void renderOffscreen(HDC paintDc);
    void releaseMemoryDc();
    void clearItems();
    int itemAt(int x) const;
    void click(int clicked);

    MethodTableObject* self_ = this;  // what the thunk's object reference points at
    HWND window_ = nullptr;
    WindowProcedureThunk thunk_;
    int itemWidth_ = 0, itemHeight_ = 0;
    int barWidth_ = 0, barHeight_ = 0;
    COLORREF textColour_ = 0, backgroundColour_ = 0;
    std::vector<unsigned char> tag_;
    std::vector<ToolbarItem> items_;
    std::vector<int> separators_;
    int hoverIndex_ = 0;
    std::vector<ItemRect> itemRects_;
    int paintedHoverIndex_ = 0;
    ToolbarCallback clickCallback_ = nullptr;
    bool gradientEnabled_ = false;
    int gradientStyle_ = 0;
    int left_ = 0, top_ = 0;
    bool needsFullRender_ = true;
    bool transparent_ = false;
    bool selectionMode_ = false;
    int chosenIndex_ = 0;
    gdiplus::SolidBrush solidBrush_;
    gdiplus::LinearGradientBrush gradientBrush_;
    int selectedIndex_ = 0;
    HDC memoryDc_ = nullptr;
    HGDIOBJ memoryDcOldBitmap_ = nullptr;
    ToolTipWindow toolTips_;
    std::string captionFamily_;
};

}  // namespace quorvane::toolkit
