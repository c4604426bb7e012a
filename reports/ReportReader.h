#pragma once
// Run reports read back, for a table of many machines' runs. A report of format 2 is read from its format
// line and summary lines alone, which no translation touches; one written before them (format 1) only where
// its words are the built-in Russian or the shipped English ones.
#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct ReportedPackage {
    std::string number;  // "2/3": the second of three packages
    std::string name;
    std::string result;  // "done", "failed" or "interrupted"
    std::string detail;  // why, when not done: "window-not-found 3" (format 1: the report's own words)
    std::string installer = "-";  // its exit code, "running", "ended" (after a time-out) or "-" (none)
    std::string duration;         // "h:mm:ss"
    std::string screenshot;       // the path the machine wrote it to; empty when none was kept
};

struct ReportedRun {
    std::string computer;
    std::string user;
    std::string started;  // "2026-12-06 21:40:12"
    std::string
        exitCode;  // empty: the report ends before the run did (still running, or the machine went down)
    std::vector<ReportedPackage> packages;  // those that came to an end
};

// Every run a report file holds (a /LOG file collects many), or nothing with the reason in `error`: not a
// run report (or one in a language this reader does not know), or a format newer than this reader.
std::optional<std::vector<ReportedRun>> ReadRunReport(const std::string& text, std::string& error);

}  // namespace velmora
