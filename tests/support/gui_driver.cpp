#include "tests/support/gui_driver.h"

#include "text/codepage.h"

#include <commctrl.h>

#include <algorithm>

namespace quorvane::test {
namespace {

constexpr UINT kSendTimeout = 5000;

void pause() { Sleep(50); }

template <class Test>
bool waitUntil(int milliseconds, Test test) {
    for (int waited = 0;; waited += 50) {
        if (test()) return true;
        if (waited >= milliseconds) return false;
        pause();
    }
}

LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeout, &result);
    return static_cast<LRESULT>(result);
}

std::wstring className(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectProcessWindow(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<ProcessWindows*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId) found->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> topLevelWindows(DWORD processId) {
    ProcessWindows found{processId, {}};
    EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

BOOL CALLBACK collectChild(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> children(HWND window) {
    std::vector<HWND> list;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&list));
    return list;
}

std::string componentName(HWND control) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(control, L"QuorvaneName")));
    if (!atom) return {};
    wchar_t name[256] = {};
    UINT length = GlobalGetAtomNameW(atom, name, 256);
    return wideToGbk(std::wstring_view(name, length));
}

bool isMessageBoxOrDialog(HWND window) { return className(window) == L"#32770" && IsWindowVisible(window); }

// An edit box of a file dialog where the file name is typed.
HWND fileNameBox(HWND dialog) {
    // Explorer style: the combo box cmb13 with an edit inside; old style: edt1.
    if (HWND combo = GetDlgItem(dialog, 0x47C)) {
        if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
        if (HWND inner = FindWindowExW(combo, nullptr, L"ComboBox", nullptr))
            if (HWND edit = FindWindowExW(inner, nullptr, L"Edit", nullptr)) return edit;
        return combo;
    }
    return GetDlgItem(dialog, 0x480);
}

bool isFileDialog(HWND window) { return isMessageBoxOrDialog(window) && fileNameBox(window) != nullptr; }

