// What it costs to open a folder of packages (list it, apply the order file, read every tip), against only
// reading the same files' bytes through the same file system, side by side. With --package-list-ratio it
// fails when opening 10,000 packages with a 10,000-line order file costs more than 1.5 times the reading.
#include "bench/CostCheck.h"
#include "bench/PosixFileSystem.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

#include "packages/PackageList.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "scenario/AnsiCodePage.h"

namespace velmora {
namespace {

constexpr int kPackageCount = 10000;
constexpr double kAllowedRatio = 1.5;

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of packages as a recorder leaves them, their installers together in one distribution folder on the
// "disc" beside them, and the order file of a user who rearranged the whole list. (With every installer in a
// folder of its own, each tip costs one more look-up of its own, about half a file's reading here.)
struct Folder {
    explicit Folder(Codec& codec)
        : root(std::filesystem::temp_directory_path() / ("velmora-packages-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(root / "Packages");
        std::filesystem::create_directories(root / "Soft");
        MemoryFileSystem none;
        PathVariables vars(none);
        std::mt19937 random(42);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        for (int i = 0; i < kPackageCount; ++i) {
            std::string name = "Пакет " + std::to_string(i);
            std::string installer = "%DRIVEAPP%\\Soft\\setup" + std::to_string(i) + ".exe";
            ScenarioImage image(codec, vars);
            image.NewImage(installer, "Установка пакета программ номер " + std::to_string(i), 1920, 1080);
            for (int s = pick(4, 24); s > 0; --s) {
                StepState step{
                    {{"#32770", "Мастер установки - шаг " + std::to_string(s), 0}, {"Button", "&Далее >", 1}},
                    {{kButtonLeft, kKindPress, pick(0, 80), pick(0, 20)}, {kButtonLeft, kKindRelease, 0, 0}},
                    "",
                    false};
                image.AppendStep(step);
            }
            image.AppendInstallerPath(installer);
            image.AppendCommandLine("/S");
            image.AppendRecordStamp(LocalTime{2026, 12, 6, 10, 0, 0});
            image.ScrambleImage();
            paths.push_back((root / "Packages" / (name + ".SCN")).string());
            WriteFile(paths.back(), image.Bytes());
            WriteFile(root / "Soft" / ("setup" + std::to_string(i) + ".exe"), "MZ");
            order.push_back(name);
        }
        std::shuffle(order.begin(), order.end(), random);
        WriteFile(root / "Packages" / kOrderFileName, codec.ToAnsi(FormatOrderFile(order)));
        paths.push_back((root / "Packages" / kOrderFileName).string());
    }
    ~Folder() { std::filesystem::remove_all(root); }

    std::filesystem::path root;
    std::vector<std::string> paths;  // every file opening the folder reads
    std::vector<std::string> order;  // the packages as the order file lists them
};

}  // namespace

int CheckPackageListRatio() {
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    Folder folder(*codec);
    PosixFileSystem files;
    MemoryFileSystem noFiles;
    MemoryProfileFile profile(noFiles);
    FakeDialogs dialogs;
    Language language(noFiles, profile, dialogs);
    PathVariables vars(files);
    vars.variables[5].second = folder.root.string();
    PackageList list({files, *codec, language, vars});

    auto readOnly = [&] {
        std::size_t total = 0;
        for (const std::string& path : folder.paths) {
            if (std::optional<std::string> bytes = files.ReadAll(path))
                total += bytes->size();
        }
        return total;
    };
    auto open = [&] {
        list.Load((folder.root / "Packages").string());
        list.LoadTips();
        return list.items.size();
    };
    const auto [readBest, openBest] = BestTimes(9, readOnly, open);
    bool ordered = list.items.size() == folder.order.size();
    for (std::size_t i = 0; ordered && i < list.items.size(); ++i)
        ordered = list.items[i].name == folder.order[i] &&
                  list.items[i].tip.find(" - Установка") != std::string::npos;
    double ratio = openBest / readBest;
    std::printf("%d packages and a %d-line order file\n", kPackageCount, kPackageCount);
    std::printf("reading the files' bytes only (processor time):          %8.1f ms\n", readBest * 1000);
    std::printf("listing, ordering and reading every tip (processor time): %8.1f ms\n", openBest * 1000);
    std::printf("ratio %.2f (allowed %.1f)%s\n", ratio, kAllowedRatio,
                ordered ? "" : "; the order or the tips are wrong");
    return ordered && ratio <= kAllowedRatio ? 0 : 1;
}

}  // namespace velmora
