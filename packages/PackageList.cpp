#include "packages/PackageList.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kScenarioPattern = "*.scn";
constexpr std::size_t kScenarioExtensionLength = 4;

// The places where one name stands. A folder's names are distinct, so nearly every name has one place and
// moves in constant time; only a name standing in several places needs them ordered to know its first.
struct Places {
    std::size_t first = 0;
    std::set<std::size_t> all;  // empty while the name stands in one place

    void Move(std::size_t from, std::size_t to) {
        if (all.empty()) {
            first = to;
            return;
        }
        all.erase(from);
        all.insert(to);
        first = *all.begin();
    }
};

// The order the swaps leave: result[p] is the index into keys of the name that ends at position p. The
// search for an entry's first equal name from the top becomes a look-up of where that name stands first.
std::vector<std::size_t> OrderAfterSwaps(const std::vector<std::string_view>& keys,
                                         const std::vector<std::string>& entries) {
    std::vector<std::size_t> order(keys.size());
    std::vector<std::size_t> placeOf(keys.size());  // position -> the Places of the name standing there
    std::vector<Places> places;
    std::unordered_map<std::string_view, std::size_t> placesOfName;
    placesOfName.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        order[i] = i;
        auto [it, added] = placesOfName.try_emplace(keys[i], places.size());
        if (added) {
            places.push_back(Places{i, {}});
        } else {
            Places& shared = places[it->second];
            if (shared.all.empty())
                shared.all.insert(shared.first);
            shared.all.insert(i);
        }
        placeOf[i] = it->second;
    }

    std::size_t target = 0;
    for (const std::string& entry : entries) {
        if (target == keys.size())
            break;
        auto it = placesOfName.find(entry);
        if (it == placesOfName.end())
            continue;
        std::size_t found = places[it->second].first;
        std::size_t other = placeOf[target];
        if (other != it->second) {
            places[it->second].Move(found, target);
            places[other].Move(target, found);
            std::swap(placeOf[found], placeOf[target]);
        }
        std::swap(order[found], order[target]);
        ++target;
    }
    return order;
}

}  // namespace

std::vector<std::string> ParseOrderFile(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        else if (end > start && text[end - 1] == '\r')
            --end;
        lines.emplace_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

std::string FormatOrderFile(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text.append(name).append("\r\n");
    return text;
}

void ApplyOrder(std::vector<std::string>& names, const std::vector<std::string>& entries) {
    std::vector<std::string_view> keys(names.begin(), names.end());
    std::vector<std::size_t> order = OrderAfterSwaps(keys, entries);
    std::vector<std::string> ordered;
    ordered.reserve(names.size());
    for (std::size_t from : order)
        ordered.push_back(std::move(names[from]));
    names = std::move(ordered);
}

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
    std::vector<std::string> names = FolderNames();
    // Sorted as the system's own listing of a folder sorts, by the names in capitals; a listing that comes
    // sorted already costs one pass.
    std::vector<std::pair<std::string, std::string>> byCapitals;
    byCapitals.reserve(names.size());
    for (std::string& name : names)
        byCapitals.emplace_back(ToUpper(name), std::move(name));
    if (!std::is_sorted(byCapitals.begin(), byCapitals.end()))
        std::sort(byCapitals.begin(), byCapitals.end());

    std::vector<std::size_t> order(byCapitals.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::optional<std::string> file;
    if (!byCapitals.empty())
        file = p_.files.ReadAll(AddBackslash(folder_) + kOrderFileName);
    if (file) {
        // Lines and names meet in the file's code page, where the original program compared them.
        std::vector<std::string> entries = ParseOrderFile(*file);
        std::vector<std::string> encoded;
        encoded.reserve(byCapitals.size());
        for (const auto& entry : byCapitals)
            encoded.push_back(p_.codec.ToAnsi(entry.second));
        order = OrderAfterSwaps(std::vector<std::string_view>(encoded.begin(), encoded.end()), entries);
    }
    items.reserve(order.size());
    for (std::size_t from : order)
        items.push_back(PackageItem{std::move(byCapitals[from].second), false, {}});
    return true;
}

void PackageList::Clear() {
    items.clear();
    folder_.clear();
}

std::string PackageList::TipFromBytes(const std::string& name, std::optional<std::string> bytes,
                                      ScenarioImage& image) const {
    // A file that cannot be read or holds no header names no installer, and so gets the installer's tip.
    std::string installer;
    if (bytes) {
        image.LoadImageBytes(std::move(*bytes));
        image.UnscrambleImage();
        if (image.ReadHeader())
            image.GetInstallerPath(installer);
    }
    if (!PathExists(p_.files, p_.pathVars.ExpandPathVars(installer)))
        return p_.language.LangText("Не найден исполняемый файл", "main", 19);
    std::string description = Trim(StripTrailingNulls(image.GetDescription()));
    return description.empty() ? name : name + " - " + description;
}

void PackageList::LoadTips(const std::function<void(int ordinal, int count)>& progress) {
    ScenarioImage image(p_.codec, p_.pathVars);
    const std::string missing = p_.language.LangText("Файл не найден", "main", 21);
    const int count = static_cast<int>(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::string path = PathOf(i);
        // A file that can be read exists; only one that cannot is looked for, which spares a look-up for
        // every package.
        std::optional<std::string> bytes = p_.files.ReadAll(path);
        if (!bytes && !PathExists(p_.files, path)) {
            items[i].tip = missing;
            continue;
        }
        if (progress)
            progress(static_cast<int>(i) + 1, count);
        items[i].tip = TipFromBytes(items[i].name, std::move(bytes), image);
    }
}

std::string PackageList::TipFor(const std::string& name) const {
    std::string path = AddBackslash(folder_) + name + ".SCN";
    std::optional<std::string> bytes = p_.files.ReadAll(path);
    if (!bytes && !PathExists(p_.files, path))
        return p_.language.LangText("Файл не найден", "main", 21);
    ScenarioImage image(p_.codec, p_.pathVars);
    return TipFromBytes(name, std::move(bytes), image);
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
    std::unordered_set<std::string_view> listed;
    listed.reserve(items.size());
    for (const PackageItem& item : items)
        listed.insert(item.name);
    return std::all_of(names.begin(), names.end(),
                       [&](const std::string& name) { return listed.count(name) > 0; });
}

std::string PackageList::PathOf(std::size_t index) const {
    return AddBackslash(folder_) + items[index].name + ".SCN";
}

}  // namespace velmora
