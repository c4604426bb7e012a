#include "base/NameIndex.h"

#include <functional>

namespace velmora {

NameIndex::NameIndex(std::size_t expected) {
    // At most half the slots are ever taken, so a probe meets an empty slot soon.
    std::size_t size = 16;
    while (size < expected * 2)
        size *= 2;
    slots_.assign(size, 0);
    entries_.reserve(expected);
}

std::size_t NameIndex::SlotOf(std::string_view text) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(text)&mask;
    while (slots_[slot] != 0 && entries_[slots_[slot] - 1].text != text)
        slot = (slot + 1) & mask;
    return slot;
}

std::size_t NameIndex::Add(std::string_view text, std::size_t number) {
    if ((entries_.size() + 1) * 2 > slots_.size())
        Grow();
    const std::size_t slot = SlotOf(text);
    if (slots_[slot] != 0)
        return entries_[slots_[slot] - 1].number;
    entries_.push_back({text, number});
    slots_[slot] = static_cast<std::uint32_t>(entries_.size());
    return number;
}

std::size_t NameIndex::Find(std::string_view text) const {
    const std::size_t slot = SlotOf(text);
    return slots_[slot] != 0 ? entries_[slots_[slot] - 1].number : kNone;
}

void NameIndex::Grow() {
    slots_.assign(slots_.size() * 2, 0);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        slots_[SlotOf(entries_[i].text)] = static_cast<std::uint32_t>(i + 1);
}

}  // namespace velmora
