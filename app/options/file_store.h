#pragma once
// Where the program keeps its options; the file routines themselves are the
// text library's.
#include "text/files.h"

#include <string>

namespace quorvane {

// The program's folder + "options\" (settings and category caches).
std::wstring optionsFolder();
std::wstring optionsFilePath();

}  // namespace quorvane
