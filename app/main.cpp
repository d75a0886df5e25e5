#include "app/handlers/handlers.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    quorvane::ui::startRuntime();
    if (!quorvane::ui::loadWindow(quorvane::mainWindowTemplate())) return 1;
    const int exitCode = quorvane::ui::runMessageLoop();
    quorvane::stopRunAtExit();
    return exitCode;
}
