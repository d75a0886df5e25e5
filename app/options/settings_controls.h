#pragma once
// The settings page's controls by their component names, so the window side
// only has to say how a named control is read and set.
#include "app/options/settings_page.h"

#include <string>
#include <string_view>

namespace quorvane {

class SettingsControls {
public:
    virtual ~SettingsControls() = default;
    virtual bool checked(std::string_view component) const = 0;
    // Checking a radio button clears the others of its group.
    virtual void setChecked(std::string_view component, bool checked) = 0;
    // For 组合框1: the text it shows, and the item of that text to select.
    virtual std::string text(std::string_view component) const = 0;
    virtual void setText(std::string_view component, std::string_view text) = 0;
};

SettingsPage readSettingsPage(const SettingsControls& controls);
void showSettingsPage(const SettingsPage& page, SettingsControls& controls);

}  // namespace quorvane
