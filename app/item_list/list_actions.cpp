#include "app/item_list/list_actions.h"

#include "app/item_list/item_list_file.h"
#include "text/search.h"

namespace quorvane {

bool importItemList(ItemList& list, const std::string& path, ListActionServices& services) {
    std::vector<ItemListRow> rows;
    if (!readItemListFile(path, rows)) {
        services.showMessage("温馨提示：", "无法读取该列表文件，宝贝列表没有改变！");
        return false;
    }
    list.replaceRows(std::move(rows));
    services.showMessage("温馨提示：", "已经成功导入宝贝列表！");
    return true;
}

bool exportItemList(const ItemList& list, const std::string& path, ListActionServices& services) {
    if (list.count() == 0) return false;
    if (!writeItemListFile(path, list.rows())) {
        services.showMessage("信息：", "宝贝列表导出失败，请检查文件是否可以写入！");
        return false;
    }
    services.showMessage("信息：", "宝贝列表已经成功导出！");
    return true;
}

void copyItemName(const ItemList& list, ListActionServices& services) {
    if (const ItemListRow* row = list.currentRowData()) services.setClipboardText(row->name);
}

void copyItemAddress(const ItemList& list, ListActionServices& services) {
    if (const ItemListRow* row = list.currentRowData()) services.setClipboardText(row->address);
}

bool isWebAddress(std::string_view address) {
    const bool http = findLeft(address, "http://", 1, true) == 1;
    const bool https = findLeft(address, "https://", 1, true) == 1;
    // Nothing but the scheme, or a blank or control byte, is no address to open.
    const std::size_t schemeLength = http ? 7 : 8;
    if (!(http || https) || address.size() <= schemeLength) return false;
    for (unsigned char c : address)
        if (c <= ' ') return false;
    return true;
}

void openItemInBrowser(const ItemList& list, ListActionServices& services) {
    const ItemListRow* row = list.currentRowData();
    if (!row) return;
    if (!isWebAddress(row->address)) {
        services.showMessage("提示", "该宝贝地址不是以http://或https://开头的网址，不能打开！");
        return;
    }
    services.openWithShell(row->address);
}

}  // namespace quorvane
