#include "collect/run/collection_run.h"

#include "collect/descriptions/description_pictures.h"
#include "collect/descriptions/descriptions.h"
#include "collect/item/item_data.h"
#include "collect/item/item_fields.h"
#include "collect/item/item_page_fields.h"
#include "collect/pictures/item_pictures.h"
#include "collect/properties/category_cache.h"
#include "collect/properties/item_properties.h"
#include "collect/properties/property_matching.h"
#include "collect/run/worker_state.h"
#include "net/answer_bounds.h"
#include "net/request_thread.h"
#include "text/com.h"
#include "text/thread_name.h"

#include <windows.h>

#include <algorithm>
#include <thread>

namespace quorvane {
namespace {

std::string number(int n) { return std::to_string(n); }

// What the exception being handled says, for its log line.
std::string exceptionText() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "未知错误";
    }
}

}  // namespace

CollectionRun::CollectionRun(std::vector<CollectionRow> rows, ApiAccessList access, CollectionSeams seams)
    : rows_(std::move(rows)),
      access_(std::move(access)),
      seams_(std::move(seams)),
      cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    state_.reset(static_cast<int>(rows_.size()));
}

CollectionRun::~CollectionRun() {
    if (cancel_) CloseHandle(cancel_);
}

void CollectionRun::start() {
    for (int worker = 1; worker <= kWorkers; ++worker) {
        {
            std::lock_guard lock(gateLock_);
            ++threadsRunning_;
        }
        try {
            std::thread([self = shared_from_this(), worker] { self->collectionThreadEntry(worker); }).detach();
        } catch (...) {
            // A worker that cannot start has taken nothing; it still counts
            // as finished, or the run would never end.
            logFailure("线程：" + number(worker) + "  无法启动！");
            finishWorker(worker, 0);
        }
    }
}

void CollectionRun::pause() {
    std::lock_guard lock(gateLock_);
    paused_ = true;
}

void CollectionRun::resume() {
    {
        std::lock_guard lock(gateLock_);
        paused_ = false;
    }
    gate_.notify_all();
}

bool CollectionRun::waitWhilePaused() {
    std::unique_lock lock(gateLock_);
    gate_.wait(lock, [&] { return !paused_ || stopping_; });
    return !stopping_;
}

// A stopped run's workers may still be finishing a step: what they would
// show goes nowhere.
void CollectionRun::emit(const std::function<void()>& effect) {
    {
        std::lock_guard lock(gateLock_);
        if (stopping_) return;
    }
    effect();
}

void CollectionRun::logFailure(const std::string& message) {
    if (seams_.log) emit([&] { seams_.log(message); });
}

RunOutcome CollectionRun::outcome(RunEnding ending, bool written) {
    std::lock_guard lock(state_.lock);
    RunOutcome result;
    result.ending = ending;
    result.copiedRows = copiedRows_;
    std::sort(result.copiedRows.begin(), result.copiedRows.end());
    result.total = state_.RunTotal;
    result.succeeded = state_.SuccessCount;
    result.failed = state_.FailureCount;
    result.packageWritten = written;
    return result;
}

bool CollectionRun::stop(bool writePackage) {
    {
        std::lock_guard lock(state_.lock);
        if (state_.runEndClaimed) return false;
        state_.runEndClaimed = true;
    }
    {
        std::lock_guard lock(gateLock_);
        stopping_ = true;
        ++threadsRunning_;
    }
    SetEvent(cancel_);
    gate_.notify_all();
    try {
        std::thread([self = shared_from_this(), writePackage] { self->finishStop(writePackage); }).detach();
    } catch (...) {
        finishStop(writePackage);
    }
    return true;
}

// Abandoned requests return at once; a step that computes a while longer is
// waited for a bounded time and then left to end by itself: the package copy
// is taken under the run lock, so it holds whole rows only.
void CollectionRun::finishStop(bool writePackage) {
    waitUntilWorkersLeft(kStopWaitMs);
    {
        std::lock_guard lock(state_.lock);
        state_.FailureCount = state_.RunTotal - state_.SuccessCount;
    }
    bool written = false;
    try {
        if (writePackage) written = writeDataPackage(state_, {.caller = PackageCaller::StopHandler}, seams_.writer);
    } catch (...) {
        written = false;
    }
    const RunOutcome result =
        outcome(writePackage ? RunEnding::StopWithPackage : RunEnding::StopWithoutPackage, written);
    if (seams_.runEnded) seams_.runEnded(result);
    {
        std::lock_guard lock(gateLock_);
        --threadsRunning_;
    }
    gate_.notify_all();
}

bool CollectionRun::endForExit(int limitMs) {
    stop(false);
    std::unique_lock lock(gateLock_);
    return gate_.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return threadsRunning_ == 0; });
}

bool CollectionRun::waitUntilWorkersLeft(int limitMs) {
    std::unique_lock lock(gateLock_);
    return gate_.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return workersLeft_ == kWorkers; });
}

