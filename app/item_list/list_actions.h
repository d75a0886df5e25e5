#pragma once
// What the item list's buttons and pop-up menu do once the window side has
// mirrored the list view's selection and current row into the model and,
// where a file dialog comes first, the user has chosen a file.
#include "app/item_list/item_list.h"
#include "app/item_list/list_services.h"

#include <string>
#include <string_view>

namespace quorvane {

// Replaces the rows by the file's rows; a file that cannot be read leaves the
// list as it was and says so. True when the list was replaced.
bool importItemList(ItemList& list, const std::string& path, ListActionServices& services);

// Only a list with rows is exported (no dialog is shown for an empty one).
bool exportItemList(const ItemList& list, const std::string& path, ListActionServices& services);

// Single-row actions on the current row; without one they do nothing.
void copyItemName(const ItemList& list, ListActionServices& services);
void copyItemAddress(const ItemList& list, ListActionServices& services);
void openItemInBrowser(const ItemList& list, ListActionServices& services);

// Addresses from web pages and imported files reach the shell only when they
// are web addresses.
bool isWebAddress(std::string_view address);

}  // namespace quorvane
