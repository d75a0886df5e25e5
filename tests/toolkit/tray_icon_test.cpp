// The tray icon module on a window of the test: what it hands the shell
// (through the test notifier), the callback message reaching the callback,
// the re-created taskbar, the tip cut at a character boundary, icons from
// icon file bytes, and removal with the window.
#include "toolkit/icon_file.h"
#include "toolkit/tray_icon.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace quorvane::toolkit {
namespace {

using Bytes = std::vector<unsigned char>;

struct Notified {
    DWORD message;
    NOTIFYICONDATAA data;
};
std::vector<Notified> notified;
BOOL notifierResult = TRUE;

BOOL WINAPI recordingNotifier(DWORD message, NOTIFYICONDATAA* data) {
    notified.push_back({message, *data});
    return notifierResult;
}

std::vector<std::intptr_t> callbackMessages;
void WINAPI recordingCallback(std::intptr_t mouseMessage) { callbackMessages.push_back(mouseMessage); }

std::vector<UINT> previousMessages;
LRESULT CALLBACK previousProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage || message == WM_DESTROY) previousMessages.push_back(message);
    return DefWindowProcW(window, message, wParam, lParam);
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// An icon file of one 16x16 32-bit image of the given colour.
Bytes icoFile(std::uint32_t colour) {
    constexpr std::size_t kImageAt = 6 + 16;
    constexpr std::size_t kImageSize = 40 + 16 * 16 * 4 + 16 * 4;
    Bytes file(kImageAt + kImageSize, 0);
    file[2] = 1;  // type: icon
    file[4] = 1;  // one image
    file[6] = 16;
    file[7] = 16;
    file[10] = 1;   // planes
    file[12] = 32;  // bits per pixel
    put32(file, 14, kImageSize);
    put32(file, 18, kImageAt);
    put32(file, kImageAt, 40);
    put32(file, kImageAt + 4, 16);
    put32(file, kImageAt + 8, 32);  // colour and mask rows
    file[kImageAt + 12] = 1;
    file[kImageAt + 14] = 32;
    for (std::size_t pixel = 0; pixel < 16 * 16; ++pixel) put32(file, kImageAt + 40 + pixel * 4, colour);
    return file;
}

bool isIcon(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        notified.clear();
        callbackMessages.clear();
        previousMessages.clear();
        notifierResult = TRUE;
        setTrayNotifier(recordingNotifier);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = previousProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuorvaneTrayTest";
        RegisterClassW(&windowClass);
        window = CreateWindowW(L"QuorvaneTrayTest", L"tray", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        windowIcon = LoadIconA(nullptr, IDI_APPLICATION);
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon));
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        setTrayNotifier(nullptr);
    }

    WNDPROC procedure() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

    HWND window = nullptr;
    HICON windowIcon = nullptr;
};

TEST_F(TrayIconTest, InstallAddsTheWindowsIconWithItsTip) {
    ASSERT_TRUE(installTrayIcon(window, {}, "Quorvane V3.60", recordingCallback));
    EXPECT_TRUE(trayIconAdded());
    EXPECT_EQ(procedure(), &trayWindowProcEntry);
    ASSERT_EQ(notified.size(), 1u);
    const NOTIFYICONDATAA& data = notified[0].data;
    EXPECT_EQ(notified[0].message, static_cast<DWORD>(NIM_ADD));
#if defined(__i386__)
    EXPECT_EQ(data.cbSize, 488u);
#endif
    EXPECT_EQ(data.cbSize, static_cast<DWORD>(offsetof(NOTIFYICONDATAA, guidItem)));
    EXPECT_EQ(data.hWnd, window);
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, 123456u);
    EXPECT_EQ(data.hIcon, windowIcon);
    EXPECT_STREQ(data.szTip, "Quorvane V3.60");
    EXPECT_EQ(data.dwState, 0u);
    EXPECT_EQ(data.szInfo[0], '\0');
}

