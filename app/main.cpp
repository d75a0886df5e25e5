#include "app/handlers/handlers.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return quorvane::programEntry(); }
