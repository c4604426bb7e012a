#pragma once
// What the cost checks share: two passes over the same files timed against each other in one run.
#include <time.h>

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/Language.h"
#include "base/PathVariables.h"
#include "platform/Codec.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {

// Processor time of this process (user and system), so that other programs busy on the machine do not count.
inline double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A pass returns a number made from what it read, so the compiler cannot drop its work.
template <typename Pass>
double PassSeconds(Pass& pass) {
    const double start = CpuSeconds();
    volatile std::size_t sink = pass();
    (void)sink;
    return CpuSeconds() - start;
}

// Alternates the two passes and keeps the best time of each in seconds, so a busy moment of the machine
// counts against neither.
template <typename Base, typename Work>
std::pair<double, double> BestTimes(int rounds, Base base, Work work) {
    std::pair<double, double> best{1e9, 1e9};
    for (int round = 0; round < rounds; ++round) {
        best.first = std::min(best.first, PassSeconds(base));
        best.second = std::min(best.second, PassSeconds(work));
    }
    return best;
}

// Alternates the two passes and answers the median of the rounds' ratios (work over base), with the two times
// of that round. Writing files costs the kernel more in some moments than in others; a pass and the one
// beside it meet the same moment, so their ratio holds where the best times of the two, taken apart, may come
// from different moments.
template <typename Base, typename Work>
std::pair<double, double> MedianRoundTimes(int rounds, Base base, Work work) {
    std::vector<std::pair<double, double>> times;
    for (int round = 0; round < rounds; ++round) {
        const double first = PassSeconds(base);
        times.emplace_back(first, PassSeconds(work));
    }
    std::sort(times.begin(), times.end(),
              [](const auto& a, const auto& b) { return a.second / a.first < b.second / b.first; });
    return times[times.size() / 2];
}

// A folder of its own under the temporary folder, removed with everything in it when the check is done.
struct TempFolder {
    explicit TempFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path path;
};

// The built-in texts, as on a machine without a language file.
struct BuiltInTexts {
    MemoryFileSystem noFiles;
    MemoryProfileFile profile{noFiles};
    FakeDialogs dialogs;
    Language language{noFiles, profile, dialogs};
};

// The bytes of a scenario file like a recorder writes: a few dialogs, each clicked through with a press,
// moves and a release, now and then a typed path.
std::string MakeScenario(std::mt19937& random, Codec& codec, const PathVariables& vars,
                         const std::string& installer);

// Times opening a folder of 10,000 packages against reading their bytes; 0 when within the allowed ratio.
int CheckPackageListRatio();
// Times a replace pass and a save over 10,000 scenarios against reading and writing them; 0 when within the
// allowed ratio.
int CheckPathEditorRatio();

}  // namespace velmora
