#pragma once
// Run reports read back, for a table of many machines' runs. A report of format 2 is read from its format
// line and summary lines alone, which no translation touches; one written before them (format 1) only where
// its words are the built-in Russian or the shipped English ones.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A result this reader does not know counts as a failure, so that it is seen.
enum class PackageResult { Done, Failed, Interrupted };

// An exit code as a report gives it: a number where it is one, otherwise the report's own word for it.
struct ReportedCode {
    std::optional<std::int64_t> number;
    std::string word;  // empty with a number
};
ReportedCode ParseReportedCode(std::string_view text);

struct ReportedPackage {
    std::string number;  // "2/3": the second of three packages
    std::string name;
    PackageResult result = PackageResult::Failed;
    std::string detail;  // why, when not done: "window-not-found 3" (format 1: the report's own words)
    // Its exit code; or "running", "ended" (after a time-out), "-" (none) or a word this reader does not
    // know.
    ReportedCode installer{std::nullopt, "-"};
    std::string duration;    // "h:mm:ss"
    std::string screenshot;  // the path the machine wrote it to; empty when none was kept
};

struct ReportedRun {
    std::string computer;
    std::string user;
    std::string started;                   // "2026-12-06 21:40:12"
    std::optional<ReportedCode> exitCode;  // none: the report ends before the run did (running, or went down)
    std::vector<ReportedPackage> packages;  // those that came to an end
};

// What one report file may bring before it is taken for hostile and left out. Each lies far beyond what a
// real report reaches, so that only a made-up file meets them; together they bound the time and memory one
// file costs, whatever it holds.
struct ReportLimits {
    // A package writes 1 to 3 KB (a line a step played), so a /LOG file of a nightly run of twenty packages
    // grows by about 15 MB a year: four years of it.
    std::size_t bytes = std::size_t{64} << 20;
    // A run every night for fifty years, or, from a runner that starts the program once per package, five
    // packages every night for ten years.
    std::size_t runs = 20000;
    // A run plays one package list, and a machine's list holds a few hundred at most.
    std::size_t packagesPerRun = 1000;
    // The columns it adds to the table, one per package name: a /LOG file kept for years sees a few hundred
    // packages with a new name for each version.
    std::size_t names = 2000;
    // Packages of all its runs: fifty packages every night for ten years.
    std::size_t packages = 200000;
};

// Every run a report file holds (a /LOG file collects many), or nothing with the reason in `error`: not a
// run report (or one in a language this reader does not know), a format newer than this reader, or more
// than a limit allows.
std::optional<std::vector<ReportedRun>> ReadRunReport(std::string_view text, std::string& error,
                                                      const ReportLimits& limits = {});

}  // namespace velmora
