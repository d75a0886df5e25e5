#pragma once
// The handlers that the window templates bind, one per window, component and
// event; grouped in files by what they do.
#include "app/runtime/template.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace quorvane {

// Start-up and shutdown (startup.cpp).
// The process entry of the program's own code: 0 when the message loop ends.
int programEntry();
// The module initialisers, in the order start-up runs them.
void initGdiplusAndIcon();
void onMainWindowCreated();
bool onMainWindowCloseQuery();
void onExitMenuClicked();
void onTrayExitMenuClicked();
void onExitConfirmOkClicked();
void onExitConfirmCancelClicked();

// Modes, navigation and window chrome (navigation.cpp).
void onMainWindowActivated();
void onMainWindowFocusLost();
void onAddressBoxMouseDown(const ui::EventArgs& args);
void onAddressBoxMouseUp(const ui::EventArgs& args);
void onAddressBoxDoubleClicked(const ui::EventArgs& args);
void onAddressBoxFocusLost();
void onLoginButtonClicked();
void onLoginBrowserCreated();
void onHeaderAnimationClicked();
void onHueSliderReleased();
void onSaturationSliderReleased();
void onBrightnessSliderReleased();
// The tray icon's callback: the mouse message on the icon.
void WINAPI trayCallbackEntry(std::intptr_t mouseMessage);
void onTrayIconMouse(std::intptr_t mouseMessage);
// The toolbar's items 1 to 6; the mode and page menus do what items 1 to 5 do.
void onNavigationItemClicked(int itemNumber);
// The navigation toolbar's click callback: the clicked item's number.
void WINAPI navigationCallback(std::intptr_t itemNumber);
// Start-up: the navigation toolbar on the header label (navigation_toolbar.cpp).
// The one toolbar object lives from the process state's start to the exit routine.
void createNavigationToolbar();
void destroyNavigationToolbar();
void buildNavigationToolbar();
void redrawNavigationToolbar();
// Start-up: the header of the single-item mode, which the program starts in.
void showStartUpHeader();
void onSingleModeMenuClicked();
void onListModeMenuClicked();
void onShopModeMenuClicked();
void onSettingsMenuClicked();
void onHelpMenuClicked();

// Run control and the run summary (run_control.cpp).
// Where the next run writes its pictures, as the path chooser sets it.
void setPackageLocation(std::string folder, std::string baseName);
void onStartClicked();
void onPauseClicked();
void onStopClicked();
// After the message loop: ends a run in progress, without a package; false
// when a worker is still left after the wait.
bool stopRunAtExit();
// The run values empty: at start-up, and at the end once no worker is left.
void resetRunState();
bool runInProgress();
void onPmsClicked();
void onRunSummaryCreated();
void onRunSummaryWhyFailedClicked();
void onRunSummaryOpenFolderClicked();
void onRunSummaryTutorialClicked();

// Item list actions (list_actions.cpp).
void deleteSelectedItems();
void onClearClicked();
void onImportListClicked();
void onExportListClicked();
void onChangeSavePathClicked();
void onItemListRightClicked();
void onOpenInBrowserMenuClicked();
void onOpenInExcelMenuClicked();
void onCopyItemAddressMenuClicked();
void onCopyItemNameMenuClicked();
void onDeleteSelectedMenuClicked();

// The settings page (settings_page.cpp).
void onSaveSettingsClicked();
// Start-up: options.ini into the settings page's controls and the mirrors.
void loadOptionsAndNavigation();

// Addresses: the add button and the two address dialogs (addresses.cpp).
void onAddToListClicked();
void onAddressInputCreated();
void onAddressInputOkClicked();
void onAddressInputCancelClicked();
void onAddressInputTextChanged();
bool onPageRangeCloseQuery();
void onPageRangeOkClicked();
// An analysis waits for its pages while window messages are processed.
bool addressAnalysisRunning();
// Program end: the analysis in progress gives up its request at once and ends.
void cancelAddressAnalysis();

}  // namespace quorvane
