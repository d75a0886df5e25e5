// The desktop side of the list actions: clipboard texts arrive as the same
// characters, whatever the reader's code page.
#include "app/item_list/win32_list_services.h"

#include "text/codepage.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

std::wstring clipboardUnicodeText() {
    if (!OpenClipboard(nullptr)) return L"<no clipboard>";
    std::wstring text = L"<no text>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST(Win32ListActionServices, ClipboardGetsTheGbkTextAsUnicode) {
    Win32ListActionServices services(nullptr);
    for (const std::string text : {"连衣裙 \xD5\x5C 2024新款", "http://item.taobao.com/item.htm?id=12", ""}) {
        ASSERT_TRUE(services.setClipboardText(text));
        EXPECT_EQ(clipboardUnicodeText(), gbkToWide(text));
    }
}

}  // namespace
}  // namespace quorvane
