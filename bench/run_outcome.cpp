#include "bench/run_outcome.h"

#include "tests/support/gui_driver.h"

#include <algorithm>

namespace quorvane::bench {
namespace {

// Records and fields of CSV text: quoted fields may hold commas, quotes
// (doubled) and line breaks.
std::vector<std::vector<std::string>> csvRecords(const std::string& text) {
    std::vector<std::vector<std::string>> records(1);
    std::string field;
    bool quoted = false;
    records.back().emplace_back();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& current = records.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') current += text[++i];
            else if (c == '"') quoted = false;
            else current += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            if (i + 1 < text.size()) records.emplace_back(1);
        } else {
            current += c;
        }
    }
    return records;
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// The 32-hex names of a picture field, each before its ":".
std::vector<std::string> fieldPictureNames(const std::string& field) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at + 33 <= field.size(); ++at) {
        if (field[at + 32] != ':' || (at > 0 && isHex(field[at - 1]))) continue;
        if (std::all_of(field.begin() + static_cast<std::ptrdiff_t>(at),
                        field.begin() + static_cast<std::ptrdiff_t>(at + 32), isHex))
            names.push_back(field.substr(at, 32));
    }
    return names;
}

// Every path under the picture folder that a description names, up to the
// first character that cannot belong to it.
std::vector<std::string> namedPaths(const std::string& text, const std::string& folder) {
    std::vector<std::string> paths;
    for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at + 1)) {
        std::size_t end = at + folder.size();
        while (end < text.size() && std::string_view("\"'<> \t\r\n)").find(text[end]) == std::string_view::npos)
            ++end;
        paths.push_back(text.substr(at, end - at));
    }
    return paths;
}

bool isPrefixOfAny(const std::string& bytes, const std::set<std::string>& pictures) {
    return std::any_of(pictures.begin(), pictures.end(), [&](const std::string& picture) {
        return bytes.size() < picture.size() && picture.compare(0, bytes.size(), bytes) == 0;
    });
}

void listSome(std::FILE* out, const char* what, const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size() && i < 3; ++i) std::fprintf(out, "  %s: %s\n", what, paths[i].c_str());
}

}  // namespace

void readPackage(const std::string& packagePath, const std::set<std::string>& servedPictures,
                 const std::function<bool(const std::string&)>& sentAsGarbage, RunOutcomeFigures& figures) {
    const std::optional<std::string> text = test::readFile(packagePath);
    if (!text) return;
    figures.packageRead = true;
    const std::vector<std::vector<std::string>> records = csvRecords(*text);
    // 5.X: a version line, the English names, the Chinese names; 4.X: one line of names.
    std::size_t first = 0, idColumn = 0, pictureColumn = 0;
    std::vector<std::size_t> descriptionColumns;
    for (std::size_t r = 0; r < std::min<std::size_t>(records.size(), 3); ++r) {
        const std::vector<std::string>& names = records[r];
        const auto column = [&](std::string_view name) {
            return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
        };
        if (column("num_id") < names.size()) {
            idColumn = column("num_id");
            pictureColumn = column("picture");
            descriptionColumns = {column("description"), column("wireless_desc")};
            first = r + (r == 0 ? 1 : 2);
            break;
        }
    }
    const std::string folder = packagePath.substr(0, packagePath.size() - 4);
    auto checkPicture = [&](const std::string& path) {
        ++figures.picturesNamed;
        const std::optional<std::string> bytes = test::readFile(path);
        if (!bytes) figures.picturesMissing.push_back(path);
        else if (servedPictures.count(*bytes)) return;
        else if (sentAsGarbage(*bytes)) ++figures.picturesGarbageAsSent;
        else if (isPrefixOfAny(*bytes, servedPictures)) figures.picturesTruncated.push_back(path);
        else if (bytes->find("Internal Server Error") != std::string::npos) figures.picturesErrorPages.push_back(path);
        else figures.picturesOther.push_back(path);
    };
    for (std::size_t r = first; r < records.size(); ++r) {
        const std::vector<std::string>& row = records[r];
        if (row.size() <= idColumn) continue;
        ++figures.packageRows;
        ++figures.packageRowsById[row[idColumn]];
        if (pictureColumn < row.size())
            for (const std::string& name : fieldPictureNames(row[pictureColumn]))
                checkPicture(folder + "\\" + name + ".tbi");
        for (std::size_t column : descriptionColumns)
            if (column < row.size())
                for (const std::string& path : namedPaths(row[column], folder + "\\")) checkPicture(path);
    }
}

bool reportOutcome(const RunOutcomeFigures& f, std::FILE* out) {
    bool allHold = f.packageRead;
    auto check = [&](bool holds, const char* what) {
        std::fprintf(out, "  %-6s %s\n", holds ? "holds" : "FAILS", what);
        allHold = allHold && holds;
    };
    std::fprintf(out, "outcome                 %d rows in the package, %d left in the list, of %d\n", f.packageRows,
                 f.listRowsAfter, f.listRowsBefore);
    std::fprintf(out, "summary                 total %d, copied %d, failed %d\n", f.summaryTotal, f.summaryCopied,
                 f.summaryFailed);
    bool everyItem = f.packageRows + f.listRowsAfter == f.listRowsBefore;
    for (const auto& [id, count] : f.listRowsBeforeById) {
        const auto inPackage = f.packageRowsById.find(id);
        const auto inList = f.listRowsById.find(id);
        const int ended = (inPackage == f.packageRowsById.end() ? 0 : inPackage->second) +
                          (inList == f.listRowsById.end() ? 0 : inList->second);
        if (ended != count) {
            std::fprintf(out, "  item %s: %d in the list before, %d after the run in the package or the list\n",
                         id.c_str(), count, ended);
            everyItem = false;
        }
    }
    check(everyItem, "every item is in the package or still in the list");
    check(f.summaryTotal == f.listRowsBefore && f.summaryCopied == f.packageRows &&
              f.summaryFailed == f.listRowsBefore - f.packageRows,
          "the summary agrees with the package");
    std::fprintf(out, "pictures named          %d: %zu missing, %zu truncated, %zu error pages, %zu other bytes,"
                 " %d garbage as the marketplace sent it\n",
                 f.picturesNamed, f.picturesMissing.size(), f.picturesTruncated.size(), f.picturesErrorPages.size(),
                 f.picturesOther.size(), f.picturesGarbageAsSent);
    listSome(out, "missing", f.picturesMissing);
    listSome(out, "truncated", f.picturesTruncated);
    listSome(out, "error page", f.picturesErrorPages);
    listSome(out, "other bytes", f.picturesOther);
    check(f.picturesMissing.empty(), "every picture named in the package exists");
    check(f.picturesTruncated.empty() && f.picturesErrorPages.empty() && f.picturesOther.empty(),
          "every picture named holds the bytes it was sent with");
    return allHold;
}

}  // namespace quorvane::bench
