#pragma once
// The program's process-wide values: made ready at start-up before any
// module initialiser runs, and released once by the exit routine when the
// program ends.
#include "collect/run/api_access.h"

#include <windows.h>

namespace quorvane {

// The run state, the option mirrors, the collection mode and pasted
// addresses, the access records and the skin tint empty; the navigation
// toolbar object made.
void initProcessState();

// The exit routine; what runs after the first call does nothing. A run in
// progress ends first: its workers use these values.
void runExitRoutine();

// Supplied at start-up from options\api_access.txt beside the program.
void supplyApiAccessList();
const ApiAccessList& apiAccessList();

// Loaded once at start-up; nullptr where the resource is missing.
struct ApplicationIcons {
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};
const ApplicationIcons& applicationIcons();
void loadApplicationIcons();

}  // namespace quorvane
