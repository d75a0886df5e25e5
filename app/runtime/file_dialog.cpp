#include "app/runtime/component.h"

#include "app/runtime/window.h"
#include "text/codepage.h"

#include <commdlg.h>

namespace quorvane::ui {

std::optional<std::string> Component::chooseFile(FileDialogMode mode) {
    ComponentState* s = state();
    if (!s || s->model->kind != Kind::FileDialog) return std::nullopt;
    // "title|pattern|title|pattern" becomes the double-NUL-ended filter list.
    std::wstring filter = gbkToWide(s->model->filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    std::wstring extension = gbkToWide(s->model->defaultExtension);
    if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);

    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_->handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (mode == FileDialogMode::OpenExisting) dialog.Flags |= OFN_FILEMUSTEXIST;
    const bool chosen = mode == FileDialogMode::Save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return wideToGbk(path);
}

}  // namespace quorvane::ui
