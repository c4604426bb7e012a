#pragma once
// The wildcard rule of file listings, shared by the real file system and its double so both list the same
// names: '*' matches any run of characters, '?' exactly one, and a trailing ".*" also matches a name
// without an extension ("*.*" lists every file). Letters compare through the given fold function.
#include <cstddef>
#include <string_view>

namespace velmora {

template <typename Char, typename Fold>
bool WildcardMatch(std::basic_string_view<Char> name, std::basic_string_view<Char> pattern, Fold fold) {
    // Iterative matching with one back-track point: linear in practice and no recursion on hostile input.
    std::size_t n = 0, p = 0, starP = std::basic_string_view<Char>::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == Char('?') || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (starP != std::basic_string_view<Char>::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == Char('*'))
        ++p;
    if (p == pattern.size())
        return true;
    // The name is used up; what is left of the pattern may only be ".*" with stars around it.
    if (pattern[p] != Char('.') || p + 1 == pattern.size())
        return false;
    for (std::size_t i = p + 1; i < pattern.size(); ++i) {
        if (pattern[i] != Char('*'))
            return false;
    }
    return true;
}

}  // namespace velmora
