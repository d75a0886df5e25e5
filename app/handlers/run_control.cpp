#include "app/handlers/handlers.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"

namespace quorvane {

void onStartClicked() {}
void onPauseClicked() {}
void onStopClicked() {}
void onPmsClicked() { ui::loadWindow(runSummaryDialogTemplate(), false); }
void onRunSummaryCreated() {}
void onRunSummaryWhyFailedClicked() {}
void onRunSummaryOpenFolderClicked() {}
void onRunSummaryTutorialClicked() {}

}  // namespace quorvane
