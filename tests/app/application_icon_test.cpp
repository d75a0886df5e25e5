// The application icon the program carries (this test carries the same
// resource): the big and the small one load in their sizes, with a picture.
#include "app/handlers/process_state.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvane {
namespace {

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST(ApplicationIcon, LoadsBigAndSmallInTheSystemSizes) {
    loadApplicationIcons();
    const ApplicationIcons& icons = applicationIcons();
    ASSERT_NE(icons.bigIcon, nullptr);
    ASSERT_NE(icons.smallIcon, nullptr);
    const SIZE big = iconSize(icons.bigIcon), small = iconSize(icons.smallIcon);
    EXPECT_EQ(big.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(big.cy, GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(small.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(small.cy, GetSystemMetrics(SM_CYSMICON));
}

}  // namespace
}  // namespace quorvane
