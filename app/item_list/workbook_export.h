#pragma once
// "用EXCEL打开宝贝列表": the list written into a workbook through Excel
// automation, saved as temp.xls in the program's folder and opened.
#include "app/item_list/item_list.h"
#include "app/item_list/list_services.h"

#include <string>
#include <vector>

namespace quorvane {

struct WorkbookCell {
    int row, column;  // 1-based, as the sheet counts them
    std::string text;

    bool operator==(const WorkbookCell&) const = default;
};

// Headers in row 1, then name, price and address of each row; no item id.
std::vector<WorkbookCell> workbookCells(const std::vector<ItemListRow>& rows);

// The program's folder + "/temp.xls".
std::string workbookPath();

enum class WorkbookResult { Opened, NoExcel, Failed };

// Says so in a message box when Excel cannot be started or the workbook
// cannot be written.
WorkbookResult openListInExcel(const ItemList& list, const std::string& path, ListActionServices& services);

}  // namespace quorvane
