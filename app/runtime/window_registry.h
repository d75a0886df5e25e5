#pragma once
// The live windows of the program, for the runtime itself; handlers find
// windows through findWindow and isLive (runtime.h).
#include "app/runtime/template.h"
#include "app/runtime/window.h"

#include <windows.h>

namespace quorvane::ui {

// Builds the window, keeps it and runs its Created handler; nullptr when the
// window could not be made or did not outlive the handler.
Window* loadWindowObject(const WindowTemplate& model, HWND owner, bool modal);
// The window is gone: it is deleted by the next deleteRetiredWindows.
void forgetWindow(Window* window);
void deleteRetiredWindows();
void destroyAllWindows();

}  // namespace quorvane::ui
