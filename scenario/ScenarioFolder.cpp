#include "scenario/ScenarioFolder.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "base/NameIndex.h"
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
    // The number the next new name gets.
    std::size_t Count() const { return first_.size(); }
    // A new name standing at `place`.
    void Add(std::size_t place) {
        first_.push_back(place);
        shared_.push_back(kAlone);
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
    NameIndex names(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        order[i] = i;
        const std::size_t name = names.Add(keys[i], places.Count());
        if (name == places.Count())
            places.Add(i);
        else
            places.AddAgain(name, i);
        nameAt[i] = name;
    }

    std::size_t target = 0;
    for (std::string_view entry : entries) {
        if (target == keys.size())
            break;
        const std::size_t name = names.Find(entry);
        if (name == NameIndex::kNone)
            continue;
        std::size_t found = places.First(name);
        std::size_t other = nameAt[target];
        if (other != name) {
            places.Move(name, found, target);
            places.Move(other, target, found);
            std::swap(nameAt[found], nameAt[target]);
        }
        std::swap(order[found], order[target]);
        ++target;
    }
    return order;
}

// Where the order file leaves every name when it alone decides: its lines, skipping those that name no
// package, place every package once, and no two packages share a line's text. The swaps then put the names
// in the order of the lines that place them, whatever order they started in, so the sort by capitals is
// not needed. This is the file the list itself writes, naming every package, until the folder changes.
// Nothing when a line would move a package placed before, or names a text two packages share, or the lines
// leave a package unplaced.
std::optional<std::vector<std::size_t>> PlacedByTheFile(const std::vector<std::string>& keys,
                                                        const std::vector<std::string_view>& lines) {
    NameIndex index(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (index.Add(keys[i], i) != i)
            return std::nullopt;
    }
    std::vector<bool> placed(keys.size(), false);
    std::vector<std::size_t> order;
    order.reserve(keys.size());
    for (std::string_view line : lines) {
        if (order.size() == keys.size())
            break;
        const std::size_t key = index.Find(line);
        if (key == NameIndex::kNone)
            continue;
        if (placed[key])
            return std::nullopt;
        placed[key] = true;
        order.push_back(key);
    }
    if (order.size() != keys.size())
        return std::nullopt;
    return order;
}

// The names' numbers sorted as the system's own listing of a folder sorts, by the names in capitals, which
// all share one string rather than a string each; names equal in capitals by their bytes.
std::vector<std::size_t> SortedByCapitals(const std::vector<std::string>& names) {
    std::string capitals;
    for (const std::string& name : names)
        capitals.append(name);
    letter_case::ChangeCase(capitals.data(), capitals.size(), true);
    // Each name's capitals beside its number, so that comparing two looks nowhere else.
    std::vector<std::pair<std::string_view, std::size_t>> byCapitals;
    byCapitals.reserve(names.size());
    for (std::size_t i = 0, start = 0; i < names.size(); start += names[i++].size())
        byCapitals.emplace_back(std::string_view(capitals).substr(start, names[i].size()), i);
    std::sort(byCapitals.begin(), byCapitals.end(), [&](const auto& a, const auto& b) {
        int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : names[a.second] < names[b.second];
    });
    std::vector<std::size_t> sorted;
    sorted.reserve(names.size());
    for (const auto& [capital, i] : byCapitals)
        sorted.push_back(i);
    return sorted;
}

std::vector<std::string> Arranged(std::vector<std::string>& names, const std::vector<std::size_t>& order) {
    std::vector<std::string> arranged;
    arranged.reserve(order.size());
    for (std::size_t from : order)
        arranged.push_back(std::move(names[from]));
    return arranged;
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
    std::optional<std::string> file;
    if (!names.empty())
        file = files.ReadAll(AddBackslash(folder) + kOrderFileName);
    // Lines and names meet in the file's code page, where the original program compared them.
    std::vector<std::string> encoded;
    std::vector<std::string_view> lines;
    if (file) {
        encoded.reserve(names.size());
        for (const std::string& name : names)
            encoded.push_back(codec.ToAnsi(name));
        lines = SplitLines(*file);
        if (std::optional<std::vector<std::size_t>> placed = PlacedByTheFile(encoded, lines))
            return Arranged(names, *placed);
    }

    std::vector<std::size_t> order = SortedByCapitals(names);
    if (file) {
        std::vector<std::string_view> keys;
        keys.reserve(order.size());
        for (std::size_t from : order)
            keys.push_back(encoded[from]);
        std::vector<std::size_t> moved = OrderAfterSwaps(keys, lines);
        std::vector<std::size_t> sorted = order;
        for (std::size_t i = 0; i < moved.size(); ++i)
            order[i] = sorted[moved[i]];
    }
    return Arranged(names, order);
}

}  // namespace velmora
