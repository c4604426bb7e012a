#pragma once
// Many machines' run reports as one table: a row per machine and run, a column per package (in the order the
// reports first name them), the runs with failures first; written as CSV and as one self-contained HTML page.
// Every text comes from files other machines wrote, so both writers escape all of it.
#include <optional>
#include <string>
#include <vector>

#include "reports/ReportReader.h"

namespace velmora {

// One report file of the folder: its runs, or why it could not be read.
struct ReportFile {
    std::string name;
    std::vector<ReportedRun> runs;
    std::string error;
};

// A machine's run; or its runs, when one report file holds runs of one package each in a row (a deployment
// script starts velmora.exe once per package: a direct run plays one scenario). A run that plays a package
// the row already has starts a row of its own (the same file, the next night).
struct FleetRow {
    std::string file;
    std::string computer, user, started;        // of the first run
    std::string exitCode;                       // the worst of the runs': 2, unfinished (empty), 1, 3010, 0
    std::vector<const ReportedPackage*> cells;  // one per column; null where the machine did not play it
    int rank = 0;                               // 0 a package failed, 1 unfinished, 2 interrupted, 3 done
};

struct FleetTable {
    std::vector<std::string> packages;
    std::vector<FleetRow> rows;
};

// The table, pointing into `files`, which must outlive it.
FleetTable BuildFleetTable(const std::vector<ReportFile>& files);

// "failed: window-not-found 3; installer ended; 0:02:31", "done; exit 0; 0:01:10".
std::string CellText(const ReportedPackage& package);

// RFC 4180 with a UTF-8 mark (for spreadsheets that would guess the ANSI code page): every field quoted, and
// a field that a spreadsheet would take for a formula (= + - @) starts with an apostrophe.
std::string FleetCsv(const FleetTable& table);

// Where the page finds the reports: their folder relative to the page ("" beside them, "../reports/"; none
// when it cannot be said), and the names of the files in it. A screenshot found there is linked from its
// cell, a computer's name to its report.
struct FleetLinks {
    std::optional<std::string> folder;
    std::vector<std::string> names;
};
std::string FleetHtml(const FleetTable& table, const std::vector<ReportFile>& files, const FleetLinks& links);

// The second folder as seen from the first, with "/" and a trailing one ("../reports/"), both given the same
// way (relative to one folder, or both from a root); nothing when that cannot be told from the names alone.
std::optional<std::string> RelativeFolder(const std::string& from, const std::string& to);

}  // namespace velmora
