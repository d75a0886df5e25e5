#pragma once
// A method thunk as a window's procedure: every message of the window goes
// to one method of one object, (object reference, window, message, wParam,
// lParam) -> result. The thunk's code is freed only when the window no
// longer calls it.
#include "toolkit/executable_code.h"
#include "toolkit/method_table.h"

#include <windows.h>

namespace quorvane::toolkit {

class WindowProcedureThunk {
public:
    WindowProcedureThunk() = default;
    ~WindowProcedureThunk() { detach(); }
    WindowProcedureThunk(const WindowProcedureThunk&) = delete;
    WindowProcedureThunk& operator=(const WindowProcedureThunk&) = delete;

    // Makes method `methodNumber` of the object the window's procedure,
    // after detaching from a window attached before. False when no thunk can
    // be built for that method or the window refuses the procedure.
    [[nodiscard]] bool attach(HWND window, ObjectReference self, int methodNumber);

    // Gives the window back the procedure it had before. When another
    // procedure replaced ours meanwhile and may still pass messages on to
    // it, the code is kept for good and forwards them to that previous
    // procedure. Not to be called from inside the window's own procedure.
    void detach();

    HWND window() const { return window_; }
    LRESULT callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcW(previous_, window, message, wParam, lParam);
    }

private:
    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
    ExecutableCode code_;
};

}  // namespace quorvane::toolkit
