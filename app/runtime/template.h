#pragma once
// Window templates as data: the components of a window, its menus and the
// bindings of events to handlers. The runtime (window.h) builds live windows
// from them; texts are GBK.
#include "app/runtime/picture.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvane::ui {

enum class Kind {
    Edit,
    Button,
    PictureButton,
    CheckBox,
    RadioButton,  // radio buttons with the same parent form one group
    ComboBox,
    TabControl,   // children placed on the control itself, below its tabs
    PageControl,  // pages fill the control; its tab strip can be hidden
    ListView,     // report view, several rows selectable
    Label,
    TransparentLabel,
    PictureBox,
    DrawingPanel,
    Frame,
    ProgressBar,
    Slider,
    StatusBar,
    Toolbar,
    AnimationBox,
    HtmlView,
    WebBrowser,
    FileDialog,   // no window of its own; see Component::chooseFile
    Timer,        // no window of its own; interval in `position`
};

// Initial state bits of a component.
enum : unsigned {
    kHidden = 1,
    kDisabled = 2,
    kReadOnly = 4,
    kMultiLine = 8,
    kVerticalScroll = 16,
    kHorizontalScroll = 32,
    kChecked = 64,
};

inline constexpr int kDefaultColour = -1;

struct Column {
    std::string title;
    int width = 0;
};

struct ComponentTemplate {
    std::string name;
    Kind kind = Kind::Label;
    std::string parent;  // empty: the window itself
    int page = 0;        // page of a parent page or tab control
    std::string caption; // caption, text, or first part of a status bar
    int x = 0, y = 0, width = 0, height = 0;
    unsigned state = 0;
    std::vector<std::string> items;  // combo items, tabs, pages, toolbar buttons
    std::vector<Column> columns;     // list view
    int minimum = 0, maximum = 0, position = 0;  // slider, progress bar, timer interval
    std::string filter;              // file dialog: "title(*.x)|*.x"
    std::string defaultExtension;    // file dialog: ".x"
    Picture (*picture)() = nullptr;  // drawn when the window is loaded
    int textColour = kDefaultColour;
    int background = kDefaultColour;
};

struct MenuTemplate {
    std::string name;
    bool menuBar = false;             // else a pop-up menu shown by popupMenu
    std::vector<std::string> items;   // "-" is a separator
};

enum class Event {
    Created,
    QueryClose,      // the handler's result decides: false keeps the window open
    Activated,
    FocusLost,
    Clicked,
    MenuClicked,     // component is the menu item's caption
    LeftButtonDown,
    LeftButtonUp,
    DoubleClicked,
    RightClicked,
    ContentChanged,
    TimerElapsed,
};

struct EventArgs {
    int x = 0, y = 0;     // mouse events: position in the component
    unsigned keys = 0;    // mouse events: MK_* key state
};

// A bound handler; the result matters for QueryClose only.
using Handler = std::function<bool(const EventArgs&)>;

Handler handler(void (*function)());
Handler handler(bool (*function)());
Handler handler(void (*function)(const EventArgs&));

struct Binding {
    std::string component;  // empty: the window itself
    Event event;
    Handler handler;
};

enum class Frame { Main, Dialog, Borderless };

struct WindowTemplate {
    std::string name;
    std::string title;
    int width = 0, height = 0;  // outer size
    Frame frame = Frame::Dialog;
    bool visibleWhenLoaded = true;
    const wchar_t* className = L"QuorvaneWindow";
    std::vector<ComponentTemplate> components;
    std::vector<MenuTemplate> menus;
    std::vector<Binding> bindings;
    Picture (*icon)() = nullptr;
};

}  // namespace quorvane::ui
