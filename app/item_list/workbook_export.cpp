#include "app/item_list/workbook_export.h"

#include "text/codepage.h"
#include "text/com.h"
#include "text/files.h"

namespace quorvane {

namespace {

// Quits the spreadsheet application on every way out, so no hidden Excel
// stays behind when a step fails.
class ExcelSession {
public:
    explicit ExcelSession(ComPtr<IDispatch> application) : application_(std::move(application)) {}
    ~ExcelSession() {
        Variant ignored;
        (void)comCall(application_.get(), L"Quit", ignored);
    }
    ExcelSession(const ExcelSession&) = delete;
    ExcelSession& operator=(const ExcelSession&) = delete;
    IDispatch* get() const { return application_.get(); }

private:
    ComPtr<IDispatch> application_;
};

bool writeCell(IDispatch* sheet, const WorkbookCell& cell) {
    Variant row = Variant::fromInt(cell.row), column = Variant::fromInt(cell.column), range;
    if (!comGet(sheet, L"Cells", range, {row.get(), column.get()})) return false;
    const ComPtr<IDispatch> target = range.toDispatch();
    // Formatted as text first, so ids and prices keep their digits as typed.
    return comPut(target.get(), L"NumberFormat", *Variant::fromGbk("@").get()) &&
           comPut(target.get(), L"Value", *Variant::fromGbk(cell.text).get());
}

bool writeWorkbook(IDispatch* application, const std::vector<WorkbookCell>& cells, const std::string& path,
                   ListActionServices& services) {
    Variant workbooks, workbook, ignored, sheet;
    // No "replace the file?" question from Excel for an earlier temp.xls.
    (void)comPut(application, L"DisplayAlerts", *Variant::fromBool(false).get());
    if (!comGet(application, L"Workbooks", workbooks) || !comCall(workbooks.toDispatch().get(), L"Add", workbook))
        return false;
    const ComPtr<IDispatch> book = workbook.toDispatch();
    if (!comCall(book.get(), L"Activate", ignored) || !comGet(book.get(), L"ActiveSheet", sheet)) return false;
    const ComPtr<IDispatch> activeSheet = sheet.toDispatch();
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (!writeCell(activeSheet.get(), cells[k])) return false;
        const bool rowDone = k + 1 == cells.size() || cells[k + 1].row != cells[k].row;
        if (rowDone && cells[k].row > 1) services.processPendingEvents();
    }
    Variant fileName = Variant::fromGbk(path);
    return comCall(book.get(), L"SaveAs", ignored, {fileName.get()}) && comCall(book.get(), L"Close", ignored);
}

}  // namespace

std::vector<WorkbookCell> workbookCells(const std::vector<ItemListRow>& rows) {
    std::vector<WorkbookCell> cells = {{1, 1, "宝贝名称"}, {1, 2, "宝贝价格"}, {1, 3, "宝贝地址"}};
    int sheetRow = 2;
    for (const auto& row : rows) {
        cells.push_back({sheetRow, 1, row.name});
        cells.push_back({sheetRow, 2, row.price});
        cells.push_back({sheetRow, 3, row.address});
        ++sheetRow;
    }
    return cells;
}

std::string workbookPath() {
    std::wstring folder = programFolder();
    if (folder.ends_with(L'\\')) folder.pop_back();
    return wideToGbk(folder) + "/temp.xls";
}

WorkbookResult openListInExcel(const ItemList& list, const std::string& path, ListActionServices& services) {
    ComPtr<IDispatch> application = createComObject(L"Excel.Application");
    if (!application) {
        services.showMessage("提示", "没有找到Excel，请先安装Microsoft Excel再用它打开宝贝列表！");
        return WorkbookResult::NoExcel;
    }
    bool written;
    {
        ExcelSession excel(std::move(application));
        written = writeWorkbook(excel.get(), workbookCells(list.rows()), path, services);
    }
    services.processPendingEvents();
    if (!written) {
        services.showMessage("提示", "无法用Excel写入宝贝列表文件temp.xls！");
        return WorkbookResult::Failed;
    }
    services.openWithShell(path);
    return WorkbookResult::Opened;
}

}  // namespace quorvane