TEST_F(TrayIconTest, RefusedIconIsReported) {
    notifierResult = FALSE;
    EXPECT_FALSE(installTrayIcon(window, {}, "tip", recordingCallback));
    EXPECT_FALSE(trayIconAdded());
    // The shell may come back later and take it.
    notifierResult = TRUE;
    SendMessageW(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(trayIconAdded());
}

TEST_F(TrayIconTest, TipIsCutAtACharacterBoundary) {
    const std::string han = "中";  // two bytes in GBK
    ASSERT_EQ(han.size(), 2u);
    struct Case {
        std::string tip;
        std::string expected;
        const char* why;
    };
    const std::vector<Case> cases = {
        {std::string(127, 'a'), std::string(127, 'a'), "127 bytes fit whole"},
        {std::string(128, 'a'), std::string(127, 'a'), "longer tips keep their first 127 bytes"},
        {std::string(125, 'a') + han, std::string(125, 'a') + han, "a character ending at byte 127 stays"},
        {std::string(126, 'a') + han, std::string(126, 'a'), "a character across byte 127 goes whole"},
        {[&] {
             std::string text;
             for (int i = 0; i < 64; ++i) text += han;
             return text;
         }(),
         [&] {
             std::string text;
             for (int i = 0; i < 63; ++i) text += han;
             return text;
         }(),
         "only double-byte characters"},
        {"", "", "empty"},
    };
    ASSERT_TRUE(installTrayIcon(window, {}, "first", recordingCallback));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        notified.clear();
        setTrayTip(c.tip);
        ASSERT_EQ(notified.size(), 1u);
        EXPECT_EQ(notified[0].message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(std::string(notified[0].data.szTip), c.expected);
    }
}

TEST_F(TrayIconTest, CallbackMessageReachesTheCallback) {
    ASSERT_TRUE(installTrayIcon(window, {}, "tip", recordingCallback));
    EXPECT_EQ(SendMessageW(window, kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(SendMessageW(window, kTrayCallbackMessage, 1, WM_RBUTTONDOWN), 0);
    EXPECT_EQ(callbackMessages, (std::vector<std::intptr_t>{WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}));
    EXPECT_TRUE(previousMessages.empty()) << "the previous procedure does not see it";
}

TEST_F(TrayIconTest, WithoutCallbackTheMessageGoesToThePreviousProcedure) {
    ASSERT_TRUE(installTrayIcon(window, {}, "tip"));
    SendMessageW(window, kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(previousMessages, (std::vector<UINT>{kTrayCallbackMessage}));
}

TEST_F(TrayIconTest, SecondInstallChangesOnlyTheTip) {
    ASSERT_TRUE(installTrayIcon(window, {}, "first", recordingCallback));
    notified.clear();
    EXPECT_TRUE(installTrayIcon(window, {}, "second", nullptr));
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notified[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_STREQ(notified[0].data.szTip, "second");
    EXPECT_EQ(notified[0].data.hIcon, windowIcon);
    SendMessageW(window, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
    EXPECT_EQ(callbackMessages.size(), 1u) << "the callback stays";
}

TEST_F(TrayIconTest, ReCreatedTaskbarGetsTheSameIconAgain) {
    ASSERT_TRUE(installTrayIcon(window, {}, "tip", recordingCallback));
    const NOTIFYICONDATAA added = notified[0].data;
    notified.clear();
    SendMessageW(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notified[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(std::memcmp(&notified[0].data, &added, sizeof(added)), 0);
}

TEST_F(TrayIconTest, IconFromIconBytesReplacesAndFreesTheFormerOne) {
    const Bytes red = icoFile(0xFFFF0000), blue = icoFile(0xFF0000FF);
    ASSERT_TRUE(installTrayIcon(window, red, "tip", recordingCallback));
    const HICON first = notified.back().data.hIcon;
    EXPECT_NE(first, windowIcon);
    EXPECT_TRUE(isIcon(first));

    updateTrayIcon(blue);
    ASSERT_EQ(notified.size(), 2u);
    EXPECT_EQ(notified[1].message, static_cast<DWORD>(NIM_MODIFY));
    const HICON second = notified[1].data.hIcon;
    EXPECT_TRUE(isIcon(second));
    EXPECT_FALSE(isIcon(first)) << "the replaced icon is destroyed";

    updateTrayIcon(Bytes(10, 0));
    EXPECT_EQ(notified.size(), 2u) << "unusable bytes change nothing";

    DestroyWindow(window);
    EXPECT_FALSE(isIcon(second)) << "the icon made here goes with the tray icon";
}

TEST_F(TrayIconTest, DestroyingTheWindowRemovesIconAndSubclass) {
    ASSERT_TRUE(installTrayIcon(window, {}, "tip", recordingCallback));
    DestroyWindow(window);
    ASSERT_EQ(notified.size(), 2u);
    EXPECT_EQ(notified[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(notified[1].data.uID, 1u);
    EXPECT_EQ(previousMessages, (std::vector<UINT>{WM_DESTROY})) << "the window's own procedure still ends it";
    EXPECT_FALSE(trayIconAdded());
    // Not installed any more: the next install is a first one again.
    SetUp();
    ASSERT_TRUE(installTrayIcon(window, {}, "again"));
    EXPECT_EQ(notified.back().message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayIconTest, RemoveGivesTheProcedureBack) {
    ASSERT_TRUE(installTrayIcon(window, {}, "tip"));
    removeTrayIcon();
    EXPECT_EQ(procedure(), &previousProcedure);
    EXPECT_EQ(notified.back().message, static_cast<DWORD>(NIM_DELETE));
}

TEST(IconFromIcoBytes, EntryAndImageMustLieInsideTheBytes) {
    const Bytes good = icoFile(0xFF00FF00);
    struct Case {
        Bytes bytes;
        int index;
        bool icon;
        const char* why;
    };
    Bytes pastTheEnd = good;
    put32(pastTheEnd, 18, static_cast<std::uint32_t>(good.size()));
    Bytes tooLong = good;
    put32(tooLong, 14, static_cast<std::uint32_t>(good.size()));
    Bytes wrapping = good;
    put32(wrapping, 18, 0xFFFFFFF0);
    const std::vector<Case> cases = {
        {good, 0, true, "the one entry"},
        {good, 1, false, "no second entry"},
        {good, -1, false, "no entry before the first"},
        {Bytes(good.begin(), good.begin() + 21), 0, false, "directory cut short"},
        {Bytes(good.begin(), good.end() - 1), 0, false, "image cut short"},
        {pastTheEnd, 0, false, "image offset past the end"},
        {tooLong, 0, false, "image size past the end"},
        {wrapping, 0, false, "offset and size wrap around"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        int width = -1, height = -1;
        const HICON icon = iconFromIcoBytes(c.bytes, c.index, &width, &height);
        EXPECT_EQ(icon != nullptr, c.icon);
        if (icon) {
            EXPECT_EQ(width, 16);
            EXPECT_EQ(height, 16);
            DestroyIcon(icon);
        }
    }
}

TEST(TrayIconShell, ShellTakesTheRecord) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvaneTrayShellTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"QuorvaneTrayShellTest", L"tray", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    const Bytes icon = icoFile(0xFF123456);
    EXPECT_TRUE(installTrayIcon(window, icon, "Quorvane 托盘"));
    DestroyWindow(window);
}

}  // namespace
}  // namespace quorvane::toolkit