// No exception may end the program from a worker: the item in hand fails,
// and a worker that cannot go on still counts as finished.
void CollectionRun::collectionThreadEntry(int worker) {
    int lastItem = 0;
    try {
        lastItem = collectItems(worker);
    } catch (...) {
        logFailure("线程：" + number(worker) + "  出错退出：" + exceptionText());
    }
    finishWorker(worker, lastItem);
}

int CollectionRun::collectItems(int worker) {
    nameCurrentThread((L"worker " + std::to_wstring(worker)).c_str());
    ComScope com;
    setRequestCancelEvent(cancel_);
    WorkerRegexes regexes;
    AccessRotation access(access_);
    int k = 0;
    const int total = state_.RunTotal;
    while (waitWhilePaused() && !access_.empty()) {
        const ApiAccessRecord& record = access.next();
        {
            std::lock_guard lock(state_.lock);
            if (state_.NextItemCounter >= state_.RunTotal) break;
            k = ++state_.NextItemCounter;
        }
        const CollectionRow& row = rows_[static_cast<std::size_t>(k - 1)];
        const WorkerProgress progress{[this](const std::string& message) {
                                          if (seams_.log) emit([&] { seams_.log(message); });
                                      },
                                      worker, k, total};
        progress.log("线程：" + number(worker) + "  开始下载 第：" + number(k) + "/" + number(total) +
                     " 个宝贝:" + row.name);
        const ScopedOversizedAnswerLog oversizedLog([progress, worker](const std::string& address, std::size_t bound) {
            progress.log("线程：" + number(worker) + "  " + oversizedAnswerMessage(address, bound));
        });
        try {
            const Bytes data = fetchItemData(row.itemId, record.key, record.secret);
            if (!waitWhilePaused()) break;
            ItemFields item;
            item.itemId = row.itemId;
            const PageFieldsCheck check = readItemPageFields(item, data, regexes, progress);
            if (!waitWhilePaused()) break;
            const int format = seams_.packageFormat ? seams_.packageFormat() : 5;
            // A refused item gets no row: its other steps would only ask in vain.
            if (check == PageFieldsCheck::Ok) {
                readItemProperties(item, regexes);
                buildFoodSafetyField(item);
                if (!waitWhilePaused()) break;
                loadCategoryProperties(item, {seams_.categoryCacheFolder, &state_.CategoryCacheLock}, seams_.options);
                if (!waitWhilePaused()) break;
                matchProperties(item, regexes, seams_.options);
                readDescriptions(item, progress);
                if (!waitWhilePaused()) break;
                const std::string pictureFolder = state_.PackageFolder + state_.PackageBaseName;
                if (seams_.downloadDescriptionPictures && seams_.downloadDescriptionPictures() > 0) {
                    fetchDescriptionPictures(item, {pictureFolder, seams_.pictureFailurePolicy}, regexes, progress);
                    if (!waitWhilePaused()) break;
                }
                fetchItemPictures(item, {pictureFolder, format}, seams_.options, regexes, progress);
                if (!waitWhilePaused()) break;
                finishSaleProperties(item, seams_.options);
            }
            // The row and its record as copied are one step, so that a stop can
            // never see one without the other.
            if (check == PageFieldsCheck::Ok &&
                appendPackageRow(item, format, state_, [&] { copiedRows_.push_back(k - 1); })) {
                if (seams_.rowCopied) emit([&] { seams_.rowCopied(k - 1); });
            }
        } catch (...) {
            progress.log("线程：" + number(worker) + "  第：" + number(k) + "/" + number(total) + " 个宝贝 出错：" +
                         exceptionText());
        }
        progress.log(" 线程：" + number(worker) + " 第：" + number(k) + "/" + number(total) + " 个宝贝 下载完成！");
    }
    setRequestCancelEvent(nullptr);
    return k;
}

void CollectionRun::finishWorker(int worker, int lastItem) {
    bool endsRun = false;
    {
        std::lock_guard lock(state_.lock);
        ++state_.FinishedWorkers;
        if (state_.FinishedWorkers == kWorkers && !state_.runEndClaimed) {
            state_.runEndClaimed = true;
            endsRun = true;
            state_.FailureCount = state_.RunTotal - state_.SuccessCount;
        }
    }
    if (endsRun) {
        bool written = false;
        try {
            written = writeDataPackage(
                state_, {.caller = PackageCaller::LastWorker, .workerNumber = worker, .lastItemNumber = lastItem},
                seams_.writer);
        } catch (...) {
            logFailure("  数据包写入出错：" + exceptionText());
        }
        if (seams_.runEnded) seams_.runEnded(outcome(RunEnding::LastWorker, written));
    }
    {
        std::lock_guard lock(gateLock_);
        ++workersLeft_;
        --threadsRunning_;
    }
    gate_.notify_all();
}

}  // namespace quorvane
