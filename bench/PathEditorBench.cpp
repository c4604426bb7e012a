// What a find-and-replace pass and a save of every package's installer path cost (reading and writing every
// scenario, then reading the folder again), against only reading and writing the same files' bytes through
// the same file system, side by side. With --path-editor-ratio it fails when the pass and the save over
// 10,000 scenarios cost more than twice that.
#include <cstdio>
#include <fstream>

#include "bench/CostCheck.h"
#include "bench/PosixFileSystem.h"
#include "paths/PathEditorModel.h"
#include "scenario/AnsiCodePage.h"

namespace velmora {

int CheckPathEditorRatio() {
    constexpr int kScenarioCount = 10000;
    constexpr double kAllowedRatio = 2.0;
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    BuiltInTexts texts;
    PathVariables vars(texts.noFiles);
    // Every installer lies on the one distribution share that moves.
    const TempFolder folder("velmora-paths");
    std::vector<std::string> paths;
    std::mt19937 random(42);
    for (int i = 0; i < kScenarioCount; ++i) {
        paths.push_back((folder.path / ("Пакет " + std::to_string(i) + ".SCN")).string());
        std::ofstream(paths.back(), std::ios::binary)
            << MakeScenario(random, *codec, vars, "D:\\distr\\setup" + std::to_string(i) + ".exe");
    }

    PosixFileSystem files;
    MemorySettingsStore settings;
    settings.values["Path\\FolderSCN"] = folder.path.string();
    SharedState state;
    PathEditorModel model({files, *codec, vars, settings, texts.dialogs, texts.language, state});
    model.Start();
    auto readAndWrite = [&] {
        std::size_t total = 0;
        for (const std::string& path : paths) {
            if (std::optional<std::string> bytes = files.ReadAll(path))
                total += files.ReplaceFile(path, *bytes) ? bytes->size() : 0;
        }
        return total;
    };
    // Each round moves the installers to the other share and back, so every round rewrites every file.
    bool moved = false;
    auto passAndSave = [&] {
        moved = !moved;
        model.Replace(0, moved ? "d:\\DISTR" : "%cdrom%\\SOFT", moved ? "%CDROM%\\soft" : "D:\\distr");
        model.Save(0);
        return static_cast<std::size_t>(model.saved);
    };
    const auto [baseTime, workTime] = MedianRoundTimes(5, readAndWrite, passAndSave);

    const std::string share = moved ? "%CDROM%\\soft\\" : "D:\\distr\\";
    bool right =
        model.saved == kScenarioCount && model.rows.size() == static_cast<std::size_t>(kScenarioCount);
    for (std::size_t i = 0; right && i < model.rows.size(); ++i)
        right = model.rows[i].storedPath.rfind(share, 0) == 0 && model.rows[i].newPath.empty();
    const double ratio = workTime / baseTime;
    std::printf("%d scenario files\n", kScenarioCount);
    std::printf("reading and writing the files' bytes only (processor time):        %8.1f ms\n",
                baseTime * 1000);
    std::printf("a pass, saving every path, reading the folder again (processor time): %8.1f ms\n",
                workTime * 1000);
    std::printf("ratio %.2f (allowed %.1f)%s\n", ratio, kAllowedRatio,
                right ? "" : "; the saved paths are wrong");
    return right && ratio <= kAllowedRatio ? 0 : 1;
}

}  // namespace velmora
