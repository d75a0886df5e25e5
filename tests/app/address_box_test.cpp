// The address box 编辑框1 of the main window: a click empties a mode's hint
// and selects the whole text; leaving it empty puts the mode's hint back.
#include "tests/app/main_window_modes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::test {
namespace {

enum class Event { Click, FocusLeaves };

class AddressBox : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(app.main(), nullptr);
        box = app["编辑框1"];
        elsewhere = app["编辑框3"];
        ASSERT_NE(box, nullptr);
        ASSERT_NE(elsewhere, nullptr);
    }

    // A click into the control; it is handled, up to the button's release,
    // once the control has the focus and nothing holds the mouse.
    bool clickInto(HWND control) {
        leftClick(control, POINT{5, 5});
        return ProgramInFolder::waitFor([&] { return focusOf(app.main()) == control && !captureOf(app.main()); });
    }

    // Pasted addresses make the single-item hint the marker; an empty
    // confirmation empties them again.
    void paste(const std::string& addresses) {
        HWND dialog = openAddressInput(app);
        ASSERT_NE(dialog, nullptr);
        setText(findComponent(dialog, "编辑框1"), addresses);
        ASSERT_TRUE(closeAddressInput(app, dialog, "确定保存"));
    }

    ProgramInFolder app{"地址框"};
    HWND box = nullptr;
    HWND elsewhere = nullptr;
};

TEST_F(AddressBox, ClickAndFocusLossFollowTheHintRules) {
    struct Row {
        const char* why;
        View mode;
        bool pasted;  // addresses pasted through the address input window
        std::string_view before;
        Event event;
        std::string_view after;
    };
    const std::vector<Row> rows = {
        {"a click empties the single hint", View::SingleItems, false, kSingleHint, Event::Click, ""},
        {"other text stays", View::SingleItems, false, "http://item.example/1", Event::Click, "http://item.example/1"},
        {"a hint with a blank after it is not a hint", View::SingleItems, false, "请粘贴列表地址 ", Event::Click,
         "请粘贴列表地址 "},
        {"leaving the empty box gives the single hint", View::SingleItems, false, "", Event::FocusLeaves, kSingleHint},
        {"leaving a box with text keeps it", View::SingleItems, false, "abc", Event::FocusLeaves, "abc"},
        {"the list hint is emptied", View::List, false, kListHint, Event::Click, ""},
        {"so is another mode's hint", View::List, false, kShopHint, Event::Click, ""},
        {"the marker stays", View::List, false, kPastedMarker, Event::Click, kPastedMarker},
        {"leaving the empty box gives the list hint", View::List, false, "", Event::FocusLeaves, kListHint},
        {"the shop hint is emptied", View::Shop, false, kShopHint, Event::Click, ""},
        {"leaving the empty box gives the shop hint", View::Shop, false, "", Event::FocusLeaves, kShopHint},
        {"the pasted addresses stay behind the marker", View::SingleItems, true, kPastedMarker, Event::Click,
         kPastedMarker},
        {"the single hint is still emptied", View::SingleItems, true, kSingleHint, Event::Click, ""},
        {"with addresses pasted the marker comes back", View::SingleItems, true, "", Event::FocusLeaves, kPastedMarker},
        {"in list mode the list hint, pasted or not", View::List, true, "", Event::FocusLeaves, kListHint},
        {"an empty confirmation forgets the addresses", View::SingleItems, false, "", Event::FocusLeaves, kSingleHint},
    };
    View mode = View::SingleItems;
    bool pasted = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.mode != mode) {
            ASSERT_TRUE(switchTo(app, row.mode));
            mode = row.mode;
        }
        if (row.pasted != pasted) {
            paste(row.pasted ? "http://item.example/1\r\nhttp://item.example/2" : "");
            pasted = row.pasted;
        }
        ASSERT_TRUE(clickInto(elsewhere));
        setText(box, row.before);
        SendMessageW(box, EM_SETSEL, 0, 0);  // so that only the click selects the whole text
        ASSERT_TRUE(clickInto(box));
        if (row.event == Event::FocusLeaves) {
            ASSERT_TRUE(clickInto(elsewhere));
        }
        const std::string after = textOf(box);
        EXPECT_EQ(after, row.after);
        // The click's release selects the whole text.
        if (row.event == Event::Click) {
            EXPECT_EQ(editSelection(box), std::make_pair(0, static_cast<int>(gbkToWide(after).size())));
        }
    }
}

}  // namespace
}  // namespace quorvane::test
