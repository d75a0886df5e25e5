#include "app/handlers/handlers.h"

#include "app/handlers/address_state.h"
#include "app/handlers/process_state.h"
#include "app/handlers/stored_pages.h"

#include "app/options/file_store.h"
#include "app/options/option_mirrors.h"
#include "app/runtime/batched_post.h"
#include "app/runtime/runtime.h"
#include "app/runtime/ui_thread.h"
#include "app/runtime/window.h"
#include "app/windows/templates.h"
#include "collect/run/collection_run.h"
#include "collect/run/log_line.h"
#include "text/bytes.h"
#include "text/clock.h"
#include "text/codepage.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <vector>

namespace quorvane {
namespace {

constexpr int kMaxItemsPerRun = 1000;
constexpr const char* kMainWindow = "MainWindow";

// The run in progress or the last one; its outcome feeds the summary.
std::shared_ptr<CollectionRun> currentRun;
// From the start of a run until its end has been applied here; a click that
// was queued behind the run's end finds it false and does nothing.
bool runActive = false;
bool runStopping = false;  // a stop was asked; the workers are leaving
RunOutcome lastOutcome;
std::string packageFolder;
std::string packageBaseName;

ui::Window& mainWindow() { return *ui::findWindow(kMainWindow); }

void appendLogLine(const std::string& line) { mainWindow()["编辑框2"].appendText(line); }

void appendLogLines(std::vector<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    appendLogLine(text);
}

// Log lines take their time where they are issued and show in that order;
// the lines that come while the interface is busy are appended in one go.
// Never destroyed: a worker that outlives the program's end may still log.
const ui::BatchedPost<std::string>& postedLogLines = *new ui::BatchedPost<std::string>(appendLogLines);

void postLogLine(const std::string& message) { postedLogLines(logLineText(message)); }

// The rows of copied items are selected in batches like the log lines.
const ui::BatchedPost<int>& copiedRowSelections = *new ui::BatchedPost<int>([](std::vector<int> rows) {
    mainWindow()["超级列表框1"].selectRows(rows);
});

void setRunning(bool running) {
    ui::Window& window = mainWindow();
    for (const char* name : {"开始", "添加到列表", "添加到列表1", "添加到列表2", "超级列表框1", "按钮6", "按钮7"})
        window[name].setDisabled(running);
    window["暂停按钮"].setDisabled(!running);
    window["停止按钮"].setDisabled(!running);
}

void updateItemCounter() {
    ui::Window& window = mainWindow();
    window["透明标签4"].setText(std::to_string(window["超级列表框1"].rowCount()));
}

// Exactly the rows the run copied leave the list, by position.
void removeCopiedRows(const RunOutcome& outcome) {
    mainWindow()["超级列表框1"].deleteRows(outcome.copiedRows);
    updateItemCounter();
}

// The end of a run, on the interface thread, whoever ended it. The copied
// rows leave the list only when the package holding them was written.
void applyRunEnd(const RunOutcome& outcome) {
    runActive = false;
    runStopping = false;
    lastOutcome = outcome;
    addressState().pastedAddressList.clear();
    if (outcome.ending != RunEnding::StopWithoutPackage) {
        if (outcome.packageWritten) removeCopiedRows(outcome);
        mainWindow()["pms"].click();
    }
    setRunning(false);
}

// The shell makes a desktop folder that is missing: the package folder is
// created in it with one level only, and the package would be lost.
std::string desktopFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
    std::string folder = wideToGbk(path);
    if (!folder.ends_with("\\")) folder += "\\";
    return folder;
}

// The default package file on the desktop, named by the time in seconds.
void fixDefaultPackagePath() {
    const std::string folder = desktopFolder() + "Karvello生成数据包\\";
    createFolder(gbkToWide(folder));
    const std::string name = "csv" + epochTimeText(true);
    mainWindow()["编辑框3"].setText(folder + name + ".csv");
    packageFolder = folder;
    packageBaseName = name;
}

PackageWriteOptions currentWriteOptions() {
    auto value = [](const char* name) { return ui::cachedValue(kMainWindow, name); };
    PackageWriteOptions options;
    options.packageFormat = optionMirrors().packageFormat.load();
    options.removePromotionTables = value("选择框4").checked;
    options.hyperlinks = value("单选框3").checked   ? HyperlinkHandling::Redirect
                         : value("单选框4").checked ? HyperlinkHandling::Remove
                                                    : HyperlinkHandling::Keep;
    options.replacementAddress = value("编辑框4").text;
    options.packagePath = value("编辑框3").text;
    return options;
}

CollectionSeams runSeams() {
    CollectionSeams seams;
    seams.log = postLogLine;
    seams.rowCopied = [](int row) { copiedRowSelections(row); };
    seams.packageFormat = [] { return optionMirrors().packageFormat.load(); };
    seams.downloadDescriptionPictures = [] { return optionMirrors().downloadDescriptionPictures.load(); };
    seams.pictureFailurePolicy = [] { return optionMirrors().pictureFailurePolicy.load(); };
    seams.options.checked = [](std::string_view box) { return ui::cachedValue(kMainWindow, box).checked; };
    seams.categoryCacheFolder = optionsFolder();
    seams.writer.readOptions = currentWriteOptions;
    seams.writer.setPackagePathText = [](const std::string& text) {
        ui::post([text] { mainWindow()["编辑框3"].setText(text); });
    };
    seams.writer.log = postLogLine;
    seams.runEnded = [](const RunOutcome& outcome) { ui::post([outcome] { applyRunEnd(outcome); }); };
    return seams;
}

}  // namespace

