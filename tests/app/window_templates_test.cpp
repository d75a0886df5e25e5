// The seven window templates as data: their names, parents and bindings hang
// together, and every caption fits its component in the interface font, laid
// out as the runtime and the controls lay it out.
#include "app/runtime/caption_layout.h"
#include "app/runtime/interface_font.h"
#include "app/windows/templates.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quorvane {
namespace {

using ui::Kind;

struct WindowCase {
    const char* name;
    const ui::WindowTemplate& (*model)();
};

const WindowCase kWindows[] = {
    {"MainWindow", mainWindowTemplate},
    {"RunSummaryDialog", runSummaryDialogTemplate},
    {"ExitConfirmDialog", exitConfirmDialogTemplate},
    {"SplashWindow", splashWindowTemplate},
    {"LoginBrowserWindow", loginBrowserWindowTemplate},
    {"PageRangeDialog", pageRangeDialogTemplate},
    {"AddressInputDialog", addressInputDialogTemplate},
};

int indexOf(const ui::WindowTemplate& window, const std::string& name) {
    for (size_t i = 0; i < window.components.size(); ++i)
        if (window.components[i].name == name) return static_cast<int>(i);
    return -1;
}

TEST(WindowTemplates, ComponentNamesAreUniqueWithinAWindow) {
    for (const WindowCase& w : kWindows) {
        SCOPED_TRACE(w.name);
        EXPECT_EQ(w.model().name, w.name);
        std::set<std::string> seen;
        for (const ui::ComponentTemplate& c : w.model().components) {
            EXPECT_FALSE(c.name.empty());
            EXPECT_TRUE(seen.insert(c.name).second) << c.name << " twice";
        }
    }
}

// The runtime creates components in order and puts one whose parent it does
// not know yet on the window itself.
TEST(WindowTemplates, ParentsAreContainersThatComeBeforeTheirChildren) {
    const std::set<Kind> containers = {Kind::PageControl, Kind::TabControl, Kind::PictureBox, Kind::DrawingPanel,
                                       Kind::Frame};
    for (const WindowCase& w : kWindows) {
        SCOPED_TRACE(w.name);
        const ui::WindowTemplate& window = w.model();
        for (size_t i = 0; i < window.components.size(); ++i) {
            const ui::ComponentTemplate& c = window.components[i];
            if (c.parent.empty()) continue;
            SCOPED_TRACE(c.name);
            const int parent = indexOf(window, c.parent);
            ASSERT_GE(parent, 0) << "no parent " << c.parent;
            EXPECT_LT(parent, static_cast<int>(i)) << c.parent << " comes after its child";
            const ui::ComponentTemplate& holder = window.components[parent];
            EXPECT_TRUE(containers.count(holder.kind)) << c.parent << " cannot hold components";
            if (holder.kind == Kind::PageControl || holder.kind == Kind::TabControl) {
                EXPECT_LT(c.page, static_cast<int>(holder.items.size())) << "no such page of " << c.parent;
            }
        }
    }
}

TEST(WindowTemplates, EveryBindingNamesAComponentOrMenuItemAndEachEventIsBoundOnce) {
    for (const WindowCase& w : kWindows) {
        SCOPED_TRACE(w.name);
        const ui::WindowTemplate& window = w.model();
        std::set<std::string> menuItems;
        for (const ui::MenuTemplate& menu : window.menus)
            for (const std::string& item : menu.items)
                if (item != "-") menuItems.insert(item);
        std::set<std::pair<std::string, ui::Event>> bound;
        for (const ui::Binding& b : window.bindings) {
            SCOPED_TRACE(b.component);
            EXPECT_TRUE(b.handler != nullptr);
            EXPECT_TRUE(bound.emplace(b.component, b.event).second) << "bound twice";
            if (b.event == ui::Event::MenuClicked) {
                EXPECT_TRUE(menuItems.count(b.component)) << "no such menu item";
            } else if (!b.component.empty()) {
                EXPECT_GE(indexOf(window, b.component), 0) << "no such component";
            }
        }
    }
}

// What a component shows in the interface font: its caption, or its items.
std::vector<std::string> textsOf(const ui::ComponentTemplate& c) {
    switch (c.kind) {
    case Kind::Label:
    case Kind::TransparentLabel:
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::RadioButton:
    case Kind::StatusBar:
        return c.caption.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.caption};
    case Kind::Edit:
        // A box of several lines scrolls; one line must show its hint whole.
        return c.caption.empty() || (c.state & ui::kMultiLine) ? std::vector<std::string>{}
                                                                : std::vector<std::string>{c.caption};
    case Kind::ComboBox:
        return c.items;
    default:
        // Tabs and toolbar buttons take the width of their captions; list
        // columns are widened by the user.
        return {};
    }
}

