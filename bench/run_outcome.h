#pragma once
// What a faulty benchmark run left behind, checked from outside: the
// package against the summary and the list, and every picture it names
// against the picture folder.
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quorvane::bench {

struct RunOutcomeFigures {
    int listRowsBefore = 0;
    int listRowsAfter = 0;  // the rows left in the list after the run
    int summaryTotal = -1, summaryCopied = -1, summaryFailed = -1;
    int packageRows = 0;
    std::map<std::string, int> packageRowsById, listRowsById, listRowsBeforeById;
    int picturesNamed = 0;
    std::vector<std::string> picturesMissing;  // named, but no file
    // A file, but not the bytes of any picture served: a truncated picture,
    // an error page, or garbage the marketplace sent for it (no fault of the
    // program's: nothing tells it from a picture of an unknown kind).
    std::vector<std::string> picturesTruncated, picturesErrorPages, picturesOther;
    int picturesGarbageAsSent = 0;
    bool packageRead = false;
};

// The package at this path (format 5, or 4 with one header line): its rows
// by item id, and every picture its picture field, descriptions and
// wireless descriptions name, checked in the picture folder beside it
// against the bytes the marketplace serves (servedPictures).
void readPackage(const std::string& packagePath, const std::set<std::string>& servedPictures,
                 const std::function<bool(const std::string&)>& sentAsGarbage, RunOutcomeFigures& figures);

// Prints the checks; true when every one holds: every item of the list is in
// the package or still in the list, the summary agrees with the package,
// and every picture named exists whole.
bool reportOutcome(const RunOutcomeFigures& figures, std::FILE* out);

}  // namespace quorvane::bench