void setPackageLocation(std::string folder, std::string baseName) {
    packageFolder = std::move(folder);
    packageBaseName = std::move(baseName);
}

bool runInProgress() { return runActive; }

void onStartClicked() {
    if (runActive || addressAnalysisRunning()) return;
    ui::Window& window = mainWindow();
    ui::Component list = window["超级列表框1"];
    if (list.rowCount() == 0) return;
    // An empty box (a refused file name) would leave the run without a file.
    const std::string path = window["编辑框3"].text();
    if (path == PackagePathHint || path.empty()) fixDefaultPackagePath();
    if (list.rowCount() > kMaxItemsPerRun) {
        ui::messageBox("每次采集数量不超过1000个，如超过，请按帮助拆分为几次分别采集！", "提示");
        return;
    }
    const std::string refusal = apiAccessRefusal(apiAccessList());
    if (!refusal.empty()) {
        ui::messageBox(refusal, "提示");
        return;
    }
    for (int row = list.rowCount() - 1; row >= 0; --row)
        if (list.cell(row, 3).empty()) list.deleteRow(row);
    appendLogLine(logLineText("  准备开始采集宝贝……"));
    updateItemCounter();
    if (window["选择框7"].checked()) ui::loadWindow(loginBrowserWindowTemplate(), true);

    // The workers take their rows from this copy; the list is locked meanwhile.
    std::vector<CollectionRow> rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        list.setRowSelected(row, false);
        rows.push_back({list.cell(row, 0), list.cell(row, 3)});
    }
    createFolder(gbkToWide(packageFolder + packageBaseName));
    currentRun = std::make_shared<CollectionRun>(std::move(rows), apiAccessList(), runSeams());
    currentRun->state().PackageFolder = packageFolder;
    currentRun->state().PackageBaseName = packageBaseName;
    runActive = true;
    currentRun->start();
    setRunning(true);
}

void onPauseClicked() {
    if (!runActive || runStopping) return;
    ui::Component button = mainWindow()["暂停按钮"];
    if (button.text() == "暂停") {
        if (currentRun) currentRun->pause();
        button.setText("继续");
    } else {
        if (currentRun) currentRun->resume();
        button.setText("暂停");
    }
}

void onStopClicked() {
    if (!runActive || runStopping) return;
    const int answer = ui::messageBox(
        "点< 是 >---中止并将已完成的宝贝生成数据包！\r\n\r\n点< 否 >---直接中止！\r\n\r\n点<取消>---不中止返回继续处理！",
        "是否将已完成的宝贝生成数据包！", MB_YESNOCANCEL | MB_ICONQUESTION);
    // The run may have ended by itself while the box was open.
    if (!runActive || runStopping || (answer != IDYES && answer != IDNO)) return;
    // When the last worker has taken the run's end already, that end
    // completes by itself. Otherwise the workers leave and the end arrives
    // as the run's outcome; the window stays responsive meanwhile, and
    // pause and stop have nothing more to act on.
    if (!currentRun->stop(answer == IDYES)) return;
    runStopping = true;
    mainWindow()["暂停按钮"].setDisabled(true);
    mainWindow()["停止按钮"].setDisabled(true);
}

bool stopRunAtExit() {
    // The workers end before the process's state goes; a step that
    // computes on past the limit ends with the process.
    return !currentRun || currentRun->endForExit(3000);
}

void resetRunState() {
    currentRun.reset();
    runActive = false;
    runStopping = false;
    lastOutcome = {};
    packageFolder.clear();
    packageBaseName.clear();
}

void onPmsClicked() { ui::loadWindow(runSummaryDialogTemplate(), false); }

void onRunSummaryCreated() {
    // Its own window: an earlier summary may still be open under the same name.
    ui::Window* dialog = ui::eventWindow();
    if (!dialog) return;
    (*dialog)["透明标签4"].setText("下载总数： " + std::to_string(lastOutcome.total));
    (*dialog)["透明标签2"].setText("成功下载： " + std::to_string(lastOutcome.succeeded));
    (*dialog)["透明标签3"].setText("下载失败： " + std::to_string(lastOutcome.failed));
    if (lastOutcome.failed != 0) (*dialog)["按钮1"].setVisible(true);
}

void onRunSummaryWhyFailedClicked() { openStoredPage(kWhyFailedPage); }

void onRunSummaryOpenFolderClicked() {
    ShellExecuteW(nullptr, L"open", gbkToWide(packageFolder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void onRunSummaryTutorialClicked() { openStoredPage(kTutorialPage); }

}  // namespace quorvane
