#include "app/runtime/runtime.h"
#include "app/windows/templates.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    quorvane::ui::startRuntime();
    if (!quorvane::ui::loadWindow(quorvane::mainWindowTemplate())) return 1;
    return quorvane::ui::runMessageLoop();
}
