#include "platform/doubles/MemoryProfileFile.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/ProfileText.h"

namespace velmora {
namespace {

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The name of the section a (trimmed) line heads; nothing for any other line.
std::optional<std::string> SectionOf(const std::string& line) {
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.find(']');
    return Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The value a (trimmed) line gives the key; nothing when it gives none.
std::optional<std::string> ValueOf(const std::string& line, const std::string& key) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || !SameText(Trim(line.substr(0, eq)), key))
        return std::nullopt;
    return Trim(line.substr(eq + 1));
}

std::string Unquoted(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Cuts a UTF-8 text to at most n code points.
std::string CutCodePoints(const std::string& s, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == n)
                return s.substr(0, i);
            ++count;
        }
    }
    return s;
}

}  // namespace

std::string MemoryProfileFile::GetString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& def,
                                         std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    std::string result = def;
    bool inSection = false;
    for (const std::string& raw : Lines(files_.Contents(file).value_or(""))) {
        const std::string line = Trim(raw);
        if (const std::optional<std::string> name = SectionOf(line)) {
            inSection = SameText(*name, section);
        } else if (const std::optional<std::string> value = inSection ? ValueOf(line, key) : std::nullopt) {
            result = Unquoted(*value);
            break;
        }
    }
    return CutCodePoints(result, bufferSize - 1);
}

std::vector<std::pair<std::string, std::string>> MemoryProfileFile::GetSection(const std::string& file,
                                                                               const std::string& section) {
    std::vector<std::pair<std::string, std::string>> entries;
    bool inSection = false;
    for (const std::string& raw : Lines(files_.Contents(file).value_or(""))) {
        const std::string line = Trim(raw);
        if (const std::optional<std::string> name = SectionOf(line)) {
            inSection = SameText(*name, section);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inSection && eq != std::string::npos && line.front() != ';')
            entries.emplace_back(Trim(line.substr(0, eq)), Unquoted(Trim(line.substr(eq + 1))));
    }
    return entries;
}

bool MemoryProfileFile::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    if (!IsWritableProfileEntry(section, key, value))
        return false;
    std::vector<std::string> lines = Lines(files_.Contents(file).value_or(""));
    // The entry replaces the key's line in its section, or follows the section's last line that is not empty.
    std::optional<std::size_t> at;
    bool replace = false;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size() && !replace; ++i) {
        const std::string line = Trim(lines[i]);
        if (const std::optional<std::string> name = SectionOf(line)) {
            if (inSection)
                break;
            inSection = SameText(*name, section);
            if (inSection)
                at = i + 1;
        } else if (inSection && ValueOf(line, key)) {
            at = i;
            replace = true;
        } else if (inSection && !line.empty()) {
            at = i + 1;
        }
    }
    const std::string entry = key + "=" + value;
    if (!at) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    } else if (replace) {
        lines[*at] = entry;
    } else {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*at), entry);
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return files_.ReplaceFile(file, text);
}

}  // namespace velmora
