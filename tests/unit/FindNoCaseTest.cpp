#include <gtest/gtest.h>

#include <random>

#include "base/Utilities.h"

namespace velmora {
namespace {

// The search must find what searching the folded copies finds, whatever mix of cases, Cyrillic letters and
// stray bytes the texts hold.
TEST(FindNoCaseTest, FindsWhatTheFoldedCopiesFind) {
    const char* pieces[] = {"a", "A", "%", "z", "Z", "б", "Б", "ё", "Ё", "\xD0", "\x90"};
    std::mt19937 random(3);
    auto upTo = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    auto text = [&](std::size_t most) {
        std::string out;
        for (std::size_t n = upTo(most); n > 0; --n)
            out += pieces[upTo(std::size(pieces) - 1)];
        return out;
    };
    for (int round = 0; round < 50000; ++round) {
        std::string haystack = text(10), needle = text(3);
        std::size_t from = upTo(haystack.size() + 1);
        ASSERT_EQ(FindNoCase(haystack, needle, from), ToLower(haystack).find(ToLower(needle), from))
            << haystack << " / " << needle << " from " << from;
    }
}

}  // namespace
}  // namespace velmora
