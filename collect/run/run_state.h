#pragma once
// The values one collection run shares between its five workers and the
// interface thread. The run lock guards the take of an item, the append of a
// row with its success count, the finish count and the run-end claim; it is
// held only for those short steps, never across a request, a file operation
// or a window update.
#include <mutex>
#include <string>

namespace quorvane {

struct RunState {
    std::mutex lock;
    // Guards the category cache files (download and rewrite, the archive
    // fallback, gzip.dll); held across requests and file operations, and
    // new with every run like the run lock.
    std::mutex CategoryCacheLock;

    int RunTotal = 0;
    int NextItemCounter = 0;
    int SuccessCount = 0;
    int FailureCount = 0;
    int FinishedWorkers = 0;
    bool runEndClaimed = false;

    // One row per copied item, fields quoted with the placeholder.
    std::string PackageText;
    std::string PackageFolder;  // ends with "\"
    std::string PackageBaseName;

    // For the run start, while no worker exists; the folder and name are
    // set by the run start or the path chooser on their own.
    void reset(int runTotal) {
        RunTotal = runTotal;
        NextItemCounter = 0;
        SuccessCount = 0;
        FailureCount = 0;
        FinishedWorkers = 0;
        runEndClaimed = false;
        PackageText.clear();
    }
};

}  // namespace quorvane
