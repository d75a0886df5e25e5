#include "app/handlers/handlers.h"
#include "app/options/file_store.h"
#include "app/options/options.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"
#include "text/codepage.h"
#include "toolkit/tray_icon.h"

#include <windows.h>

#include <string>

namespace quorvane {

namespace {

// The window's title as its tip and its own icon; when the shell does not
// take the icon, closing the window minimises it instead (see below).
void installMainWindowTrayIcon(ui::Window& main) {
    std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(main.handle())) + 1, L'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(main.handle(), title.data(), static_cast<int>(title.size()))));
    (void)toolkit::installTrayIcon(main.handle(), {}, wideToGbk(title), trayCallbackEntry);
}

}  // namespace

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
    installMainWindowTrayIcon(*main);
    pages.setTabHeadersVisible(false);
    main->setVisible(true);
}

// Closing the main window only hides it; the program ends through the exit
// dialog. A window hidden without a tray icon could never be shown again.
bool onMainWindowCloseQuery() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return false;
    if (toolkit::trayIconAdded())
        main->setVisible(false);
    else
        ShowWindow(main->handle(), SW_MINIMIZE);
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
