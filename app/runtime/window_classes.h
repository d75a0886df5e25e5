#pragma once
// What the window runtime's files share: the window classes of top-level
// windows, panels and labels with their procedures, and how controls are
// numbered and named.
#include <windows.h>

namespace quorvane::ui {

inline constexpr const wchar_t* kPanelClass = L"QuorvanePanel";
inline constexpr const wchar_t* kLabelClass = L"QuorvaneLabel";
// A component's name as a global atom in this property of its control.
inline constexpr const wchar_t* kNameProperty = L"QuorvaneName";
// A component's control ID and timer ID: this plus its index in the template.
inline constexpr int kFirstControlId = 1000;
inline constexpr int kTabStripHeight = 24;

inline HINSTANCE instance() { return GetModuleHandleW(nullptr); }

LRESULT CALLBACK windowProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK panelProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK labelProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK componentSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

}  // namespace quorvane::ui
