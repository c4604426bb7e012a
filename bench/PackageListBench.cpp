// What it costs to open a folder of packages (list it, apply the order file, read every tip), against only
// reading the same files' bytes through the same file system, side by side. With --package-list-ratio it
// fails when opening 10,000 packages with a 10,000-line order file costs more than 1.5 times the reading.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

#include "bench/CostCheck.h"
#include "bench/PosixFileSystem.h"
#include "packages/PackageList.h"
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
    explicit Folder(Codec& codec) {
        std::filesystem::create_directories(root.path / "Packages");
        std::filesystem::create_directories(root.path / "Soft");
        MemoryFileSystem none;
        PathVariables vars(none);
        std::mt19937 random(42);
        for (int i = 0; i < kPackageCount; ++i) {
            std::string name = "Пакет " + std::to_string(i);
            paths.push_back((root.path / "Packages" / (name + ".SCN")).string());
            WriteFile(paths.back(), MakeScenario(random, codec, vars,
                                                 "%DRIVEAPP%\\Soft\\setup" + std::to_string(i) + ".exe"));
            WriteFile(root.path / "Soft" / ("setup" + std::to_string(i) + ".exe"), "MZ");
            order.push_back(name);
        }
        std::shuffle(order.begin(), order.end(), random);
        WriteFile(root.path / "Packages" / kOrderFileName, codec.ToAnsi(FormatOrderFile(order)));
        paths.push_back((root.path / "Packages" / kOrderFileName).string());
    }

    TempFolder root{"velmora-packages"};
    std::vector<std::string> paths;  // every file opening the folder reads
    std::vector<std::string> order;  // the packages as the order file lists them
};

}  // namespace

int CheckPackageListRatio() {
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    Folder folder(*codec);
    PosixFileSystem files;
    BuiltInTexts texts;
    PathVariables vars(files);
    vars.variables[5].second = folder.root.path.string();
    PackageList list({files, *codec, texts.language, vars});

    auto readOnly = [&] {
        std::size_t total = 0;
        for (const std::string& path : folder.paths) {
            if (std::optional<std::string> bytes = files.ReadAll(path))
                total += bytes->size();
        }
        return total;
    };
    auto open = [&] {
        list.Load((folder.root.path / "Packages").string());
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
