#include "platform/doubles/MemoryProfileFile.h"

#include <cctype>
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
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos)
            nl = text.size();
        lines.push_back(text.substr(start, nl - start));
        if (!lines.back().empty() && lines.back().back() == '\r')
            lines.back().pop_back();
        start = nl + 1;
    }
    return lines;
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
    if (auto text = files_.Contents(file)) {
        bool inSection = false;
        for (const std::string& raw : Lines(*text)) {
            std::string line = Trim(raw);
            if (!line.empty() && line.front() == '[') {
                std::size_t close = line.find(']');
                inSection =
                    SameText(Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                             section);
                continue;
            }
            std::size_t eq = line.find('=');
            if (inSection && eq != std::string::npos && SameText(Trim(line.substr(0, eq)), key)) {
                result = Trim(line.substr(eq + 1));
                if (result.size() >= 2 && (result.front() == '"' || result.front() == '\'') &&
                    result.back() == result.front()) {
                    result = result.substr(1, result.size() - 2);
                }
                break;
            }
        }
    }
    return CutCodePoints(result, bufferSize - 1);
}

bool MemoryProfileFile::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    if (!IsWritableProfileEntry(section, key, value))
        return false;
    std::vector<std::string> lines = Lines(files_.Contents(file).value_or(""));
    int sectionLine = -1;
    int insertAt = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = Trim(lines[i]);
        if (!line.empty() && line.front() == '[') {
            if (sectionLine >= 0)
                break;
            std::size_t close = line.find(']');
            if (SameText(Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                         section)) {
                sectionLine = static_cast<int>(i);
                insertAt = static_cast<int>(i) + 1;
            }
            continue;
        }
        if (sectionLine < 0)
            continue;
        std::size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(Trim(line.substr(0, eq)), key)) {
            lines[i] = key + "=" + value;
            sectionLine = -2;
            break;
        }
        if (!line.empty())
            insertAt = static_cast<int>(i) + 1;
    }
    if (sectionLine == -1) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else if (sectionLine >= 0) {
        lines.insert(lines.begin() + insertAt, key + "=" + value);
    }
    std::string text;
    for (auto& line : lines)
        text += line + "\r\n";
    return files_.ReplaceFile(file, text);
}

}  // namespace velmora
