#include "app/item_list/package_path.h"

#include "text/search.h"

namespace quorvane {

PackagePath splitPackagePath(std::string_view chosen) {
    PackagePath path;
    const int lastBackslash = findRight(chosen, "\\");
    const std::size_t nameStart = lastBackslash == -1 ? 0 : static_cast<std::size_t>(lastBackslash);
    path.packageFolder = std::string(chosen.substr(0, nameStart));
    std::string name(chosen.substr(nameStart));
    path.pathBoxText = std::string(chosen);
    if (findLeft(name, ".") == -1) {
        path.pathBoxText += ".csv";
        name += ".csv";
    }
    path.packageBaseName = leftBytes(name, findRight(name, ".") - 1);
    path.accepted = !path.packageBaseName.empty();
    if (!path.accepted) path.pathBoxText.clear();
    return path;
}

PackagePath choosePackagePath(std::string_view chosen, ListActionServices& services) {
    PackagePath path = splitPackagePath(chosen);
    if (!path.accepted) services.showMessage("提示", "请检查文件名是否正确！");
    return path;
}

}  // namespace quorvane
