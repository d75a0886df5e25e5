#pragma once
// The package path chosen with "更改": the text of 编辑框3, PackageFolder and
// PackageBaseName.
#include "app/item_list/list_services.h"

#include <string>
#include <string_view>

namespace quorvane {

struct PackagePath {
    std::string pathBoxText;      // 编辑框3; empty when refused
    std::string packageFolder;    // up to and including the last "\"
    std::string packageBaseName;  // the file name before its last "."
    bool accepted = false;        // false: the name gives no base name

    bool operator==(const PackagePath&) const = default;
};

// A file name without "." gets ".csv". Both "\" and "." are looked for on
// GBK character boundaries, and "." only in the file name.
PackagePath splitPackagePath(std::string_view chosen);

// The split, with "请检查文件名是否正确！" shown when it is refused.
PackagePath choosePackagePath(std::string_view chosen, ListActionServices& services);

}  // namespace quorvane
