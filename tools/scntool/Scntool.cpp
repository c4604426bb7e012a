#include "tools/scntool/Scntool.h"

#include <algorithm>

#include "platform/LetterCase.h"
#include "reports/FleetSummary.h"
#include "scenario/ScenarioText.h"

namespace velmora {
namespace {

constexpr const char* kUsage =
    "usage: scntool dump FILE.SCN [-o FILE.txt] [--codepage N]\n"
    "       scntool build FILE.txt -o FILE.SCN [--codepage N]\n"
    "       scntool reports FOLDER [-o OUTPUT-BASENAME]\n"
    "dump prints a scenario file as text; build writes the file a text describes.\n"
    "The code page is the one of the texts inside the file: by default the text's \"codepage\" line\n"
    "(build) or this system's ANSI code page.\n"
    "reports reads every run report (.txt, .log) in the folder and writes one table of them, a row per\n"
    "machine and run, as OUTPUT-BASENAME.csv and .html (by default FOLDER/fleet-summary).\n";

struct Options {
    std::string command, input, output;
    std::optional<int> codePage;
};

std::optional<Options> ParseArguments(const std::vector<std::string>& args) {
    if (args.size() < 2)
        return std::nullopt;
    Options options{args[0], args[1], {}, {}};
    for (std::size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return std::nullopt;
        if (args[i] == "-o") {
            options.output = args[i + 1];
        } else if (args[i] == "--codepage") {
            try {
                std::size_t used = 0;
                options.codePage = std::stoi(args[i + 1], &used);
                if (used != args[i + 1].size())
                    return std::nullopt;
            } catch (...) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    if (options.command == "build" && options.output.empty())
        return std::nullopt;
    if (options.command != "build" && options.command != "dump" && options.command != "reports")
        return std::nullopt;
    return options;
}

// A name in the folder as the system spells paths there: with its backslash when the folder has one.
std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\')
        return folder + name;
    return folder + (folder.find('\\') != std::string::npos ? "\\" : "/") + name;
}

bool IsReportName(const std::string& name) {
    return name.size() > 4 && (EqualsNoCase(name.substr(name.size() - 4), ".txt") ||
                               EqualsNoCase(name.substr(name.size() - 4), ".log"));
}

// Every report of the folder, read in name order into one table; one that cannot be read, or that brings
// more than one file or the folder may, is said and left out.
FleetTable ReadReports(const std::string& folder, std::vector<std::string> names, ScntoolIo& io) {
    std::sort(names.begin(), names.end());
    FleetTableBuilder builder;
    std::string text;
    for (const std::string& name : names) {
        if (!IsReportName(name))
            continue;
        const ReportFile& file = io.ReadFileStart(InFolder(folder, name), builder.ReadLimit(), text)
                                     ? builder.Add(name, text)
                                     : builder.AddUnreadable(name, "cannot be read");
        if (!file.error.empty())
            io.Err("scntool: " + InFolder(folder, name) + ": " + file.error + "; left out\n");
    }
    return builder.Finish();
}

int RunReports(const Options& options, ScntoolIo& io) {
    const std::optional<std::vector<std::string>> names = io.ListFolder(options.input);
    if (!names) {
        io.Err("scntool: cannot list the folder " + options.input + "\n");
        return 1;
    }
    const FleetTable table = ReadReports(options.input, *names, io);
    const std::string base =
        options.output.empty() ? InFolder(options.input, "fleet-summary") : options.output;
    const std::size_t slash = base.find_last_of("/\\");
    const FleetLinks links{
        RelativeFolder(slash == std::string::npos ? "" : base.substr(0, slash), options.input), *names};
    // One after the other, so that only one of the two texts is in memory at a time.
    for (const bool page : {false, true}) {
        const std::string path = base + (page ? ".html" : ".csv");
        if (!io.WriteFile(path, page ? FleetHtml(table, links) : FleetCsv(table))) {
            io.Err("scntool: cannot write " + path + "; a file already there is unchanged\n");
            return 1;
        }
    }
    io.Out(std::to_string(table.rows.size()) + " runs from " + std::to_string(table.files.size()) +
           " reports: " + base + ".csv, " + base + ".html\n");
    return 0;
}

}  // namespace

int RunScntool(const std::vector<std::string>& args, ScntoolIo& io) {
    std::optional<Options> options = ParseArguments(args);
    if (!options) {
        io.Err(kUsage);
        return 2;
    }
    if (options->command == "reports")
        return RunReports(*options, io);
    std::optional<std::string> input = io.ReadFile(options->input);
    if (!input) {
        io.Err("scntool: cannot read " + options->input + "\n");
        return 1;
    }
    int codePage = options->codePage.value_or(options->command == "build"
                                                  ? TextCodePage(*input).value_or(io.DefaultCodePage())
                                                  : io.DefaultCodePage());
    std::unique_ptr<Codec> codec = io.MakeCodec(codePage);
    if (!codec) {
        io.Err("scntool: code page " + std::to_string(codePage) + " is not available here\n");
        return 1;
    }

    std::string result;
    if (options->command == "dump") {
        result = DumpScenario(*input, *codec, codePage);
    } else {
        std::string error;
        if (!BuildScenario(*input, *codec, result, error)) {
            io.Err(options->input + ": " + error + "\n");
            return 1;
        }
    }
    if (options->output.empty()) {
        io.Out(result);
    } else if (!io.WriteFile(options->output, result)) {
        io.Err("scntool: cannot write " + options->output + "; a file already there is unchanged\n");
        return 1;
    }
    return 0;
}

}  // namespace velmora
