#include "app/handlers/process_state.h"

#include "app/handlers/address_state.h"
#include "app/handlers/handlers.h"
#include "app/handlers/skin_tint.h"
#include "app/options/file_store.h"
#include "app/options/option_mirrors.h"

namespace quorvane {
namespace {

ApiAccessList& accessRecords() {
    static ApiAccessList list;
    return list;
}

ApplicationIcons& icons() {
    static ApplicationIcons loaded;
    return loaded;
}

void clearMirrors() {
    OptionMirrors& mirrors = optionMirrors();
    mirrors.downloadDescriptionPictures = 0;
    mirrors.pictureFailurePolicy = 0;
    mirrors.packageFormat = 0;
}

}  // namespace

void initProcessState() {
    resetRunState();
    clearMirrors();
    addressState() = {};
    accessRecords().clear();
    skinTint() = {};
    createNavigationToolbar();
}

void runExitRoutine() {
    static bool ran = false;
    if (ran) return;
    ran = true;
    // A worker that outlives its limit keeps the run's values: it ends with
    // the process, and must not find them gone meanwhile.
    if (stopRunAtExit()) resetRunState();
    addressState() = {};
    accessRecords().clear();
    destroyNavigationToolbar();
}

void supplyApiAccessList() { accessRecords() = loadApiAccessList(optionsFolder()); }

const ApiAccessList& apiAccessList() { return accessRecords(); }

void loadApplicationIcons() {
    const HINSTANCE program = GetModuleHandleW(nullptr);
    const auto load = [program](int size) -> HICON {
        for (const char* name : {static_cast<const char*>(MAKEINTRESOURCEA(129)), "DEFAULT_ICON"})
            if (auto icon = static_cast<HICON>(LoadImageA(program, name, IMAGE_ICON, size, size, LR_SHARED)))
                return icon;
        return nullptr;
    };
    icons().bigIcon = load(GetSystemMetrics(SM_CXICON));
    icons().smallIcon = load(GetSystemMetrics(SM_CXSMICON));
}

const ApplicationIcons& applicationIcons() { return icons(); }

}  // namespace quorvane
