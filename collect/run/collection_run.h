// collect/run: the worker's loop over the item list: the run and its shared state, what each
// worker owns, the access records it rotates through and the lines of the progress log.

#pragma once
// One collection run: five workers take the item list's rows one by one,
// fetch each item, run its steps and append its package row; the worker that
// finishes last writes the package. Pause and stop are cooperative: workers
// wait and leave at safe points between steps, and a stop abandons the
// requests in flight instead of killing threads, which could leave a lock of
// the allocator, WinINet or COM held for good. Nothing here waits on the
// interface thread, and the interface thread never waits on a worker except
// at program exit.
#include "collect/package/package_writer.h"
#include "collect/run/api_access.h"
#include "collect/run/run_state.h"
#include "collect/run/worker_state.h"

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

enum class RunEnding {
    LastWorker,          // every row was taken and worked on
    StopWithPackage,     // stopped; the rows finished so far were written
    StopWithoutPackage,  // stopped; nothing written
};

// How a run ended, for the interface: the rows to remove and the counts.
struct RunOutcome {
    RunEnding ending = RunEnding::LastWorker;
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
    // The saved DownloadDescriptionPictures (above 0: download) and
    // PictureFailurePolicy mirrors; without them no description pictures
    // are downloaded, and a failed one is kept.
    std::function<int()> downloadDescriptionPictures;
    std::function<int()> pictureFailurePolicy;
    OptionBoxes options;                     // the settings page's check boxes, read at the moment of use
    std::wstring categoryCacheFolder;        // the options folder, ending with "\"
    PackageWriterSeams writer;
    // Once per run, after its end work: the last worker's package write, or
    // a stop's once its workers have left. Called on a thread of the run.
    std::function<void(const RunOutcome&)> runEnded;
};

class CollectionRun : public std::enable_shared_from_this<CollectionRun> {
public:
    static constexpr int kWorkers = 5;

    CollectionRun(std::vector<CollectionRow> rows, ApiAccessList access, CollectionSeams seams);
    ~CollectionRun();

    // PackageFolder and PackageBaseName are set here before start().
    RunState& state() { return state_; }

    void start();
    void pause();
    void resume();

    // Ends the run early unless its last worker has claimed the end already
    // (then false, and that end completes by itself). Returns at once: the
    // workers' requests are abandoned, and once they have left (or after a
    // bounded wait for a step that computes on) the finished rows are
    // written when asked and runEnded reports the outcome.
    bool stop(bool writePackage);

    // For program exit: stops the run without a package unless it has
    // ended, and waits at most limitMs until no thread of the run is left.
    bool endForExit(int limitMs);

    // True once every worker has left.
    bool waitUntilWorkersLeft(int limitMs);

    static constexpr int kStopWaitMs = 10000;

private:
    void collectionThreadEntry(int worker);
    int collectItems(int worker);  // the last item number taken, 0 for none
    void finishWorker(int worker, int lastItem);
    void finishStop(bool writePackage);
    bool waitWhilePaused();  // false when the run is stopping
    void emit(const std::function<void()>& effect);
    RunOutcome outcome(RunEnding ending, bool written);
    void logFailure(const std::string& message);

    std::vector<CollectionRow> rows_;
    ApiAccessList access_;
    CollectionSeams seams_;
    RunState state_;
    std::vector<int> copiedRows_;  // under state_.lock

    std::mutex gateLock_;
    std::condition_variable gate_;
    bool paused_ = false;
    bool stopping_ = false;
    int workersLeft_ = 0;
    int threadsRunning_ = 0;  // workers and the stop's finisher
    void* cancel_;  // set when stopping: ends the requests in flight
};

}  // namespace quorvane
