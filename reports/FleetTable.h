#pragma once
// Many machines' run reports as one table: a row per machine and run, a column per package (in the order the
// reports first name them), the runs with failures first. Reports reach it from every machine through one
// share, so any of them may be hostile: what one file and the whole folder may bring is bounded, and a file
// past a bound is left out with the reason, as one that cannot be read is.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "reports/ReportReader.h"

namespace velmora {

// How a row stands, worst first. A run that ends with a code other than 0, 1 and 3010 failed: 2, a run
// that played nothing (4: no desktop where a click can land; 5: no resume record it may play; 6: another
// instance holds the lock) and any code this table does not know.
enum class RowRank { Failed, Unfinished, Interrupted, Done };

// Whether a run that ended with this code stands with the failures.
bool IsFailureExitCode(const ReportedCode& code);

struct FleetCell {
    std::size_t column;
    ReportedPackage package;
};

// A machine's run; or its runs, when one report file holds runs of one package each in a row (a deployment
// script starts velmora.exe once per package: a direct run plays one scenario). A run that plays a package
// the row already has starts a row of its own (the same file, the next night).
struct FleetRow {
    std::string file;
    std::string computer, user, started;   // of the first run
    std::optional<ReportedCode> exitCode;  // the worst of the runs'; none: unfinished
    std::vector<FleetCell> cells;          // only the packages it played, by column
    RowRank rank = RowRank::Failed;
};

// A report file of the folder: read into the table, or left out with the reason.
struct ReportFile {
    std::string name;
    std::string error;              // empty: read
    bool pastFolderLimits = false;  // readable, but the folder brought more than one table takes
};

struct FleetTable {
    std::vector<std::string> packages;
    std::vector<FleetRow> rows;
    std::vector<ReportFile> files;
};

// What the whole folder may bring, so that many files each just within ReportLimits cannot exhaust the
// memory either; a file that would take the folder past one is left out.
struct FleetLimits {
    ReportLimits report;
    // Bytes of all files, which bound the time it takes: 5,000 machines with a 50 KB report each.
    std::size_t bytes = std::size_t{256} << 20;
    // Runs of all files: 10,000 machines' reports of ten runs each.
    std::size_t runs = 100000;
    // Packages of all runs: 5,000 machines with a hundred packages each.
    std::size_t packages = 500000;
    // The texts the table keeps (names, reasons, paths), which the page shows: those packages at about a
    // hundred bytes each. It bounds the page, which escapes them.
    std::size_t text = std::size_t{64} << 20;
    // Rows times columns: the CSV file has a field for each, empty or not. 20,000 machines with 500 packages.
    std::size_t fields = 10000000;
};

// Builds the table one report file at a time, in the order they come; each row points to its file by name.
class FleetTableBuilder {
  public:
    explicit FleetTableBuilder(const FleetLimits& limits = {}) : limits_(limits) {}
    // How much of a file to read: one byte more than a report may hold, so that a larger one is told apart.
    std::size_t ReadLimit() const { return limits_.report.bytes + 1; }
    // Reads the text into the table, or leaves the file out; what became of it.
    const ReportFile& Add(const std::string& name, std::string_view text);
    // A file that could not be opened or read.
    const ReportFile& AddUnreadable(const std::string& name, const std::string& error);
    // The table ranked, the runs with failures first; the builder is empty after it.
    FleetTable Finish();

  private:
    std::string PastFolderLimits(std::size_t bytes, const std::vector<ReportedRun>& runs) const;
    bool Joins(const std::string& file, const ReportedRun& run) const;
    std::size_t Column(const std::string& name);
    void AddRun(const std::string& file, ReportedRun& run);

    FleetLimits limits_;
    FleetTable table_;
    std::unordered_map<std::string, std::size_t> columns_;
    std::unordered_set<std::size_t> lastRowColumns_;
    std::size_t bytes_ = 0, runs_ = 0, packages_ = 0, text_ = 0;
};

}  // namespace velmora
