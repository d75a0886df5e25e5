#pragma once
// The runtime's services on the interface thread: loading windows from their
// templates, the message loop, message boxes, pop-up menus and the clipboard.
#include "app/runtime/template.h"
#include "app/runtime/window.h"

#include <string>
#include <string_view>

namespace quorvane::ui {

// Once, on the interface thread, before any window is loaded: initialises
// COM and the common controls and makes the program's folder the current
// directory.
void startRuntime();

// Modal: the caller waits until the window is closed and gets nullptr; the
// windows of the program are disabled meanwhile. Not modal: the new window.
Window* loadWindow(const WindowTemplate& model, bool modal = false);
Window* findWindow(std::string_view name);
// The window whose event handler is running (the innermost one), so that a
// handler reaches its own window even when others of that name are open;
// nullptr outside handlers.
Window* eventWindow();
bool isLive(const Window* window);

// Runs until endProgram; then calls atEnd, when given, and destroys the
// remaining windows.
int runMessageLoop(void (*atEnd)() = nullptr);
void endProgram(int exitCode);

// MessageBox styles (MB_*); the result is the button's ID*.
int messageBox(std::string_view text, std::string_view title, unsigned style = MB_OK);

// Shows the window's pop-up menu at the mouse position; a chosen item raises
// its MenuClicked binding.
void popupMenu(Window& window, std::string_view menuName);

bool setClipboardText(std::string_view text);
std::string clipboardText();

}  // namespace quorvane::ui
