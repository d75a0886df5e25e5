#include "app/handlers/handlers.h"
#include "app/runtime/runtime.h"

namespace quorvane {

void deleteSelectedItems() {}
void onClearClicked() {}
void onImportListClicked() {}
void onExportListClicked() {}
void onChangeSavePathClicked() {}

void onItemListRightClicked() {
    if (ui::Window* main = ui::findWindow("MainWindow")) ui::popupMenu(*main, "列表菜单");
}

void onOpenInBrowserMenuClicked() {}
void onOpenInExcelMenuClicked() {}
void onCopyItemAddressMenuClicked() {}
void onCopyItemNameMenuClicked() {}
void onDeleteSelectedMenuClicked() {}

}  // namespace quorvane
