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
#include "scenario/ScenarioFolder.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

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

    // Rebuilds the items from the folder's "*.scn" files in their order (OrderedScenarioNames), all
    // unchecked, tips empty. False when the folder cannot be listed (it does not exist or is a file): the
    // items are then empty and the folder too.
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
    // The installer path, expanded and trimmed, and the description of a scenario file just loaded; the
    // stored path is read into `stored`, whose memory serves file after file.
    std::string ReadTipFacts(ScenarioImage& image, std::string& stored, std::string& description) const;

    PackageListPorts p_;
    std::string folder_;
};

}  // namespace velmora
