#include "scenario/ScenarioFolder.h"

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>

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

std::vector<std::string> OrderedScenarioNames(FileSystem& files, Codec& codec, const std::string& folder) {
    std::vector<std::string> names = files.ListFiles(folder, kScenarioPattern);
    for (std::string& name : names)
        name.resize(name.size() >= kScenarioExtensionLength ? name.size() - kScenarioExtensionLength : 0);
    // Sorted as the system's own listing of a folder sorts, by the names in capitals.
    std::vector<std::string> capitals;
    capitals.reserve(names.size());
    for (const std::string& name : names)
        capitals.push_back(ToUpper(name));
    std::vector<std::size_t> sorted(names.size());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = i;
    std::sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) {
        int byCapitals = capitals[a].compare(capitals[b]);
        return byCapitals != 0 ? byCapitals < 0 : names[a] < names[b];
    });

    std::vector<std::size_t> order = sorted;
    std::optional<std::string> file;
    if (!names.empty()) {
        file = files.ReadAll(AddBackslash(folder) + kOrderFileName);
    }
    if (file) {
        // Lines and names meet in the file's code page, where the original program compared them.
        std::vector<std::string> encoded;
        encoded.reserve(names.size());
        for (std::size_t from : sorted)
            encoded.push_back(codec.ToAnsi(names[from]));
        std::vector<std::size_t> moved = OrderAfterSwaps(
            std::vector<std::string_view>(encoded.begin(), encoded.end()), ParseOrderFile(*file));
        for (std::size_t i = 0; i < moved.size(); ++i)
            order[i] = sorted[moved[i]];
    }
    std::vector<std::string> ordered;
    ordered.reserve(order.size());
    for (std::size_t from : order)
        ordered.push_back(std::move(names[from]));
    return ordered;
}

}  // namespace velmora
