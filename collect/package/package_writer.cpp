#include "collect/package/package_writer.h"

#include "collect/package/package_cleanup.h"
#include "collect/package/package_format.h"
#include "text/codepage.h"
#include "text/files.h"
#include "text/search.h"

#include <algorithm>
#include <optional>

namespace quorvane {

bool appendPackageRow(const ItemFields& fields, int packageFormat, RunState& run,
                      const std::function<void()>& alsoUnderLock) {
    const std::optional<std::string> row = buildPackageRow(fields, packageFormat);
    if (!row) return false;
    std::lock_guard guard(run.lock);
    // Once the run's end is claimed its package text is final: a worker that
    // a stop left computing must not add a row that the file will not hold.
    if (run.runEndClaimed) return false;
    run.PackageText += *row;
    ++run.SuccessCount;
    if (alsoUnderLock) alsoUnderLock();
    return true;
}

bool writeDataPackage(RunState& run, const PackageWriteCall& call, const PackageWriterSeams& seams) {
    const PackageWriteOptions options = seams.readOptions ? seams.readOptions() : PackageWriteOptions{};
    const bool lastWorker = call.caller == PackageCaller::LastWorker;
    // A missing seam is skipped rather than thrown from a worker thread.
    const LogSink log = [&seams](const std::string& message) {
        if (seams.log) seams.log(message);
    };

    std::string text;
    int runTotal = 0, successes = 0, failures = 0;
    {
        std::lock_guard guard(run.lock);
        text = run.PackageText;
        runTotal = run.RunTotal;
        successes = run.SuccessCount;
        failures = run.FailureCount;
    }

    if (lastWorker && options.removePromotionTables && findLeft(text, "TABLE", 1, true) > 0) {
        log("  根据设置，正在进行去除促销表格处理……");
        text = removePromotionTables(text);
        log("  促销表格处理完毕");
    }

    // The stop handler's test respects letter case, the last worker's does not.
    const bool hasLinks = lastWorker ? findLeft(text, "href", 1, true) > 0 : text.find("href") != std::string::npos;
    if (options.hyperlinks != HyperlinkHandling::Keep && hasLinks) {
        log("  根据设置，正在进行描述超链接处理……");
        text = options.hyperlinks == HyperlinkHandling::Remove ? removeHyperlinks(text)
                                                               : redirectHyperlinks(text, options.replacementAddress);
        log("  描述超链接处理完毕");
    }

    if (lastWorker) {
        {
            std::lock_guard guard(run.lock);
            run.PackageText = text;
        }
        log("  线程：" + std::to_string(call.workerNumber) + " 第：" + std::to_string(call.lastItemNumber) + "/" +
            std::to_string(runTotal) + " 个宝贝 下载完成！成功： " + std::to_string(successes) +
            " 失败：" + std::to_string(failures) + " 正在写文件...");
    }

    const bool written = writeWholeFile(gbkToWide(options.packagePath), packageFileText(text, options.packageFormat));
    log(written ? " 文件写成功！" : " 文件写失败！");
    log(" 数据包存放位置" + options.packagePath);
    if (seams.setPackagePathText) seams.setPackagePathText(std::string(PackagePathHint));
    return written;
}

}  // namespace quorvane
