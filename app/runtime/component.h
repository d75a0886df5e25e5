#pragma once
// A component of a live window, reached by its template name. It is a small
// view (window + index), cheap to copy; a view of a missing component does
// nothing and reads as empty. Use it on the interface thread only; other
// threads go through post() (ui_thread.h).
#include "app/runtime/picture.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::ui {

class Window;
struct ComponentState;

enum class FileDialogMode { Open, OpenExisting, Save };

class Component {
public:
    Component() = default;
    Component(Window* window, int index) : window_(window), index_(index) {}

    explicit operator bool() const { return state() != nullptr; }
    std::string name() const;
    HWND handle() const;

    bool visible() const;
    void setVisible(bool visible);
    bool disabled() const;
    void setDisabled(bool disabled);
    // Caption of buttons and labels, content of edit boxes, shown item of a
    // combo box, first part of a status bar.
    std::string text() const;
    void setText(std::string_view text);
    void appendText(std::string_view text);  // edit box: at the end, scrolled into view
    void selectAllText();
    bool checked() const;
    void setChecked(bool checked);  // a checked radio button clears the others of its group
    // Combo box: the chosen item; list view: the current row; -1 for none.
    int selection() const;
    void setSelection(int index);
    // Page control and tab control.
    int page() const;
    void setPage(int page);
    void setTabHeadersVisible(bool visible);
    void setPicture(Picture picture);
    int height() const;
    void setHeight(int height);
    // Slider and progress bar.
    int position() const;
    void setPosition(int position);
    void setRange(int minimum, int maximum);
    // Button: the click message, as if the user had clicked it.
    void click();
    void setFocus();

    // List view rows: one text per column.
    int rowCount() const;
    // addRows and deleteRows change many rows and draw the list once.
    int addRow(const std::vector<std::string>& cells);
    void addRows(const std::vector<std::vector<std::string>>& rows);
    std::string cell(int row, int column) const;
    void setCell(int row, int column, std::string_view text);
    void deleteRow(int row);
    void deleteRows(std::vector<int> rows);  // positions before the first goes
    void clearRows();
    std::vector<int> selectedRows() const;
    void setRowSelected(int row, bool selected);
    void selectRows(const std::vector<int>& rows);  // added to the selection

    // File dialog with the template's filter and default extension; the
    // chosen full path, or nothing when the user cancels.
    std::optional<std::string> chooseFile(FileDialogMode mode);

    // Timer: 0 stops it.
    void setInterval(int milliseconds);

    // HTML view and web browser: the page is shown where the system's
    // WebBrowser control is available; the address is kept in any case.
    void navigate(std::string_view address);
    std::string address() const;
    // The outer HTML of the page's root element; empty while none is loaded.
    std::string documentHtml() const;

private:
    ComponentState* state() const;
    void refreshCache() const;

    Window* window_ = nullptr;
    int index_ = -1;
};

}  // namespace quorvane::ui
