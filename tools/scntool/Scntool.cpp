#include "tools/scntool/Scntool.h"

#include "scenario/ScenarioText.h"

namespace velmora {
namespace {

constexpr const char* kUsage =
    "usage: scntool dump FILE.SCN [-o FILE.txt] [--codepage N]\n"
    "       scntool build FILE.txt -o FILE.SCN [--codepage N]\n"
    "dump prints a scenario file as text; build writes the file a text describes.\n"
    "The code page is the one of the texts inside the file: by default the text's \"codepage\" line\n"
    "(build) or this system's ANSI code page.\n";

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
    if (options.command != "build" && options.command != "dump")
        return std::nullopt;
    return options;
}

}  // namespace

int RunScntool(const std::vector<std::string>& args, ScntoolIo& io) {
    std::optional<Options> options = ParseArguments(args);
    if (!options) {
        io.Err(kUsage);
        return 2;
    }
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
