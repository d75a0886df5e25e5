#pragma once
// A live window built from its template: one top-level Win32 window, its
// components by name, its menus, and the dispatch of Win32 notifications to
// the template's bindings. Its jobs have a file each: the window's own state
// (window.cpp), the live windows (window_registry.cpp), the components'
// controls (component_creation.cpp), messages (window_dispatch.cpp) and the
// painting of panels and labels (window_painting.cpp).
#include "app/runtime/browser.h"
#include "app/runtime/component.h"
#include "app/runtime/template.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::ui {

// What the runtime keeps per component; reached through Component.
struct ComponentState {
    const ComponentTemplate* model = nullptr;
    HWND handle = nullptr;           // nullptr for file dialogs and timers
    HWND parentHandle = nullptr;
    int parentIndex = -1;
    bool ownVisible = true;          // the visible property, apart from page switching
    int currentPage = 0;             // page and tab controls
    HWND tabStrip = nullptr;         // page control
    std::vector<HWND> pages;         // page control: one panel per page
    Picture picture;
    std::string address;             // HTML view, web browser
    std::unique_ptr<Browser> browser;  // created at the first navigation
    bool browserTried = false;
    std::vector<const Binding*> bindings;
    ATOM nameAtom = 0;

    const Binding* binding(Event event) const;
};

class Window {
public:
    // Builds the window and its components; the Created handler runs in
    // load() (runtime.h) once the window can be found by name.
    Window(const WindowTemplate& model, HWND owner, bool modal);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    static Window* fromHandle(HWND handle);

    const std::string& name() const { return model_.name; }
    HWND handle() const { return handle_; }
    bool alive() const { return handle_ != nullptr; }

    Component component(std::string_view name);
    Component operator[](std::string_view name) { return component(name); }

    bool visible() const;
    void setVisible(bool visible);
    void restore();                  // shown and not minimised
    int height() const;
    void setHeight(int height);
    void destroy();                  // without asking the query-close handler

    // Runs the bound handler; false when none is bound or it returned false.
    bool raise(Event event, const std::string& component = {}, const EventArgs& args = {});

    HMENU menu(std::string_view name) const;

private:
    friend class Component;
    friend LRESULT CALLBACK windowProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK panelProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK labelProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK componentSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    // window.cpp
    void createMenus();
    int indexOf(std::string_view name) const;
    int indexOfHandle(HWND handle) const;
    void applyVisibility(int index);
    void showPage(int index, int page);
    void layoutPageControl(int index);
    void refreshCache(int index);

    // component_creation.cpp
    void createComponents();
    void createComponent(int index);
    HWND containerFor(const ComponentTemplate& model, int& parentIndex);

    // window_dispatch.cpp: messages from children, whichever container they reached.
    bool onChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void raiseClicked(HWND control);  // for the component of this control, if any

    // window_painting.cpp
    void paintPanel(HWND panel, HDC dc);
    void paintLabel(HWND label, HDC dc);

    const WindowTemplate& model_;
    HWND handle_ = nullptr;
    HWND owner_ = nullptr;
    bool modal_ = false;
    HICON icon_ = nullptr;
    std::vector<ComponentState> components_;
    std::map<std::string, HMENU, std::less<>> menus_;
    std::map<UINT, std::string> menuCommands_;
    std::vector<const Binding*> windowBindings_;
};

}  // namespace quorvane::ui
