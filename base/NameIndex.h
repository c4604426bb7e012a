#pragma once
// Texts found again by their bytes, in one open-addressed table of numbers. A folder's listing and its order
// file hold thousands of names each time the folder is opened; a hash map's node for every name costs more
// than the look-ups themselves.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora {

class NameIndex {
  public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // Room for `expected` texts without growing. The texts added must outlive the index.
    explicit NameIndex(std::size_t expected);
    // The number the text was first added with; a text not added before is added with `number`.
    std::size_t Add(std::string_view text, std::size_t number);
    // The number the text was added with, or kNone.
    std::size_t Find(std::string_view text) const;

  private:
    struct Entry {
        std::string_view text;
        std::size_t number;
    };
    // The slot that holds the text, or the empty slot where it would go.
    std::size_t SlotOf(std::string_view text) const;
    void Grow();

    std::vector<Entry> entries_;
    std::vector<std::uint32_t> slots_;  // 0 for an empty slot, else an index into entries_ plus one
};

}  // namespace velmora
