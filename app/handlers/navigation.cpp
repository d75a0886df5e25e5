#include "app/handlers/handlers.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"

namespace quorvane {

void onMainWindowActivated() {}
void onMainWindowFocusLost() {}
void onAddressBoxMouseDown(const ui::EventArgs&) {}
void onAddressBoxMouseUp(const ui::EventArgs&) {}
void onAddressBoxDoubleClicked(const ui::EventArgs&) { ui::loadWindow(addressInputDialogTemplate(), true); }
void onAddressBoxFocusLost() {}
void onLoginButtonClicked() { ui::loadWindow(loginBrowserWindowTemplate(), true); }
void onLoginBrowserCreated() {}
void onHeaderAnimationClicked() {}
void onHueSliderReleased() {}
void onSaturationSliderReleased() {}
void onBrightnessSliderReleased() {}
void onSingleModeMenuClicked() {}
void onListModeMenuClicked() {}
void onShopModeMenuClicked() {}
void onSettingsMenuClicked() {}
void onHelpMenuClicked() {}

}  // namespace quorvane
