#include "app/handlers/handlers.h"
#include "app/options/file_store.h"
#include "app/options/options.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"

namespace quorvane {

void onMainWindowCreated() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    // A failure here is not reported: the options then read as missing keys.
    (void)writeDefaultOptionsWhenMissing(optionsFolder(), optionsFilePath());
    main->setHeight(700);
    ui::Component pages = main->component("高级选择夹1");
    pages.setHeight(466);
    showStartUpHeader();
    loadOptionsAndNavigation();
    pages.setTabHeadersVisible(false);
    main->setVisible(true);
}

// Closing the main window only hides it; the program ends through the exit dialog.
bool onMainWindowCloseQuery() {
    if (ui::Window* main = ui::findWindow("MainWindow")) main->setVisible(false);
    return false;
}

void onExitMenuClicked() { ui::loadWindow(exitConfirmDialogTemplate(), true); }

void onTrayExitMenuClicked() { ui::loadWindow(exitConfirmDialogTemplate(), true); }

void onExitConfirmOkClicked() {
    cancelAddressAnalysis();
    ui::endProgram(0);
}

void onExitConfirmCancelClicked() {
    if (ui::Window* dialog = ui::findWindow("ExitConfirmDialog")) dialog->destroy();
}

}  // namespace quorvane
