#include "scenario/AnsiCodePage.h"

#include <algorithm>
#include <cstring>

namespace velmora {
namespace {

// The bytes 0x80..0xFF of each code page as UTF-16 code units; 0 marks a byte the code page leaves undefined.
constexpr std::array<char16_t, 128> kWindows1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF};

constexpr std::array<char16_t, 128> kWindows1251 = [] {
    std::array<char16_t, 128> table = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
        0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
        0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
        0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
        0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};
    for (int i = 0; i < 64; ++i)  // 0xC0..0xFF: А..я in alphabetical order
        table[64 + i] = static_cast<char16_t>(0x0410 + i);
    return table;
}();

// Eight bytes at a time; most class names and paths are ASCII, and most captions are not from their start.
bool IsAscii(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & kHighBits)
            return false;
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::unique_ptr<SingleByteCodec> SingleByteCodec::Create(int codePage) {
    if (codePage == 1251)
        return std::unique_ptr<SingleByteCodec>(new SingleByteCodec(1251, kWindows1251));
    if (codePage == 1252)
        return std::unique_ptr<SingleByteCodec>(new SingleByteCodec(1252, kWindows1252));
    return nullptr;
}

SingleByteCodec::SingleByteCodec(int codePage, const std::array<char16_t, 128>& upperHalf)
    : codePage_(codePage) {
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t upper = byte < 0x80 ? 0 : upperHalf[byte - 0x80];
        char32_t cp = upper != 0 ? upper : static_cast<char32_t>(byte);
        std::string utf8;
        AppendUtf8(utf8, cp);
        utf8Of_[byte] = {};
        std::copy(utf8.begin(), utf8.end(), utf8Of_[byte].begin());
        lengthOf_[byte] = static_cast<unsigned char>(utf8.size());
        if (byte >= 0x80)
            fromCodePoint_.emplace(cp, static_cast<char>(byte));
    }
}

std::string SingleByteCodec::FromAnsi(std::string_view ansi) {
    std::string utf8;
    FromAnsiInto(ansi, utf8);
    return utf8;
}

void SingleByteCodec::FromAnsiInto(std::string_view ansi, std::string& utf8) {
    // This runs for every text of every step read, into strings reused from the step before. A text of
    // ASCII alone (a class name, most paths) is copied as it is. Any other result is sized for the longest
    // case plus one byte, so that every character, ASCII or not, is copied as four bytes from the table
    // without a branch, and the length is cut once at the end; a string that already has the room is not
    // resized (and zero-filled) first.
    if (IsAscii(ansi)) {
        // The string most often held the same class name or caption in the step before.
        if (utf8.size() == ansi.size())
            std::copy(ansi.begin(), ansi.end(), utf8.begin());
        else
            utf8.assign(ansi);
        return;
    }
    const std::size_t room = ansi.size() * 3 + 1;
    if (utf8.size() < room)
        utf8.resize(room);
    char* const start = utf8.data();
    char* next = start;
    for (char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        std::memcpy(next, utf8Of_[byte].data(), 4);
        next += lengthOf_[byte];
    }
    utf8.resize(static_cast<std::size_t>(next - start));
}

std::string SingleByteCodec::ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // A malformed sequence becomes one '?' for its lead byte, and decoding goes on after it.
        int length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        char32_t cp = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : lead & 0x1F;
        bool valid = length != 0 && i + length <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        auto found = fromCodePoint_.find(cp);
        out += found == fromCodePoint_.end() ? '?' : found->second;
        i += length;
    }
    return out;
}

}  // namespace velmora
