#pragma once
// The copy that fills a disc folder: the scenario folder, the program with its settings, help and language
// files, and an "autorun.inf" that starts the program from the disc. Each operation is logged; a failure is
// logged under the line of its operation and does not stop the operations after it. Nothing is rolled back.
//
// Disc layout (D is the destination):
//   D\autorun.inf                 [Autorun] open and icon, both naming velmora\Velmora.exe
//   D\Folder SCN\                 every scenario of the source, and position.lst
//   D\Velmora\                    Velmora.exe, Velmora.ini, help.chm
//   D\Velmora\Language\           every *.lng of the program's language folder
// The program is one static file, so no runtime library travels with it.
#include <cstddef>
#include <string>
#include <vector>

#include "base/Language.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"

namespace velmora {

// The scenario folder's name on the disc; "velmora.ini" points at it through %cdrom%.
inline constexpr const char* kDiscScenarioFolder = "Folder SCN";
inline constexpr const char* kAutorunFileName = "autorun.inf";

struct DiscCopyInput {
    std::string destination;
    std::string source;
    // The scenario files' names, as found in the source when it was chosen.
    std::vector<std::string> scenarioNames;
    std::string programFolder;
};

struct CopyOperation {
    enum Kind { CreateFolder, CopyFile, WriteAutorun } kind;
    std::string source;  // CopyFile only
    std::string target;
};

// Every operation in the order it runs; the autorun file is always last. Without scenarios there is nothing
// to copy: the plan is empty, and such a copy fails.
std::vector<CopyOperation> PlanDiscCopy(const DiscCopyInput& input, FileSystem& files);

// Runs a plan one operation at a time, so a window can show its progress between operations.
class DiscCopy {
  public:
    DiscCopy(FileSystem& files, ProfileFile& profile, const Language& language,
             std::vector<CopyOperation> plan)
        : files_(files), profile_(profile), language_(language), plan_(std::move(plan)) {}

    std::size_t Count() const { return plan_.size(); }
    std::size_t Done() const { return next_; }
    bool Finished() const { return next_ >= plan_.size(); }
    // Runs the next operation and appends its lines to the log; false when there was none left.
    bool RunNext();
    // True when every operation ran and none failed.
    bool Succeeded() const { return Finished() && !plan_.empty() && !failed_; }
    // The autorun file could not be written (the window says that it may be read-only).
    bool AutorunFailed() const { return autorunFailed_; }

    // Every line ends with CR LF.
    std::string log;

  private:
    bool CreateFolderLogged(const std::string& path);
    bool CopyFileLogged(const std::string& source, const std::string& target);
    bool WriteAutorunLogged(const std::string& path);
    void Line(const std::string& text) { log += text + "\r\n"; }

    FileSystem& files_;
    ProfileFile& profile_;
    const Language& language_;
    std::vector<CopyOperation> plan_;
    std::size_t next_ = 0;
    bool failed_ = false;
    bool autorunFailed_ = false;
};

}  // namespace velmora
