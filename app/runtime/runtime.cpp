#include "app/runtime/runtime.h"

#include "app/runtime/ui_thread.h"
#include "app/runtime/window_registry.h"
#include "text/codepage.h"

#include <commctrl.h>
#include <ole2.h>

namespace quorvane::ui {

// The effect queue's target window (ui_thread.cpp).
void startEffectQueue();

namespace {

int quitCode = 0;

void dispatch(MSG& message) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// The window of this program that new windows and boxes belong to.
HWND activeOwner() {
    HWND active = GetActiveWindow();
    return Window::fromHandle(active) ? active : nullptr;
}

BOOL CALLBACK collectThreadWindow(HWND window, LPARAM list) {
    if (IsWindowEnabled(window) && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

void startRuntime() {
    // Apartment COM with OLE for the browser control, for the process's life.
    OleInitialize(nullptr);
    // Relative paths resolve against the program's folder.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos) SetCurrentDirectoryW(path.substr(0, slash + 1).c_str());
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    startEffectQueue();
}

Window* loadWindow(const WindowTemplate& model, bool modal) {
    HWND owner = activeOwner();
    if (!modal) return loadWindowObject(model, owner, false);

    // Every enabled window of the thread waits while the modal one is open.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), collectThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    Window* window = loadWindowObject(model, owner, true);
    if (!window) return nullptr;
    HWND handle = window->handle();
    for (HWND other : disabled)
        if (other != handle) EnableWindow(other, FALSE);
    MSG message;
    while (IsWindow(handle) && isLive(window)) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : quitCode);
            break;
        }
        dispatch(message);
    }
    for (HWND other : disabled)
        if (IsWindow(other)) EnableWindow(other, TRUE);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    deleteRetiredWindows();
    return nullptr;
}

int runMessageLoop(void (*atEnd)()) {
    MSG message;
    int exitCode = 1;
    for (;;) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got < 0) break;
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            break;
        }
        dispatch(message);
        deleteRetiredWindows();
    }
    if (atEnd) atEnd();
    destroyAllWindows();
    return exitCode;
}

void endProgram(int exitCode) {
    quitCode = exitCode;
    PostQuitMessage(exitCode);
}

int messageBox(std::string_view text, std::string_view title, unsigned style) {
    return MessageBoxW(activeOwner(), gbkToWide(text).c_str(), gbkToWide(title).c_str(), style);
}

void popupMenu(Window& window, std::string_view menuName) {
    HMENU menu = window.menu(menuName);
    if (!menu) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without this the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(window.handle());
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window.handle(), nullptr);
    PostMessageW(window.handle(), WM_NULL, 0, 0);
}

bool setClipboardText(std::string_view text) {
    std::wstring wide = gbkToWide(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!memory) return false;
    void* target = GlobalLock(memory);
    memcpy(target, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!stored) GlobalFree(memory);
    return stored;
}

std::string clipboardText() {
    if (!OpenClipboard(nullptr)) return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = wideToGbk(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace quorvane::ui
