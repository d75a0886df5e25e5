#include "app/options/file_store.h"

namespace quorvane {

std::wstring optionsFolder() { return programFolder() + L"options\\"; }

std::wstring optionsFilePath() { return optionsFolder() + L"options.ini"; }

}  // namespace quorvane
