// Scenario files are read from discs and through the file association: every operation that reads one must
// stay inside the image whatever the bytes say, and the text form must carry any file exactly.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/doubles/MemoryFileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "scenario/ScenarioImage.h"
#include "scenario/ScenarioText.h"

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    static std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    static MemoryFileSystem files;
    static PathVariables vars = [] {
        PathVariables table(files);
        table.variables[3].second = "C:\\Temp";
        table.variables[4].second = "C:\\Program Files";
        return table;
    }();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // As a list of packages reads a file, from its scrambled bytes, and as the player and the properties
    // dialog read it whole: both must tell the same path and description.
    ScenarioImage image(*codec, vars);
    image.LoadImageBytes(bytes);
    std::string summaryPath, summaryDescription;
    const bool summarized = image.ReadScrambledSummary(summaryPath, summaryDescription);
    image.UnscrambleImage();
    bool hasHeader = image.ReadHeader();
    image.IsVersionSupported();
    std::string path;
    bool hasPath = hasHeader && image.GetInstallerPath(path);
    Require(summarized == hasPath && summaryPath == path &&
            summaryDescription == (hasPath ? image.GetDescription() : ""));
    image.GetCommandLine();
    image.ResetReadCursor();
    StepState step;
    int steps = 0;
    while (image.ReadNextStep(step)) {
        Require(step.WindowCount() >= 0 && step.EventCount() >= 0);
        ++steps;
    }
    Require(steps == 0 || steps <= image.Header().stepCount);

    // As the properties dialog and the path editor change one.
    image.SetDescription("Описание");
    if (image.ChangeInstallerPath("%PROGRAMFILES%\\Установка.exe")) {
        Require(hasPath);
        Require(image.GetInstallerPath() == "%PROGRAMFILES%\\Установка.exe");
        Require(image.ChangeCommandLine("/q"));
        Require(image.GetCommandLine() == "/q");
    }
    image.ReplaceRange(size % 7, "x", static_cast<std::int64_t>(size / 3));
    image.ScrambleImage();

    // Any file turns into text and back into the same bytes.
    std::string text = DumpScenario(bytes, *codec, 1251);
    std::string rebuilt, error;
    Require(BuildScenario(text, *codec, rebuilt, error));
    Require(rebuilt == bytes);

    // And any text is either refused or built.
    BuildScenario(bytes, *codec, rebuilt, error);
    return 0;
}
