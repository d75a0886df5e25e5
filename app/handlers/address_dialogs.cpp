#include "app/handlers/handlers.h"

#include "app/handlers/address_state.h"
#include "app/runtime/runtime.h"
#include "collect/addresses/address_input.h"
#include "collect/addresses/page_range.h"
#include "text/extract.h"
#include "text/search.h"

#include <string>

namespace quorvane {

void onAddressInputCreated() {
    if (ui::Window* dialog = ui::eventWindow()) (*dialog)["编辑框1"].setText(trimText(addressState().pastedAddressList));
}

void onAddressInputOkClicked() {
    ui::Window* dialog = ui::eventWindow();
    if (!dialog) return;
    std::string text = trimText((*dialog)["编辑框1"].text());
    AddressState& state = addressState();
    state.pastedAddressList = removeBlankLines(text);
    if (!state.pastedAddressList.empty())
        if (ui::Window* main = ui::findWindow("MainWindow")) (*main)["编辑框1"].setText(kPastedAddressesMarker);
    dialog->destroy();
}

void onAddressInputCancelClicked() {
    if (ui::Window* dialog = ui::eventWindow()) dialog->destroy();
}

void onAddressInputTextChanged() {
    ui::Window* dialog = ui::eventWindow();
    if (!dialog) return;
    const int lines = countLines((*dialog)["编辑框1"].text());
    (*dialog)["透明标签2"].setText("当前共：[" + std::to_string(lines) + "]行");
}

// The dialog is left only through an accepted range.
bool onPageRangeCloseQuery() { return false; }

void onPageRangeOkClicked() {
    ui::Window* dialog = ui::eventWindow();
    if (!dialog) return;
    const int from = pageNumberOf((*dialog)["编辑框1"].text());
    const int to = pageNumberOf((*dialog)["编辑框2"].text());
    ShopListState& shop = addressState().shopList;
    ui::Component message = (*dialog)["标签4"];
    if (const std::string refusal = pageRangeRefusal(from, to, shop.lastPage); !refusal.empty()) {
        message.setText(refusal);
        message.setVisible(true);
        return;
    }
    message.setVisible(false);
    shop.lastPage = to;
    shop.pagesDone = from - 1;
    dialog->destroy();
}

}  // namespace quorvane
