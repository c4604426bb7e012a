#pragma once
// Letter case of UTF-8 texts as the program compares names: ASCII and Cyrillic letters; every other byte is
// kept. A letter keeps its byte length, so an offset found in the changed text is valid in the original. The
// test doubles compare window classes and captions by the same rule as the core.
#include <cstddef>
#include <string>

namespace velmora {

namespace letter_case {
// Cyrillic letters are two UTF-8 bytes in both cases, so the text keeps its length.
inline unsigned FoldCyrillic(unsigned cp, bool upper) {
    if (upper) {
        if (cp >= 0x430 && cp <= 0x44F)
            return cp - 0x20;
        if (cp >= 0x450 && cp <= 0x45F)
            return cp - 0x50;
        if (cp == 0x491)
            return 0x490;
    } else {
        if (cp >= 0x410 && cp <= 0x42F)
            return cp + 0x20;
        if (cp >= 0x400 && cp <= 0x40F)
            return cp + 0x50;
        if (cp == 0x490)
            return 0x491;
    }
    return cp;
}

// In place, over `size` bytes: a list of names folds them all into one buffer.
inline void ChangeCase(char* text, std::size_t size, bool upper) {
    for (std::size_t i = 0; i < size; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (upper && c >= 'a' && c <= 'z') {
            text[i] = static_cast<char>(c - 'a' + 'A');
        } else if (!upper && c >= 'A' && c <= 'Z') {
            text[i] = static_cast<char>(c - 'A' + 'a');
        } else if (c >= 0xD0 && c <= 0xD2 && i + 1 < size &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            cp = FoldCyrillic(cp, upper);
            text[i] = static_cast<char>(0xC0 | (cp >> 6));
            text[i + 1] = static_cast<char>(0x80 | (cp & 0x3F));
            ++i;
        }
    }
}

inline std::string ChangeCase(const std::string& text, bool upper) {
    std::string out = text;
    ChangeCase(out.data(), out.size(), upper);
    return out;
}
}  // namespace letter_case

inline std::string ToUpper(const std::string& text) {
    return letter_case::ChangeCase(text, true);
}

inline std::string ToLower(const std::string& text) {
    return letter_case::ChangeCase(text, false);
}

inline bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ToLower(a) == ToLower(b);
}

}  // namespace velmora
