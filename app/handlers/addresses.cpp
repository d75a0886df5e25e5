#include "app/handlers/handlers.h"
#include "app/runtime/runtime.h"

namespace quorvane {

void onAddToListClicked() {}
void onAddressInputCreated() {}
void onAddressInputOkClicked() {}

void onAddressInputCancelClicked() {
    if (ui::Window* dialog = ui::findWindow("AddressInputDialog")) dialog->destroy();
}

void onAddressInputTextChanged() {}

// The dialog is left only through an accepted range.
bool onPageRangeCloseQuery() { return false; }

void onPageRangeOkClicked() {}

}  // namespace quorvane
