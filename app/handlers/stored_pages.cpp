#include "app/handlers/stored_pages.h"

#include "text/bytes.h"
#include "text/codepage.h"

#include <windows.h>
#include <shellapi.h>

namespace quorvane {

namespace {

constexpr const char* kStoredPageKey = "tz3vom";

}  // namespace

std::string storedPageAddress(const char* stored) {
    std::string list = stored;
    return decipherHexString(list, kStoredPageKey, 1);
}

void openStoredPage(const char* stored) {
    ShellExecuteW(nullptr, L"open", gbkToWide(storedPageAddress(stored)).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace quorvane
