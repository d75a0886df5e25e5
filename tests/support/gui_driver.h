#pragma once
// Drives a GUI program of ours from outside, as a user would: start it, find
// its windows by title and its controls by caption or component name, press
// buttons, type into edit boxes, read and select list rows, pick menu items,
// answer message boxes and file dialogs. Texts are GBK. Clicks are posted,
// so a handler that opens a modal box never blocks the driver.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane::test {

class GuiProgram {
public:
    // Starts the program (a Windows path) in workingDirectory (empty: ours),
    // with arguments after its name.
    explicit GuiProgram(const std::string& program, const std::string& workingDirectory = {},
                        const std::string& arguments = {});
    ~GuiProgram();  // ends the program if it still runs
    GuiProgram(const GuiProgram&) = delete;
    GuiProgram& operator=(const GuiProgram&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_; }
    // The exit code when the program ended within the time.
    std::optional<DWORD> waitForExit(int milliseconds) const;
    void kill();

    // A shown top-level window of the program with this exact title;
    // nullptr when none is shown in time.
    HWND waitForWindow(std::string_view title, int milliseconds = 10000) const;
    // A top-level window of this title, shown or hidden; all of them.
    HWND findWindow(std::string_view title) const;
    std::vector<HWND> findWindows(std::string_view title) const;
    // Waits until no window of this title is left.
    bool waitForWindowGone(std::string_view title, int milliseconds = 10000) const;

    // A shown message box of this title, and its text.
    struct MessageBoxSeen {
        HWND window = nullptr;
        std::string text;
    };
    std::optional<MessageBoxSeen> waitForMessageBox(std::string_view title, int milliseconds = 10000) const;

    // Types the path into the open or save dialog that is shown and confirms it.
    bool answerFileDialog(std::string_view path, int milliseconds = 10000) const;
    // Cancels the shown file dialog.
    bool cancelFileDialog(int milliseconds = 10000) const;

    // Chooses item `index` (0-based, separators not counted) of the pop-up
    // menu that the program shows next, or that it shows already.
    bool choosePopupMenuItem(int index, int milliseconds = 10000) const;

private:
    HWND waitForDialog(bool (*accept)(HWND), int milliseconds) const;

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Controls of a window (children at any depth).
HWND findComponent(HWND window, std::string_view name);  // by the runtime's component name
HWND findByCaption(HWND window, std::string_view caption, std::wstring_view className = L"");

void pressButton(HWND button);  // posted BM_CLICK
bool pressButton(HWND window, std::string_view caption);
void answerMessageBox(HWND box, int buttonId);  // IDOK, IDYES, IDNO, IDCANCEL, ...

std::string textOf(HWND control);
void setText(HWND control, std::string_view text);  // WM_SETTEXT, as typing would leave it
bool isShown(HWND control);                         // visible, with all its parents
bool isEnabled(HWND control);
bool isChecked(HWND button);
int tabCount(HWND tabControl);
int comboSelection(HWND comboBox);

// Chooses the menu bar's item `index` (0-based) with the keyboard.
void chooseMenuBarItem(HWND window, int index);
// A right click at a point of the control's client area.
void rightClick(HWND control, POINT at);
// A left click there, and a double click as the system delivers one: down,
// up, double click, up.
void leftClick(HWND control, POINT at);
void doubleClick(HWND control, POINT at);
// Types the text key by key (posted characters); CR LF is one Enter.
void typeText(HWND control, std::string_view text);
// An edit box's selection: its first character and the one after its last.
std::pair<int, int> editSelection(HWND edit);
// The control that has the keyboard focus in the thread owning the window,
// and the one that holds the mouse capture (nullptr: none).
HWND focusOf(HWND window);
HWND captureOf(HWND window);

// List views in report view, read through the program's own memory.
std::vector<std::string> listColumns(HWND listView);
std::vector<std::vector<std::string>> listRows(HWND listView);
int listRowCount(HWND listView);
std::vector<int> selectedRows(HWND listView);
bool selectRows(HWND listView, const std::vector<int>& rows);  // exactly these rows, the first one focused
POINT rowPoint(HWND listView, int row);                          // a point inside the row

// A copy of the program in `folder` (created when missing), so that it runs
// with that folder as its own (and its options there); the copy's path, or
// empty when the copy failed.
std::string copyProgramTo(const std::string& program, const std::string& folder);

std::string clipboardText();
std::optional<std::string> readFile(const std::string& path);

}  // namespace quorvane::test
