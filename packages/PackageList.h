#pragma once
// The packages of one scenario folder as the main window lists them: one item per "*.scn" file, in the order
// that "Position.lst" keeps between runs, each with its check mark and its tooltip.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Language.h"
#include "base/PathVariables.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

// The order file's name inside the scenario folder.
inline constexpr const char* kOrderFileName = "Position.lst";

// The lines of an order file's text: CR LF or LF ends a line; an empty line is an entry with an empty name; a
// last line without its line end still counts; no text gives no entries. Line ends are the same bytes in the
// ANSI code page and in UTF-8, so the file's bytes can be split before or after decoding.
std::vector<std::string> ParseOrderFile(std::string_view text);
// One name per line, each ended by CR LF.
std::string FormatOrderFile(const std::vector<std::string>& names);

// Reorders names by the order file's entries exactly as users' existing files expect: for each entry in file
// order, the first name equal to it (case-sensitive, searched from the top) is swapped with the name at the
// next target position, which then advances; an entry that matches nothing is skipped. Names named in the
// file thus come first in file order, a name listed twice is moved again, and the rest keep the order the
// swaps leave. Once every position has been filled the remaining entries have no target and are ignored.
// Costs O(names + entries) when the names are distinct, as a folder's are; a name standing in several places
// costs a logarithm of their number on each move.
void ApplyOrder(std::vector<std::string>& names, const std::vector<std::string>& entries);

struct PackageItem {
    std::string name;  // the scenario file's name without its ".scn"
    bool checked = false;
    std::string tip;  // name, name + " - " + description, or why the file or its installer is missing
};

struct PackageListPorts {
    FileSystem& files;
    Codec& codec;
    const Language& language;
    const PathVariables& pathVars;
};

class PackageList {
  public:
    explicit PackageList(const PackageListPorts& ports) : p_(ports) {}

    // Rebuilds the items from the folder's "*.scn" files (sorted by name without regard to case, all
    // unchecked, tips empty) and applies the order file. Its lines are compared with the names in the file's
    // code page, so a name the code page cannot hold (written with '?' for those characters) finds its place
    // again. False when the folder cannot be listed (it does not exist or is a file): the items are then
    // empty and the folder too.
    bool Load(const std::string& folder);
    // No folder and no items.
    void Clear();
    // Fills every item's tip. progress(ordinal, count) is called for each item whose file exists, as it is
    // read, ordinal counting from 1, so the window can show "Загрузка 3 из 12" and its progress bar.
    void LoadTips(const std::function<void(int ordinal, int count)>& progress = {});
    // The tip of one package from its scenario's header: the file missing, its installer missing (after path
    // variables are expanded), or the name with its description.
    std::string TipFor(const std::string& name) const;

    // Writes every name in list order to the order file (through a temporary file). False when the list or
    // the folder is empty or the file cannot be written; callers ignore the failure.
    bool SaveOrder() const;
    // True when the items are exactly the folder's packages: as many items as files, and every file's name
    // among the items (case-sensitive).
    bool MatchesFolder() const;

    // AddBackslash(folder) + name + ".SCN".
    std::string PathOf(std::size_t index) const;
    const std::string& Folder() const { return folder_; }

    std::vector<PackageItem> items;

  private:
    std::vector<std::string> FolderNames() const;
    // The installer path, expanded and trimmed, and the description of a scenario file's bytes.
    void ReadTipFacts(std::optional<std::string> bytes, ScenarioImage& image, std::string& installer,
                      std::string& description) const;

    PackageListPorts p_;
    std::string folder_;
};

}  // namespace velmora
