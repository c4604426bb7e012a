#include "reports/FleetTable.h"

#include <algorithm>
#include <tuple>

#include "reports/PackageRecord.h"

namespace velmora {
namespace {

// How a run's exit code stands, worst first: a failure (any code but 0, 1 and 3010, a number or not), none
// (the report ends before the run did), 1 (interrupted), 3010 (done, a restart asked for), 0.
int ExitStanding(const std::optional<ReportedCode>& code) {
    if (!code)
        return 1;
    if (IsFailureExitCode(*code))
        return 0;
    return *code->number == 1 ? 2 : *code->number == kRestartRunExitCode ? 3 : 4;
}

int ResultStanding(PackageResult result) {
    return result == PackageResult::Failed ? 0 : result == PackageResult::Interrupted ? 1 : 2;
}

RowRank Rank(const FleetRow& row) {
    bool interrupted = false;
    for (const FleetCell& cell : row.cells) {
        if (cell.package.result == PackageResult::Failed)
            return RowRank::Failed;
        interrupted = interrupted || cell.package.result == PackageResult::Interrupted;
    }
    switch (ExitStanding(row.exitCode)) {
        case 0:
            return RowRank::Failed;
        case 1:
            return RowRank::Unfinished;
        case 2:
            return RowRank::Interrupted;
        default:
            return interrupted ? RowRank::Interrupted : RowRank::Done;
    }
}

// What the runs bring to the table: packages, and bytes of text it keeps.
struct Tally {
    std::size_t packages = 0, text = 0;
};

Tally Count(const std::vector<ReportedRun>& runs) {
    Tally tally;
    for (const ReportedRun& run : runs) {
        tally.packages += run.packages.size();
        tally.text += run.computer.size() + run.user.size() + run.started.size() +
                      (run.exitCode ? run.exitCode->word.size() : 0);
        for (const ReportedPackage& p : run.packages)
            tally.text += p.number.size() + p.name.size() + p.detail.size() + p.installer.word.size() +
                          p.duration.size() + p.screenshot.size();
    }
    return tally;
}

}  // namespace

bool IsFailureExitCode(const ReportedCode& code) {
    return !code.number || (*code.number != 0 && *code.number != 1 && *code.number != kRestartRunExitCode);
}

const ReportFile& FleetTableBuilder::AddUnreadable(const std::string& name, const std::string& error) {
    table_.files.push_back({name, error, false});
    return table_.files.back();
}

const ReportFile& FleetTableBuilder::Add(const std::string& name, std::string_view text) {
    std::string error;
    std::optional<std::vector<ReportedRun>> runs = ReadRunReport(text, error, limits_.report);
    if (!runs)
        return AddUnreadable(name, error);
    if (std::string past = PastFolderLimits(text.size(), *runs); !past.empty()) {
        table_.files.push_back({name, past, true});
        return table_.files.back();
    }
    const Tally tally = Count(*runs);
    bytes_ += text.size();
    runs_ += runs->size();
    packages_ += tally.packages;
    text_ += tally.text;
    for (ReportedRun& run : *runs)
        AddRun(name, run);
    table_.files.push_back({name, {}, false});
    return table_.files.back();
}

// Why the file would take the folder past a limit; empty when it does not.
std::string FleetTableBuilder::PastFolderLimits(std::size_t bytes,
                                                const std::vector<ReportedRun>& runs) const {
    const std::string past = "with it the folder's reports pass ";
    const std::string why = ", more than one table takes";
    const Tally tally = Count(runs);
    if (bytes_ + bytes > limits_.bytes)
        return past + std::to_string(limits_.bytes >> 20) + " MB" + why;
    if (runs_ + runs.size() > limits_.runs)
        return past + std::to_string(limits_.runs) + " runs" + why;
    if (packages_ + tally.packages > limits_.packages)
        return past + std::to_string(limits_.packages) + " packages" + why;
    if (text_ + tally.text > limits_.text)
        return past + std::to_string(limits_.text >> 20) + " MB of texts to show" + why;
    // Counted as if every run were a row of its own: never fewer rows than that.
    std::unordered_set<std::string_view> added;
    for (const ReportedRun& run : runs) {
        for (const ReportedPackage& package : run.packages) {
            if (!columns_.contains(package.name))
                added.insert(package.name);
        }
    }
    const std::size_t rows = table_.rows.size() + runs.size(), columns = columns_.size() + added.size();
    if (columns > 0 && rows > limits_.fields / columns)
        return past + std::to_string(limits_.fields) + " fields (rows times columns)" + why;
    return {};
}

// Whether the run goes on the row before it: the same file and computer, and none of its packages there yet.
bool FleetTableBuilder::Joins(const std::string& file, const ReportedRun& run) const {
    if (table_.rows.empty() || table_.rows.back().file != file || table_.rows.back().computer != run.computer)
        return false;
    return std::none_of(run.packages.begin(), run.packages.end(), [&](const ReportedPackage& package) {
        const auto column = columns_.find(package.name);
        return column != columns_.end() && lastRowColumns_.contains(column->second);
    });
}

// The package's column, a new one at the end for a name not seen before.
std::size_t FleetTableBuilder::Column(const std::string& name) {
    const auto [column, added] = columns_.try_emplace(name, table_.packages.size());
    if (added)
        table_.packages.push_back(name);
    return column->second;
}

void FleetTableBuilder::AddRun(const std::string& file, ReportedRun& run) {
    if (Joins(file, run)) {
        std::optional<ReportedCode>& code = table_.rows.back().exitCode;
        if (ExitStanding(run.exitCode) < ExitStanding(code))
            code = std::move(run.exitCode);
    } else {
        table_.rows.push_back({file,
                               std::move(run.computer),
                               std::move(run.user),
                               std::move(run.started),
                               std::move(run.exitCode),
                               {},
                               RowRank::Failed});
        lastRowColumns_.clear();
    }
    std::vector<FleetCell>& cells = table_.rows.back().cells;
    for (ReportedPackage& package : run.packages) {
        const std::size_t column = Column(package.name);
        if (lastRowColumns_.insert(column).second) {
            cells.push_back({column, std::move(package)});
            continue;
        }
        // A run that names a package twice: the worse result stands, so that a failure is not hidden.
        const auto same =
            std::find_if(cells.begin(), cells.end(), [&](auto& c) { return c.column == column; });
        if (ResultStanding(package.result) <= ResultStanding(same->package.result))
            same->package = std::move(package);
    }
}

FleetTable FleetTableBuilder::Finish() {
    for (FleetRow& row : table_.rows) {
        std::sort(row.cells.begin(), row.cells.end(),
                  [](const FleetCell& a, const FleetCell& b) { return a.column < b.column; });
        row.rank = Rank(row);
    }
    std::stable_sort(table_.rows.begin(), table_.rows.end(), [](const FleetRow& a, const FleetRow& b) {
        return std::tie(a.rank, a.computer, a.started) < std::tie(b.rank, b.computer, b.started);
    });
    columns_.clear();
    lastRowColumns_.clear();
    return std::move(table_);
}

}  // namespace velmora
