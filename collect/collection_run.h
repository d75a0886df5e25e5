#pragma once
// One collection run: five workers take the item list's rows one by one,
// fetch each item, run its steps and append its package row; the worker that
// finishes last writes the package. Pause and stop are cooperative: workers
// wait and leave at safe points between steps, and a stop abandons the
// requests in flight instead of killing threads, which could leave a lock of
// the allocator, WinINet or COM held for good.
#include "collect/api_access.h"
#include "collect/package_writer.h"
#include "collect/request_limit.h"
#include "collect/run_state.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvane {

struct CollectionRow {
    std::string name;
    std::string itemId;
};

// How a run ended, for the interface: the rows to remove and the counts.
struct RunOutcome {
    std::vector<int> copiedRows;  // positions in the list as the run started, ascending
    int total = 0;
    int succeeded = 0;
    int failed = 0;
    bool packageWritten = false;
};

// What the workers need of the interface; called on worker threads, so the
// implementations hand their effects to the interface thread in order.
struct CollectionSeams {
    LogSink log;
    std::function<void(int row)> rowCopied;  // select the row of a copied item
    std::function<int()> packageFormat;      // the saved layout mirror, 4 or 5
    PackageWriterSeams writer;
    // After the last worker's package write: remove the rows, show the
    // summary, back to idle.
    std::function<void(const RunOutcome&)> runEnded;
};

class CollectionRun : public std::enable_shared_from_this<CollectionRun> {
public:
    static constexpr int kWorkers = 5;

    CollectionRun(std::vector<CollectionRow> rows, ApiAccessList access, CollectionSeams seams,
                  RequestLimit limit = {});
    ~CollectionRun();

    // PackageFolder and PackageBaseName are set here before start().
    RunState& state() { return state_; }

    void start();
    void pause();
    void resume();

    // Ends the run early unless its last worker has claimed the end already
    // (then false, and that end completes by itself). The workers are
    // stopped first; with writePackage the finished rows are then written.
    bool stop(bool writePackage, RunOutcome& outcome);

    // True once every worker has left (tests and the stop use it).
    bool waitUntilWorkersLeft(int limitMs);

private:
    void collectItems(int worker);
    bool waitWhilePaused();  // false when the run is stopping
    void emit(const std::function<void()>& effect);
    RunOutcome outcome(bool written);

    std::vector<CollectionRow> rows_;
    ApiAccessList access_;
    CollectionSeams seams_;
    RequestLimit limit_;
    RunState state_;
    std::vector<int> copiedRows_;  // under state_.lock

    std::mutex gateLock_;
    std::condition_variable gate_;
    bool paused_ = false;
    bool stopping_ = false;
    int workersLeft_ = 0;
    void* cancel_;  // set when stopping: ends the requests in flight
};

}  // namespace quorvane
