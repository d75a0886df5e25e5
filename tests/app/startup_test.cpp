// The program as a seller starts it: the splash while it gets ready, the
// skin engine's start-up calls and the tint that the colour
// sliders give it, the process held on the first processor.
#include "tests/support/gui_driver.h"
#include "toolkit/skin_dll/skin_spy.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace quorvane::test {
namespace {

constexpr const char* kMainTitle = "Quorvane V3.60";

// The splash has no title: it is the program's shown top-level window of
// the splash's size.
struct SplashSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findSplash(HWND window, LPARAM state) {
    auto& search = *reinterpret_cast<SplashSearch*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    RECT rect{};
    GetWindowRect(window, &rect);
    if (owner == search.processId && IsWindowVisible(window) && rect.right - rect.left == 460 &&
        rect.bottom - rect.top == 334) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND shownSplash(DWORD processId) {
    SplashSearch search{processId, nullptr};
    EnumWindows(findSplash, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// What the screen shows of the splash: its picture drawn, and how far its
// progress bar (16, 304, 427 x 24 inside it) is filled.
struct SplashSeen {
    bool pictureDrawn = false;
    double progress = 0;  // 0..1
};

std::optional<SplashSeen> readSplashFromScreen(HWND splash) {
    RECT rect{};
    if (!GetWindowRect(splash, &rect)) return std::nullopt;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto pixel = [&](int x, int y) {
        const auto value = static_cast<const DWORD*>(bits)[y * width + x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    };
    SplashSeen seen;
    // The picture is blue; an unpainted window is the dialog grey.
    const COLORREF middle = pixel(230, 100);
    seen.pictureDrawn = GetBValue(middle) > GetRValue(middle) + 60;
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
    int last = -1;
    for (int x = 16; x < 16 + 427; ++x)
        if (pixel(x, 316) == fill) last = x;
    seen.progress = last < 0 ? 0 : (last - 16 + 1) / 427.0;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return seen;
}

TEST(StartUp, TheSplashShowsItsProgressAndIsGoneWhenTheMainWindowShows) {
    GuiProgram program(QUORVANE_EXE);
    ASSERT_TRUE(program.started());
    std::vector<SplashSeen> seen;
    HWND main = nullptr;
    bool splashWithMain = false;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000) {
        main = program.findWindow(kMainTitle);
        const bool mainShown = main && IsWindowVisible(main);
        HWND splash = shownSplash(program.processId());
        if (mainShown) {
            splashWithMain = splash != nullptr;
            break;
        }
        if (splash)
            if (const auto now = readSplashFromScreen(splash)) seen.push_back(*now);
        Sleep(5);
    }
    ASSERT_TRUE(main && IsWindowVisible(main)) << "no main window";
    // What a seller waits, the 300 ms pause included; the machine decides most of it.
    RecordProperty("millisecondsToMainWindow", static_cast<int>(GetTickCount() - start));
    EXPECT_FALSE(splashWithMain) << "the splash goes before the main window shows";
    ASSERT_FALSE(seen.empty()) << "no splash was seen";
    bool drawn = false, at85 = false, at100After85 = false;
    for (const SplashSeen& s : seen) {
        drawn = drawn || s.pictureDrawn;
        if (s.progress > 0.78 && s.progress < 0.9) at85 = true;
        if (at85 && s.progress > 0.97) at100After85 = true;
    }
    EXPECT_TRUE(drawn) << "the splash picture was never on the screen";
    EXPECT_TRUE(at85) << "progress 85 was never shown";
    EXPECT_TRUE(at100After85) << "progress 100 did not follow 85";
}

// The last step of start-up, after the main window shows.
TEST(StartUp, PinsTheProcessToTheFirstProcessor) {
    // Set, though empty: the driver leaves the program its own mask.
    SetEnvironmentVariableA("QUORVANE_PROCESSOR_MASK", "");
    GuiProgram program(QUORVANE_EXE);
    ASSERT_TRUE(program.started());
    ASSERT_NE(program.waitForWindow(kMainTitle), nullptr);
    DWORD_PTR processMask = 0, systemMask = 0;
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(GetProcessAffinityMask(program.process(), &processMask, &systemMask));
        if (processMask == 1) break;
        Sleep(25);
    }
    EXPECT_EQ(processMask, 1u);
}

// The program with the spy build of our skin engine in its place.
class SkinnedProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.started());
        main = program.waitForWindow(kMainTitle);
        ASSERT_NE(main, nullptr);
        char name[skin::kSpyMappingNameSize];
        skin::spyMappingName(program.processId(), name);
        mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
        ASSERT_NE(mapping, nullptr) << "the spy engine was not loaded";
        log = static_cast<const skin::SpyLog*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(skin::SpyLog)));
        ASSERT_NE(log, nullptr);
    }
    void TearDown() override {
        if (log) UnmapViewOfFile(log);
        if (mapping) CloseHandle(mapping);
    }

    struct Call {
        std::string exportName;
        std::vector<std::intptr_t> arguments;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls() const {
        std::vector<Call> seen;
        for (int i = 0; i < log->callCount && i < skin::kSpyCallCapacity; ++i) {
            const skin::SpyCall& call = log->calls[i];
            seen.push_back({skin::kSpyExportNames[call.exportNumber],
                            {call.arguments, call.arguments + call.argumentCount}});
        }
        return seen;
    }
    // Moves the slider and lets the button go over it, as the mouse would.
    void moveSlider(const char* name, int position) {
        HWND slider = findComponent(main, name);
        ASSERT_NE(slider, nullptr);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        PostMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    bool waitForCalls(int count) const {
        for (int i = 0; i < 200 && log->callCount < count; ++i) Sleep(25);
        return log->callCount >= count;
    }

    GuiProgram program{QUORVANE_SKIN_SPY_EXE};
    HWND main = nullptr;
    HANDLE mapping = nullptr;
    const skin::SpyLog* log = nullptr;
};

TEST_F(SkinnedProgram, StartUpAttachesTheSkinAndTheSlidersTintIt) {
    HWND header = findComponent(main, "透明标签3");
    ASSERT_NE(header, nullptr);
    const std::vector<Call> startUp = calls();
    ASSERT_EQ(startUp.size(), 4u);
    EXPECT_EQ(startUp[0].exportName, "SkinH_AttachRes");
    ASSERT_EQ(startUp[0].arguments.size(), 6u);
    EXPECT_NE(startUp[0].arguments[0], 0) << "the skin's bytes";
    EXPECT_EQ(std::vector<std::intptr_t>(startUp[0].arguments.begin() + 1, startUp[0].arguments.end()),
              (std::vector<std::intptr_t>{13987, 0, 0, 0, 0}));
    const auto handle = [](HWND window) { return reinterpret_cast<std::intptr_t>(window); };
    EXPECT_EQ(startUp[1], (Call{"SkinH_SetTitleMenuBar", {handle(main), 1, 22, 0, 15}}));
    EXPECT_EQ(startUp[2], (Call{"SkinH_AdjustHSV", {180, -14, 10}}));
    EXPECT_EQ(startUp[3], (Call{"SkinH_DetachEx", {handle(header)}}));

    // The start-up tint is not kept: the first release applies 0 for the
    // sliders not moved yet.
    const COLORREF startUpFrame = log->frameColour;
    moveSlider("滑块条2", 150);
    ASSERT_TRUE(waitForCalls(5));
    EXPECT_EQ(calls()[4], (Call{"SkinH_AdjustHSV", {0, 49, 0}}));
    moveSlider("滑块条1", 0);
    moveSlider("滑块条3", 201);
    ASSERT_TRUE(waitForCalls(7));
    EXPECT_EQ(calls()[5], (Call{"SkinH_AdjustHSV", {-181, 49, 0}}));
    EXPECT_EQ(calls()[6], (Call{"SkinH_AdjustHSV", {-181, 49, 100}}));
    EXPECT_NE(log->frameColour, startUpFrame) << "the tint reaches the skin's colours";
}

}  // namespace
}  // namespace quorvane::test
