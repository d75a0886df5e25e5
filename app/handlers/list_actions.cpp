#include "app/handlers/handlers.h"
#include "app/item_list/item_list.h"
#include "app/item_list/list_actions.h"
#include "app/item_list/package_path.h"
#include "app/item_list/win32_list_services.h"
#include "app/item_list/workbook_export.h"
#include "app/runtime/runtime.h"


namespace quorvane {

namespace {

constexpr const char* kListView = "超级列表框1";

// The list view's rows, selection and current row as the model the actions
// work on.
ItemList itemListOf(ui::Window& main) {
    ui::Component view = main[kListView];
    ItemList list;
    for (int k = 0, count = view.rowCount(); k < count; ++k)
        list.append({view.cell(k, 0), view.cell(k, 1), view.cell(k, 2), view.cell(k, 3)});
    for (int position : view.selectedRows()) list.setSelected(position, true);
    list.setCurrentRow(view.selection());
    return list;
}

void showCounter(ui::Window& main, const ItemList& list) { main["透明标签4"].setText(list.counterText()); }

void showRows(ui::Window& main, const ItemList& list) {
    ui::Component view = main[kListView];
    view.clearRows();
    std::vector<std::vector<std::string>> cells;
    cells.reserve(list.rows().size());
    for (const ItemListRow& row : list.rows()) cells.push_back({row.name, row.price, row.address, row.itemId});
    view.addRows(cells);
    showCounter(main, list);
}

// A single-row menu action on the current row of the list view.
template <typename Action>
void onCurrentRow(Action action) {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    Win32ListActionServices services(main->handle());
    action(itemListOf(*main), services);
}

}  // namespace

void deleteSelectedItems() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    ItemList list = itemListOf(*main);
    (*main)[kListView].deleteRows(list.deleteSelected());
    showCounter(*main, list);
}

void onClearClicked() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    (*main)[kListView].clearRows();
    showCounter(*main, ItemList());
}

void onImportListClicked() {
    // An analysis in progress appends its rows to the list as it stands.
    if (addressAnalysisRunning()) return;
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    const std::optional<std::string> path = (*main)["通用对话框2"].chooseFile(ui::FileDialogMode::OpenExisting);
    if (!path) return;
    ItemList list = itemListOf(*main);
    Win32ListActionServices services(main->handle());
    if (importItemList(list, *path, services)) showRows(*main, list);
}

void onExportListClicked() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main || (*main)[kListView].rowCount() == 0) return;
    const std::optional<std::string> path = (*main)["通用对话框2"].chooseFile(ui::FileDialogMode::Save);
    if (!path) return;
    Win32ListActionServices services(main->handle());
    (void)exportItemList(itemListOf(*main), *path, services);
}

void onChangeSavePathClicked() {
    ui::Window* main = ui::findWindow("MainWindow");
    if (!main) return;
    const std::optional<std::string> chosen = (*main)["通用对话框1"].chooseFile(ui::FileDialogMode::Save);
    if (!chosen) return;
    Win32ListActionServices services(main->handle());
    PackagePath path = choosePackagePath(*chosen, services);
    // A refused name still sets the folder and base name it gave.
    setPackageLocation(std::move(path.packageFolder), std::move(path.packageBaseName));
    (*main)["编辑框3"].setText(path.pathBoxText);
}

void onItemListRightClicked() {
    if (ui::Window* main = ui::findWindow("MainWindow")) ui::popupMenu(*main, "列表菜单");
}

void onOpenInBrowserMenuClicked() {
    onCurrentRow([](const ItemList& list, ListActionServices& services) { openItemInBrowser(list, services); });
}

void onOpenInExcelMenuClicked() {
    onCurrentRow([](const ItemList& list, ListActionServices& services) {
        (void)openListInExcel(list, workbookPath(), services);
    });
}

void onCopyItemAddressMenuClicked() {
    onCurrentRow([](const ItemList& list, ListActionServices& services) { copyItemAddress(list, services); });
}

void onCopyItemNameMenuClicked() {
    onCurrentRow([](const ItemList& list, ListActionServices& services) { copyItemName(list, services); });
}

void onDeleteSelectedMenuClicked() { deleteSelectedItems(); }

}  // namespace quorvane
