#include "app/handlers/handlers.h"

#include "app/handlers/process_state.h"
#include "app/handlers/start_pages.h"
#include "app/options/file_store.h"
#include "app/options/options.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"
#include "text/clock.h"
#include "text/codepage.h"
#include "toolkit/gdiplus/gdi_object.h"
#include "toolkit/skin.h"
#include "toolkit/skin_file.h"
#include "toolkit/tray_icon.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace quorvane {

namespace {

constexpr int kSplashPause = 300;

// The window's title as its tip and its own icon; when the shell does not
// take the icon, closing the window minimises it instead (see below).
void installMainWindowTrayIcon(ui::Window& main) {
    std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(main.handle())) + 1, L'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(main.handle(), title.data(), static_cast<int>(title.size()))));
    (void)toolkit::installTrayIcon(main.handle(), {}, wideToGbk(title), trayCallbackEntry);
}

// The tray takes the window's small icon, so the window has it first.
void giveWindowItsIcons(ui::Window& main) {
    const ApplicationIcons& icons = applicationIcons();
    SendMessageW(main.handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.bigIcon));
    SendMessageW(main.handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.smallIcon));
}

// No message is processed while the main window is created, so the splash
// is painted on the spot whenever it changes.
void paintNow(ui::Window* window) {
    if (window) RedrawWindow(window->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void setSplashProgress(ui::Window* splash, int progress) {
    if (!splash) return;
    (*splash)["进度条1"].setPosition(progress);
    paintNow(splash);
}

// The whole process, workers and request threads included, runs on the
// first processor. QUORVANE_PROCESSOR_MASK, read once and used only by
// tests, gives another mask, so that the many programs of a test suite do
// not all share one processor.
DWORD_PTR processorMask() {
    char value[24] = {};
    const DWORD length = GetEnvironmentVariableA("QUORVANE_PROCESSOR_MASK", value, sizeof value);
    if (length > 0 && length < sizeof value)
        if (const unsigned long long mask = std::strtoull(value, nullptr, 0)) return static_cast<DWORD_PTR>(mask);
    return 1;
}

}  // namespace

void initGdiplusAndIcon() {
    // Never shut down: the toolbar draws until the end.
    (void)toolkit::gdiplus::startGdiplus();
    loadApplicationIcons();
}

int programEntry() {
    ui::startRuntime();
    initProcessState();
    toolkit::loadSkinLibrary();
    initGdiplusAndIcon();
    initLocalTimeFields();
    toolkit::registerTaskbarCreated();
    if (!ui::loadWindow(mainWindowTemplate())) {
        runExitRoutine();
        return 1;
    }
    return ui::runMessageLoop(runExitRoutine);
}

void onMainWindowCreated() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    giveWindowItsIcons(*main);
    toolkit::attachSkin(toolkit::carriedSkinFile());
    toolkit::setSkinTitleBar(main->handle(), 1, 22, 0, 15);
    toolkit::adjustSkinHsv(180, -14, 10);

    ui::Window* splash = ui::loadWindow(splashWindowTemplate());
    paintNow(splash);
    showStartPages(*main);
    // A failure here is not reported: the options then read as missing keys.
    (void)writeDefaultOptionsWhenMissing(optionsFolder(), optionsFilePath());
    supplyApiAccessList();
    showStartUpHeader();
    // 动画框1 has its picture from the template.
    main->setHeight(700);
    ui::Component pages = main->component("高级选择夹1");
    pages.setHeight(466);
    toolkit::detachSkin((*main)["透明标签3"].handle());

    setSplashProgress(splash, 85);
    loadOptionsAndNavigation();
    installMainWindowTrayIcon(*main);
    pages.setTabHeadersVisible(false);
    setSplashProgress(splash, 100);
    Sleep(kSplashPause);
    if (splash) splash->destroy();

    main->setVisible(true);
    (*main)["编辑框2"].setText(startPageComment((*main)["超文本浏览框1"].documentHtml()));
    SetProcessAffinityMask(GetCurrentProcess(), processorMask());
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
