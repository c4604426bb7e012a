#pragma once
// The table of many machines' runs written as CSV and as one self-contained HTML page. Every text comes from
// files other machines wrote, so both writers escape all of it, and the page links only to what it may.
#include <optional>
#include <string>
#include <vector>

#include "reports/FleetTable.h"

namespace velmora {

// "failed: window-not-found 3; installer ended; 0:02:31", "done; exit 0; 0:01:10".
std::string CellText(const ReportedPackage& package);

// RFC 4180 with a UTF-8 mark (for spreadsheets that would guess the ANSI code page): every field quoted, and
// a field that a spreadsheet would take for a formula (= + - @) starts with an apostrophe.
std::string FleetCsv(const FleetTable& table);

// Where the page finds the reports: their folder relative to the page ("" beside them, "../reports/"; none
// when it cannot be said), and the names of the files in it. A screenshot found there (a ".png" file, no
// other name a report gives) is linked from its cell, a computer's name to its report when it was read as
// one. Cells a row does not have are joined into one, so the page grows with what the reports hold, not
// with rows times columns.
struct FleetLinks {
    std::optional<std::string> folder;
    std::vector<std::string> names;
};
std::string FleetHtml(const FleetTable& table, const FleetLinks& links);

// The second folder as seen from the first, with "/" and a trailing one ("../reports/"), both given the same
// way (relative to one folder, or both from a root); nothing when that cannot be told from the names alone.
std::optional<std::string> RelativeFolder(const std::string& from, const std::string& to);

}  // namespace velmora
