#include "scenario/ScenarioFolder.h"

#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>

#include "base/Utilities.h"
#include "platform/LetterCase.h"

namespace velmora {
namespace {

constexpr const char* kScenarioPattern = "*.scn";
constexpr std::size_t kScenarioExtensionLength = 4;

// Where each distinct name stands. A folder's names are distinct, so nearly every name has one place and
// moves in constant time; only a name standing in several places keeps them ordered, to know its first.
class Places {
  public:
    std::size_t First(std::size_t name) const { return first_[name]; }
    // A new name standing at `place`; its number is returned.
    std::size_t Add(std::size_t place) {
        first_.push_back(place);
        shared_.push_back(kAlone);
        return first_.size() - 1;
    }
    void AddAgain(std::size_t name, std::size_t place) {
        if (shared_[name] == kAlone) {
            shared_[name] = all_.size();
            all_.push_back({first_[name]});
        }
        all_[shared_[name]].insert(place);
        first_[name] = *all_[shared_[name]].begin();
    }
    void Move(std::size_t name, std::size_t from, std::size_t to) {
        if (shared_[name] == kAlone) {
            first_[name] = to;
            return;
        }
        std::set<std::size_t>& all = all_[shared_[name]];
        all.erase(from);
        all.insert(to);
        first_[name] = *all.begin();
    }
    void Reserve(std::size_t names) {
        first_.reserve(names);
        shared_.reserve(names);
    }

  private:
    static constexpr std::size_t kAlone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> first_;
    std::vector<std::size_t> shared_;  // index into all_, or kAlone
    std::vector<std::set<std::size_t>> all_;
};

// The lines of an order file as views into its text.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        else if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

// The order the swaps leave: result[p] is the index into keys of the name that ends at position p. The
// search for an entry's first equal name from the top becomes a look-up of where that name stands first.
std::vector<std::size_t> OrderAfterSwaps(const std::vector<std::string_view>& keys,
                                         const std::vector<std::string_view>& entries) {
    std::vector<std::size_t> order(keys.size());
    std::vector<std::size_t> nameAt(keys.size());  // position -> the name standing there
    Places places;
    places.Reserve(keys.size());
    std::unordered_map<std::string_view, std::size_t> names;
    names.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        order[i] = i;
        auto [it, added] = names.try_emplace(keys[i], 0);
        if (added)
            it->second = places.Add(i);
        else
            places.AddAgain(it->second, i);
        nameAt[i] = it->second;
    }

    std::size_t target = 0;
    for (std::string_view entry : entries) {
        if (target == keys.size())
            break;
        auto it = names.find(entry);
        if (it == names.end())
            continue;
        std::size_t found = places.First(it->second);
        std::size_t other = nameAt[target];
        if (other != it->second) {
            places.Move(it->second, found, target);
            places.Move(other, target, found);
            std::swap(nameAt[found], nameAt[target]);
        }
        std::swap(order[found], order[target]);
        ++target;
    }
    return order;
}

}  // namespace

std::vector<std::string> ParseOrderFile(std::string_view text) {
    std::vector<std::string_view> lines = SplitLines(text);
    return std::vector<std::string>(lines.begin(), lines.end());
}

std::string FormatOrderFile(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text.append(name).append("\r\n");
    return text;
}

void ApplyOrder(std::vector<std::string>& names, const std::vector<std::string>& entries) {
    std::vector<std::string_view> keys(names.begin(), names.end());
    std::vector<std::size_t> order =
        OrderAfterSwaps(keys, std::vector<std::string_view>(entries.begin(), entries.end()));
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
    // Sorted as the system's own listing of a folder sorts, by the names in capitals, which all share one
    // string rather than a string each.
    std::string capitals;
    for (const std::string& name : names)
        capitals.append(name);
    letter_case::ChangeCase(capitals.data(), capitals.size(), true);
    std::vector<std::string_view> capitalsOf;
    capitalsOf.reserve(names.size());
    for (std::size_t i = 0, start = 0; i < names.size(); start += names[i++].size())
        capitalsOf.push_back(std::string_view(capitals).substr(start, names[i].size()));
    std::vector<std::size_t> sorted(names.size());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = i;
    std::sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) {
        int byCapitals = capitalsOf[a].compare(capitalsOf[b]);
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
        std::vector<std::size_t> moved =
            OrderAfterSwaps(std::vector<std::string_view>(encoded.begin(), encoded.end()), SplitLines(*file));
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
