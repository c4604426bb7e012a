// What it costs to load a folder of scenarios against only reading their bytes: the parse must not make
// listing or playing a folder noticeably slower than the disk already does. Without arguments this runs the
// Google Benchmark cases; --scenario-ratio fails when loading 10,000 files costs more than twice reading
// them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "bench/CostCheck.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

std::string MakeScenario(std::mt19937& random, Codec& codec, const PathVariables& vars,
                         const std::string& installer) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    ScenarioImage image(codec, vars);
    image.NewImage(installer, "Установка пакета программ", 1920, 1080);
    for (int s = pick(4, 24); s > 0; --s) {
        StepState step;
        step.windows.push_back({"#32770", "Мастер установки - шаг " + std::to_string(s), 0});
        if (pick(0, 1))
            step.windows.push_back({"Static", "", 1});
        step.windows.push_back({"Button", "&Далее >", pick(1, 3)});
        step.events.push_back({kButtonLeft, kKindPress, pick(0, 80), pick(0, 20)});
        for (int m = pick(0, 6); m > 0; --m)
            step.events.push_back({kButtonLeft, kKindMove, pick(-3, 3), pick(-3, 3)});
        step.events.push_back({kButtonLeft, kKindRelease, 0, 0});
        if (pick(0, 4) == 0) {
            step.text = "%PROGRAMFILES%\\Программа " + std::to_string(s);
            step.hasText = true;
        }
        image.AppendStep(step);
    }
    image.AppendInstallerPath(installer);
    image.AppendCommandLine("/S /D=%PROGRAMFILES%\\App");
    image.AppendRecordStamp(LocalTime{2026, 12, 6, 10, 0, 0});
    image.ScrambleImage();
    return image.Bytes();
}

namespace {

constexpr int kFileCount = 10000;
constexpr double kAllowedRatio = 2.0;

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fseek(file, 0, SEEK_END);
        long size = std::ftell(file);
        std::fseek(file, 0, SEEK_SET);
        bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
    return bytes;
}

// A folder of scenario files that lives as long as the program.
struct Folder {
    Folder() {
        std::mt19937 random(42);
        for (int i = 0; i < kFileCount; ++i) {
            names.push_back((folder.path / ("package" + std::to_string(i) + ".SCN")).string());
            const std::string bytes = MakeScenario(random, *codec, vars, "%DRIVEAPP%\\Soft\\setup.exe");
            std::ofstream(names.back(), std::ios::binary) << bytes;
            totalBytes += bytes.size();
        }
    }
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    MemoryFileSystem files;
    PathVariables vars{files};
    TempFolder folder{"velmora-bench"};
    std::vector<std::string> names;
    std::size_t totalBytes = 0;
};

Folder& Shared() {
    static Folder folder;
    return folder;
}

std::size_t ReadOnly(const std::vector<std::string>& names) {
    std::size_t total = 0;
    for (const std::string& name : names)
        total += ReadFileBytes(name).size();
    return total;
}

// Everything the player does with a file before it starts the installer, and every step it then reads.
std::size_t LoadAndReadSteps(const std::vector<std::string>& names) {
    ScenarioImage image(*Shared().codec, Shared().vars);
    StepState step;
    std::size_t total = 0;
    for (const std::string& name : names) {
        image.LoadImageBytes(ReadFileBytes(name));
        image.UnscrambleImage();
        if (!image.ReadHeader() || !image.IsVersionSupported())
            continue;
        total +=
            image.GetInstallerPath().size() + image.GetCommandLine().size() + image.GetDescription().size();
        image.ResetReadCursor();
        while (image.ReadNextStep(step))
            total += step.EventCount();
    }
    return total;
}

void BM_ReadBytesOnly(benchmark::State& state) {
    const Folder& folder = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadOnly(folder.names));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.totalBytes));
}
BENCHMARK(BM_ReadBytesOnly)->Unit(benchmark::kMillisecond);

void BM_LoadUnscrambleReadSteps(benchmark::State& state) {
    const Folder& folder = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadAndReadSteps(folder.names));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.totalBytes));
}
BENCHMARK(BM_LoadUnscrambleReadSteps)->Unit(benchmark::kMillisecond);

int CheckRatio() {
    const Folder& folder = Shared();
    const auto [readBest, loadBest] = BestTimes(
        7, [&] { return ReadOnly(folder.names); }, [&] { return LoadAndReadSteps(folder.names); });
    double ratio = loadBest / readBest;
    std::printf("%d scenario files, %zu bytes\n", kFileCount, folder.totalBytes);
    std::printf("reading the bytes only (processor time):                     %8.1f ms\n", readBest * 1000);
    std::printf("loading, unscrambling and reading the steps (processor time): %8.1f ms\n", loadBest * 1000);
    std::printf("ratio %.2f (allowed %.1f)\n", ratio, kAllowedRatio);
    return ratio <= kAllowedRatio ? 0 : 1;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--scenario-ratio")
        return velmora::CheckRatio();
    if (argc == 2 && std::string(argv[1]) == "--package-list-ratio")
        return velmora::CheckPackageListRatio();
    if (argc == 2 && std::string(argv[1]) == "--path-editor-ratio")
        return velmora::CheckPathEditorRatio();
    benchmark::Initialize(&argc, argv);
    // A mode this program does not know must not pass as a run of the benchmarks.
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
