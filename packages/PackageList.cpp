#include "packages/PackageList.h"

#include <algorithm>
#include <unordered_map>

#include "base/NameIndex.h"
#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kScenarioPattern = "*.scn";
constexpr std::size_t kScenarioExtensionLength = 4;

// Whether each installer exists, as PathExists answers. Installers often lie together in one distribution
// folder: such a folder's files are listed once instead of looking each installer up, which on a disc costs a
// seek each. A name the listing does not hold is still looked up, so the answer stays the look-up's.
std::vector<bool> InstallersPresent(FileSystem& files, const std::vector<std::string>& paths) {
    constexpr std::size_t kListFrom = 8;
    std::vector<bool> present(paths.size(), false);
    std::unordered_map<std::string_view, std::vector<std::size_t>> byFolder;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::size_t slash = paths[i].rfind('\\');
        if (slash != std::string::npos && slash + 1 < paths[i].size())
            byFolder[std::string_view(paths[i]).substr(0, slash + 1)].push_back(i);
        else
            present[i] = PathExists(files, paths[i]);
    }
    for (const auto& [folder, members] : byFolder) {
        std::vector<std::string> names;
        if (members.size() >= kListFrom)
            names = files.ListFiles(std::string(folder), "*");
        NameIndex listed(names.size());
        for (const std::string& name : names)
            listed.Add(name, 0);
        for (std::size_t i : members) {
            std::string_view name = std::string_view(paths[i]).substr(folder.size());
            present[i] = listed.Find(name) != NameIndex::kNone || PathExists(files, paths[i]);
        }
    }
    return present;
}

std::string Described(const std::string& name, const std::string& description) {
    if (description.empty())
        return name;
    std::string tip;
    tip.reserve(name.size() + 3 + description.size());
    return tip.append(name).append(" - ").append(description);
}

// Trims in place; most texts have nothing to trim and are not copied.
void TrimBlanks(std::string& text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (!text.empty() && (blank(text.front()) || blank(text.back())))
        text = Trim(text);
}

}  // namespace

std::vector<std::string> PackageList::FolderNames() const {
    std::vector<std::string> names = p_.files.ListFiles(folder_, kScenarioPattern);
    for (std::string& name : names)
        name.resize(name.size() >= kScenarioExtensionLength ? name.size() - kScenarioExtensionLength : 0);
    return names;
}

bool PackageList::Load(const std::string& folder) {
    items.clear();
    folder_ = folder;
    if (!IsFolder(p_.files, folder_)) {
        folder_.clear();
        return false;
    }
    std::vector<std::string> names = OrderedScenarioNames(p_.files, p_.codec, folder_);
    items.reserve(names.size());
    for (std::string& name : names)
        items.push_back(PackageItem{std::move(name), false, {}});
    return true;
}

void PackageList::Clear() {
    items.clear();
    folder_.clear();
}

void PackageList::LoadTips(const std::function<void(int ordinal, int count)>& progress) {
    ScenarioImage image(p_.codec, p_.pathVars);
    const int count = static_cast<int>(items.size());
    const std::string prefix = AddBackslash(folder_);
    const std::string noFile = p_.language.LangText("Файл не найден", "main", 21);
    std::vector<std::string> installers(items.size());
    std::vector<bool> fileFound(items.size(), false);
    std::string path, stored, description;
    for (std::size_t i = 0; i < items.size(); ++i) {
        path.assign(prefix).append(items[i].name).append(".SCN");
        // A file that can be read exists; only one that cannot is looked for.
        const bool read = image.LoadImageFile(p_.files, path);
        if (!read && !PathExists(p_.files, path)) {
            items[i].tip = noFile;
            continue;
        }
        fileFound[i] = true;
        if (progress)
            progress(static_cast<int>(i) + 1, count);
        description.clear();
        if (read)
            installers[i] = ReadTipFacts(image, stored, description);
        items[i].tip = Described(items[i].name, description);
    }
    std::vector<bool> installerFound = InstallersPresent(p_.files, installers);
    const std::string noInstaller = p_.language.LangText("Не найден исполняемый файл", "main", 19);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (fileFound[i] && !installerFound[i])
            items[i].tip = noInstaller;
    }
}

std::string PackageList::TipFor(const std::string& name) const {
    std::string path = AddBackslash(folder_) + name + ".SCN";
    ScenarioImage image(p_.codec, p_.pathVars);
    const bool read = image.LoadImageFile(p_.files, path);
    if (!read && !PathExists(p_.files, path))
        return p_.language.LangText("Файл не найден", "main", 21);
    std::string stored, installer, description;
    if (read)
        installer = ReadTipFacts(image, stored, description);
    if (!PathExists(p_.files, installer))
        return p_.language.LangText("Не найден исполняемый файл", "main", 19);
    return Described(name, description);
}

std::string PackageList::ReadTipFacts(ScenarioImage& image, std::string& stored,
                                      std::string& description) const {
    // A file that holds no header or no path in its place names no installer, and so gets the installer's
    // tip. Only the header and the two fields are unscrambled: the steps are not shown in a list.
    if (!image.ReadScrambledSummary(stored, description))
        return {};
    // The description field ends at its first zero byte, so only blanks are left to trim.
    TrimBlanks(description);
    // Every path variable's name holds a percent sign; a path without one expands to itself.
    std::string installer =
        stored.find('%') != std::string::npos ? p_.pathVars.ExpandPathVars(stored) : stored;
    TrimBlanks(installer);
    return installer;
}

bool PackageList::SaveOrder() const {
    if (items.empty() || folder_.empty())
        return false;
    std::vector<std::string> names;
    names.reserve(items.size());
    for (const PackageItem& item : items)
        names.push_back(item.name);
    return p_.files.ReplaceFile(AddBackslash(folder_) + kOrderFileName,
                                p_.codec.ToAnsi(FormatOrderFile(names)));
}

bool PackageList::MatchesFolder() const {
    std::vector<std::string> names = FolderNames();
    if (names.size() != items.size())
        return false;
    NameIndex listed(items.size());
    for (const PackageItem& item : items)
        listed.Add(item.name, 0);
    return std::all_of(names.begin(), names.end(),
                       [&](const std::string& name) { return listed.Find(name) != NameIndex::kNone; });
}

std::string PackageList::PathOf(std::size_t index) const {
    return AddBackslash(folder_) + items[index].name + ".SCN";
}

}  // namespace velmora
