#include "app/handlers/handlers.h"
#include "app/options/file_store.h"
#include "app/options/options.h"
#include "app/options/settings_controls.h"
#include "app/runtime/runtime.h"

namespace quorvane {

namespace {

// The settings page's controls as the main window's components.
class MainWindowSettingsControls final : public SettingsControls {
public:
    explicit MainWindowSettingsControls(ui::Window& window) : window_(window) {}
    bool checked(std::string_view component) const override { return window_[component].checked(); }
    void setChecked(std::string_view component, bool checked) override { window_[component].setChecked(checked); }
    std::string text(std::string_view component) const override { return window_[component].text(); }
    void setText(std::string_view component, std::string_view text) override { window_[component].setText(text); }

private:
    ui::Window& window_;
};

}  // namespace

void loadOptionsAndNavigation() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    buildNavigationToolbar();
    MainWindowSettingsControls controls(*main);
    // A value the loading rules do not know leaves its control as it is.
    SettingsPage page = readSettingsPage(controls);
    loadOptions(optionsFilePath(), page, optionMirrors());
    showSettingsPage(page, controls);
}

void onSaveSettingsClicked() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    const SettingsPage page = readSettingsPage(MainWindowSettingsControls(*main));
    const SaveMessage message = saveResultMessage(saveOptions(optionsFilePath(), page, optionMirrors()));
    ui::messageBox(message.text, message.title, MB_OK);
}

}  // namespace quorvane