// Memory inside the program that owns a control, for messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND control, size_t size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(control, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool write(size_t offset, const void* data, size_t size) const {
        return WriteProcessMemory(process_, at(offset), data, size, nullptr);
    }
    bool read(size_t offset, void* data, size_t size) const {
        return ReadProcessMemory(process_, at(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

constexpr size_t kTextUnits = 8192;

std::string remoteItemText(HWND listView, const RemoteBuffer& buffer, UINT message, int index, int subItem) {
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = reinterpret_cast<LPWSTR>(buffer.at(sizeof(LVITEMW)));
    item.cchTextMax = static_cast<int>(kTextUnits);
    buffer.write(0, &item, sizeof item);
    auto length = static_cast<size_t>(sendTo(listView, message, index, reinterpret_cast<LPARAM>(buffer.at(0))));
    std::wstring text(std::min(length, kTextUnits - 1), L'\0');
    buffer.read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
    return wideToGbk(text);
}

void postKey(HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// One processor of the machine's, taken in turn from a place that differs
// between test programs.
std::string processorForNextProgram() {
    static int next = static_cast<int>(GetCurrentProcessId() / 4);
    DWORD_PTR processMask = 0, systemMask = 0;
    GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask);
    std::vector<int> processors;
    for (int bit = 0; bit < static_cast<int>(sizeof(DWORD_PTR) * 8); ++bit)
        if (systemMask & (DWORD_PTR{1} << bit)) processors.push_back(bit);
    if (processors.empty()) return "1";
    const int bit = processors[static_cast<std::size_t>(next++) % processors.size()];
    return std::to_string(DWORD_PTR{1} << bit);
}

}  // namespace

// ---- the program ------------------------------------------------------------

GuiProgram::GuiProgram(const std::string& program, const std::string& workingDirectory,
                       const std::string& arguments) {
    std::wstring commandLine = L"\"" + gbkToWide(program) + L"\"";
    if (!arguments.empty()) commandLine += L" " + gbkToWide(arguments);
    std::wstring directory = gbkToWide(workingDirectory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // The program pins itself to one processor; the suite's programs each
    // get one of their own, unless the test chose the mask itself.
    SetLastError(0);
    const bool chooseProcessor = GetEnvironmentVariableA("QUORVANE_PROCESSOR_MASK", nullptr, 0) == 0 &&
                                 GetLastError() == ERROR_ENVVAR_NOT_FOUND;
    if (chooseProcessor) SetEnvironmentVariableA("QUORVANE_PROCESSOR_MASK", processorForNextProgram().c_str());
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        directory.empty() ? nullptr : directory.c_str(), &startup, &info);
    if (chooseProcessor) SetEnvironmentVariableA("QUORVANE_PROCESSOR_MASK", nullptr);
    if (!created) return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
}

GuiProgram::~GuiProgram() {
    kill();
    if (process_) CloseHandle(process_);
}

std::optional<DWORD> GuiProgram::waitForExit(int milliseconds) const {
    if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void GuiProgram::kill() {
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 255);
        WaitForSingleObject(process_, 5000);
    }
}

std::vector<HWND> GuiProgram::findWindows(std::string_view title) const {
    const std::wstring wanted = gbkToWide(title);
    std::vector<HWND> found;
    for (HWND window : topLevelWindows(processId_)) {
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        if (wanted == text && className(window) != L"QuorvaneEffectQueue") found.push_back(window);
    }
    return found;
}

HWND GuiProgram::findWindow(std::string_view title) const {
    const std::vector<HWND> found = findWindows(title);
    return found.empty() ? nullptr : found.front();
}

HWND GuiProgram::waitForWindow(std::string_view title, int milliseconds) const {
    HWND found = nullptr;
    waitUntil(milliseconds, [&] {
        found = findWindow(title);
        return found && IsWindowVisible(found);
    });
    return found && IsWindowVisible(found) ? found : nullptr;
}

bool GuiProgram::waitForWindowGone(std::string_view title, int milliseconds) const {
    return waitUntil(milliseconds, [&] { return findWindow(title) == nullptr; });
}

HWND GuiProgram::waitForDialog(bool (*accept)(HWND), int milliseconds) const {
    HWND found = nullptr;
    waitUntil(milliseconds, [&] {
        for (HWND window : topLevelWindows(processId_))
            if (accept(window)) return (found = window) != nullptr;
        return false;
    });
    return found;
}

std::optional<GuiProgram::MessageBoxSeen> GuiProgram::waitForMessageBox(std::string_view title,
                                                                        int milliseconds) const {
    HWND box = nullptr;
    waitUntil(milliseconds, [&] {
        box = findWindow(title);
        return box && isMessageBoxOrDialog(box);
    });
    if (!box || !isMessageBoxOrDialog(box)) return std::nullopt;
    // The message is the longest static text of the box.
    MessageBoxSeen seen{box, {}};
    for (HWND child : children(box)) {
        if (className(child) != L"Static") continue;
        std::string text = textOf(child);
        if (text.size() > seen.text.size()) seen.text = text;
    }
    return seen;
}

bool GuiProgram::answerFileDialog(std::string_view path, int milliseconds) const {
    HWND dialog = waitForDialog(isFileDialog, milliseconds);
    if (!dialog) return false;
    // Typed as a user would, with backslashes.
    std::string typed(path);
    std::replace(typed.begin(), typed.end(), '/', '\\');
    setText(fileNameBox(dialog), typed);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return waitUntil(milliseconds, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

bool GuiProgram::cancelFileDialog(int milliseconds) const {
    HWND dialog = waitForDialog(isFileDialog, milliseconds);
    if (!dialog) return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    return waitUntil(milliseconds, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

bool GuiProgram::choosePopupMenuItem(int index, int milliseconds) const {
    HWND menu = waitForDialog([](HWND w) { return className(w) == L"#32768" && IsWindowVisible(w); }, milliseconds);
    if (!menu) return false;
    // No item is highlighted when a pop-up menu opens; the first Down picks item 0.
    for (int i = 0; i <= index; ++i) postKey(menu, VK_DOWN);
    postKey(menu, VK_RETURN);
    if (!waitUntil(milliseconds, [&] { return !IsWindow(menu) || !IsWindowVisible(menu); })) return false;
    // The menu's loop may still be ending behind its hidden window, and it
    // would swallow the next click: wait until the program waits for input.
    WaitForInputIdle(process_, static_cast<DWORD>(milliseconds));
    return true;
}

// ---- controls -----------------------------------------------------------------

HWND findComponent(HWND window, std::string_view name) {
    for (HWND child : children(window))
        if (componentName(child) == name) return child;
    return nullptr;
}

HWND findByCaption(HWND window, std::string_view caption, std::wstring_view wantedClass) {
    for (HWND child : children(window)) {
        if (!wantedClass.empty() && className(child) != wantedClass) continue;
        if (textOf(child) == caption) return child;
    }
    return nullptr;
}

void pressButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool pressButton(HWND window, std::string_view caption) {
    HWND button = findByCaption(window, caption, L"Button");
    if (!button) return false;
    pressButton(button);
    return true;
}

void answerMessageBox(HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    if (button) pressButton(button);
    else PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
}

std::string textOf(HWND control) {
    auto length = static_cast<size_t>(sendTo(control, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    length = static_cast<size_t>(sendTo(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(length, text.size() - 1));
    return wideToGbk(text);
}

void setText(HWND control, std::string_view text) {
    std::wstring wide = gbkToWide(text);
    sendTo(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

bool isShown(HWND control) { return IsWindowVisible(control) != FALSE; }
bool isEnabled(HWND control) { return IsWindowEnabled(control) != FALSE; }
bool isChecked(HWND button) { return sendTo(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
int tabCount(HWND tabControl) { return static_cast<int>(sendTo(tabControl, TCM_GETITEMCOUNT, 0, 0)); }
int comboSelection(HWND comboBox) { return static_cast<int>(sendTo(comboBox, CB_GETCURSEL, 0, 0)); }

void chooseMenuBarItem(HWND window, int index) {
    // The keyboard way into the menu bar: its first item is highlighted.
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    for (int i = 0; i < index; ++i) postKey(window, VK_RIGHT);
    postKey(window, VK_RETURN);
}

void rightClick(HWND control, POINT at) {
    PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(control, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void leftClick(HWND control, POINT at) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void doubleClick(HWND control, POINT at) {
    leftClick(control, at);
    PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void typeText(HWND control, std::string_view text) {
    const std::wstring wide = gbkToWide(text);
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\n' && i > 0 && wide[i - 1] == L'\r') continue;
        PostMessageW(control, WM_CHAR, wide[i], 1);
    }
}

std::pair<int, int> editSelection(HWND edit) {
    const auto packed = static_cast<DWORD>(sendTo(edit, EM_GETSEL, 0, 0));
    return {LOWORD(packed), HIWORD(packed)};
}

namespace {

GUITHREADINFO threadInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

}  // namespace

HWND focusOf(HWND window) { return threadInfoOf(window).hwndFocus; }
HWND captureOf(HWND window) { return threadInfoOf(window).hwndCapture; }

// ---- list views -----------------------------------------------------------------

std::vector<std::string> listColumns(HWND listView) {
    std::vector<std::string> titles;
    RemoteBuffer buffer(listView, sizeof(LVCOLUMNW) + kTextUnits * sizeof(wchar_t));
    if (!buffer) return titles;
    for (int c = 0;; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = reinterpret_cast<LPWSTR>(buffer.at(sizeof(LVCOLUMNW)));
        column.cchTextMax = static_cast<int>(kTextUnits);
        buffer.write(0, &column, sizeof column);
        std::wstring empty(1, L'\0');
        buffer.write(sizeof(LVCOLUMNW), empty.data(), sizeof(wchar_t));
        if (!sendTo(listView, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(buffer.at(0)))) return titles;
        std::wstring text(kTextUnits, L'\0');
        buffer.read(sizeof(LVCOLUMNW), text.data(), text.size() * sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), text.size()));
        titles.push_back(wideToGbk(text));
    }
}

std::vector<std::vector<std::string>> listRows(HWND listView) {
    std::vector<std::vector<std::string>> rows;
    const size_t columns = listColumns(listView).size();
    RemoteBuffer buffer(listView, sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t));
    if (!buffer) return rows;
    const int count = static_cast<int>(sendTo(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (size_t c = 0; c < columns; ++c)
            cells.push_back(remoteItemText(listView, buffer, LVM_GETITEMTEXTW, row, static_cast<int>(c)));
        rows.push_back(std::move(cells));
    }
    return rows;
}

int listRowCount(HWND listView) { return static_cast<int>(sendTo(listView, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<int> selectedRows(HWND listView) {
    std::vector<int> rows;
    for (int row = -1;;) {
        row = static_cast<int>(sendTo(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0) return rows;
        rows.push_back(row);
    }
}

bool selectRows(HWND listView, const std::vector<int>& rows) {
    RemoteBuffer buffer(listView, sizeof(LVITEMW));
    if (!buffer) return false;
    auto setState = [&](int row, UINT state, UINT mask) {
        LVITEMW item{};
        item.stateMask = mask;
        item.state = state;
        buffer.write(0, &item, sizeof item);
        sendTo(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.at(0)));
    };
    setState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t i = 0; i < rows.size(); ++i)
        setState(rows[i], i == 0 ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED);
    return true;
}

POINT rowPoint(HWND listView, int row) {
    RemoteBuffer buffer(listView, sizeof(RECT));
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    if (buffer) {
        buffer.write(0, &bounds, sizeof bounds);
        sendTo(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.at(0)));
        buffer.read(0, &bounds, sizeof bounds);
    }
    return POINT{bounds.left + 10, (bounds.top + bounds.bottom) / 2};
}

// ---- outside the program ------------------------------------------------------------

std::string copyProgramTo(const std::string& program, const std::string& folder) {
    std::wstring source = gbkToWide(program);
    std::replace(source.begin(), source.end(), L'/', L'\\');
    std::wstring target = gbkToWide(folder);
    CreateDirectoryW(target.c_str(), nullptr);
    if (!target.empty() && target.back() != L'\\') target += L'\\';
    target += source.substr(source.find_last_of(L'\\') + 1);
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return {};
    return wideToGbk(target);
}

std::string clipboardText() {
    std::string text;
    for (int tries = 0; tries < 20 && !OpenClipboard(nullptr); ++tries) pause();
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = wideToGbk(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::optional<std::string> readFile(const std::string& path) {
    HANDLE file = CreateFileW(gbkToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(file);
    return content;
}

}  // namespace quorvane::test
