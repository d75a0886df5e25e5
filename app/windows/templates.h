#pragma once
// The program's seven windows as templates: their components, menus and
// bindings. Each is built once and lives for the process.
#include "app/runtime/template.h"

namespace quorvane {

const ui::WindowTemplate& mainWindowTemplate();
const ui::WindowTemplate& runSummaryDialogTemplate();
const ui::WindowTemplate& exitConfirmDialogTemplate();
const ui::WindowTemplate& splashWindowTemplate();
const ui::WindowTemplate& loginBrowserWindowTemplate();
const ui::WindowTemplate& pageRangeDialogTemplate();
const ui::WindowTemplate& addressInputDialogTemplate();

}  // namespace quorvane
