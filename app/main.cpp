#include "app/handlers/handlers.h"
#include "app/runtime/runtime.h"
#include "app/windows/templates.h"
#include "toolkit/gdiplus/gdi_object.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    quorvane::ui::startRuntime();
    // Once for the process, never shut down: the toolbar draws until the end.
    quorvane::toolkit::gdiplus::startGdiplus();
    if (!quorvane::ui::loadWindow(quorvane::mainWindowTemplate())) return 1;
    const int exitCode = quorvane::ui::runMessageLoop();
    quorvane::stopRunAtExit();
    return exitCode;
}
