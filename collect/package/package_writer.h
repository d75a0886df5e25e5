// collect/package: the road's end: the data package's CSV format, each item's row appended
// to the run's package text, and the writer's clean-up and file at the end of a run.

#pragma once
// Adding an item's row to the run's package text, and writing the package
// file at the end of a run or on a stop.
#include "collect/item/item_fields.h"
#include "collect/run/log_line.h"
#include "collect/run/run_state.h"

#include <functional>
#include <string>
#include <string_view>

namespace quorvane {

inline constexpr std::string_view PackagePathHint = "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！";

// Appends the item's row (layout of packageFormat, 4 or 5) to PackageText,
// counts the success and calls alsoUnderLock, all in one hold of the run
// lock, so that what the caller records of the row (that its item was
// copied) can never be seen apart from the row. False, and nothing appended
// or called, when the title is empty, a bare value is unsafe or the run's
// end has been claimed.
bool appendPackageRow(const ItemFields& fields, int packageFormat, RunState& run,
                      const std::function<void()>& alsoUnderLock = {});

enum class PackageCaller { LastWorker, StopHandler };

struct PackageWriteCall {
    PackageCaller caller = PackageCaller::LastWorker;
    // The last worker's number and its last item number (0 when it took
    // none), for the summary line.
    int workerNumber = 0;
    int lastItemNumber = 0;
};

enum class HyperlinkHandling {
    Redirect,  // 单选框3: every link target becomes the replacement address
    Remove,    // 单选框4
    Keep,      // 单选框5
};

// The settings the writer reads at the moment it writes.
struct PackageWriteOptions {
    int packageFormat = 5;               // the saved layout, 4 or 5
    bool removePromotionTables = false;  // 选择框4
    HyperlinkHandling hyperlinks = HyperlinkHandling::Keep;
    std::string replacementAddress;  // 编辑框4
    std::string packagePath;         // 编辑框3
};

// What the writer reads from and does to the windows; the caller provides it.
struct PackageWriterSeams {
    std::function<PackageWriteOptions()> readOptions;
    std::function<void(const std::string&)> setPackagePathText;  // 编辑框3
    LogSink log;
};

// Post-processes the package text by the options, writes the file (GBK,
// header first) to the package path, logs each step and resets the package
// path box to its hint. The last worker's clean-up also removes promotion
// tables and tests for links in any letter case, and its result stays in
// PackageText; the stop handler's works on a copy taken under the run lock.
// True when the file was written.
bool writeDataPackage(RunState& run, const PackageWriteCall& call, const PackageWriterSeams& seams);

}  // namespace quorvane