// A memory DC with the interface font selected.
class InterfaceDc {
public:
    InterfaceDc() : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, ui::interfaceFont())) {
        GetTextMetricsW(dc_, &metrics_);
    }
    ~InterfaceDc() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    InterfaceDc(const InterfaceDc&) = delete;
    InterfaceDc& operator=(const InterfaceDc&) = delete;

    HDC handle() const { return dc_; }
    int lineHeight() const { return metrics_.tmHeight; }

    // To the right edge of the ink: a full-width colon or bracket at the end
    // leaves the right part of its cell empty.
    int inkWidth(std::wstring_view line) const {
        if (line.empty()) return 0;
        SIZE size{};
        GetTextExtentPoint32W(dc_, line.data(), static_cast<int>(line.size()), &size);
        ABC last{};
        if (!GetCharABCWidthsW(dc_, line.back(), line.back(), &last)) return size.cx;
        return size.cx - last.abcC;
    }

private:
    HDC dc_;
    HGDIOBJ old_;
    TEXTMETRICW metrics_{};
};

// The room that a component's control leaves for its text.
SIZE roomFor(const ui::ComponentTemplate& c, const InterfaceDc& dc) {
    switch (c.kind) {
    case Kind::Button:
        // Inside the frame: the button insets its text 2 pixels a side; only
        // the frame's outer line may lie under a second line.
        return {c.width - 4, c.height - 2};
    case Kind::CheckBox:
    case Kind::RadioButton: {
        // Right of the 13-pixel mark and a gap of half a digit.
        int digit = 0;
        GetCharWidth32W(dc.handle(), L'0', L'0', &digit);
        return {c.width - 13 - digit / 2, c.height};
    }
    case Kind::Edit:
        // Inside the sunken edge and the margins of the text.
        return {c.width - 8, c.height - 4};
    case Kind::ComboBox:
        // Left of the drop-down button; the control takes its own height.
        return {c.width - GetSystemMetrics(SM_CXVSCROLL) - 6, dc.lineHeight()};
    case Kind::StatusBar:
        // Its first part, inside the part's edge.
        return {150 - 6, c.height};
    default:
        return {c.width, c.height};
    }
}

// The interface font must be what the layouts were drawn for, and have the
// glyphs: measured in a stand-in font without them, no extent means anything.
TEST(WindowTemplates, InterfaceFontIsSimSunAtNinePointsWithEveryCaptionsGlyphs) {
    InterfaceDc dc;
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.handle(), LF_FACESIZE, face);
    EXPECT_EQ(std::wstring(face), gbkToWide("宋体")) << "run in the Wine prefix of tools/wine-run";
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.handle(), &metrics);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 12);

    for (const WindowCase& w : kWindows) {
        SCOPED_TRACE(w.name);
        for (const ui::ComponentTemplate& c : w.model().components) {
            for (const std::string& text : textsOf(c)) {
                std::wstring wide = gbkToWide(text);
                std::erase_if(wide, [](wchar_t ch) { return ch < L' '; });
                std::vector<WORD> glyphs(wide.size());
                GetGlyphIndicesW(dc.handle(), wide.c_str(), static_cast<int>(wide.size()), glyphs.data(),
                                 GGI_MARK_NONEXISTING_GLYPHS);
                for (size_t i = 0; i < wide.size(); ++i)
                    EXPECT_NE(glyphs[i], 0xFFFF) << c.name << ": no glyph for U+" << std::hex << int(wide[i]);
            }
        }
    }
}

TEST(WindowTemplates, EveryCaptionFitsItsComponent) {
    InterfaceDc dc;
    const int pitch = ui::labelLinePitch(dc.handle());
    for (const WindowCase& w : kWindows) {
        SCOPED_TRACE(w.name);
        for (const ui::ComponentTemplate& c : w.model().components) {
            for (const std::string& text : textsOf(c)) {
                SCOPED_TRACE(c.name + " \"" + text + "\"");
                const std::wstring wide = gbkToWide(text);
                const SIZE room = roomFor(c, dc);
                const bool label = c.kind == Kind::Label || c.kind == Kind::TransparentLabel;
                const bool wraps = (label || c.kind == Kind::Button || c.kind == Kind::CheckBox ||
                                    c.kind == Kind::RadioButton) &&
                                   ui::captionWraps(c.height, wide);
                if (label && wraps) {
                    // Drawn by the runtime.
                    const std::vector<std::wstring> lines = ui::labelLines(dc.handle(), wide, room.cx);
                    for (const std::wstring& line : lines) EXPECT_LE(dc.inkWidth(line), room.cx);
                    EXPECT_LE(static_cast<int>(lines.size()) * pitch, room.cy) << lines.size() << " lines";
                } else if (wraps) {
                    // Drawn by the control, which wraps as DrawText does.
                    RECT needed{0, 0, room.cx, 0};
                    DrawTextW(dc.handle(), wide.c_str(), static_cast<int>(wide.size()), &needed,
                              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                    EXPECT_LE(needed.right, room.cx);
                    EXPECT_LE(needed.bottom, room.cy);
                } else {
                    EXPECT_LE(dc.inkWidth(wide), room.cx);
                    EXPECT_LE(dc.lineHeight(), room.cy);
                }
            }
        }
    }
}

}  // namespace
}  // namespace quorvane
