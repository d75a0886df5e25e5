#include "app/handlers/stored_pages.h"

#include "text/bytes.h"
#include "text/codepage.h"

#include <windows.h>
#include <shellapi.h>

namespace quorvane {

namespace {

constexpr const char* kStoredPageKey = "tz3vom";

}  // namespace

void openStoredPage(const char* stored) {
    std::string list = stored;
    const std::string address = decipherHexString(list, kStoredPageKey, 1);
    ShellExecuteW(nullptr, L"open", gbkToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace quorvane
