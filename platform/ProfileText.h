#pragma once
// What may be written into an INI file as one entry. A line break would start a new line of the file and so
// plant other keys or sections; a section name cannot hold ']', nor a key name '='.
#include <string>

namespace velmora {

inline bool IsWritableProfileEntry(const std::string& section, const std::string& key,
                                   const std::string& value) {
    auto breaksLine = [](const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; };
    return !breaksLine(section) && !breaksLine(key) && !breaksLine(value) &&
           section.find(']') == std::string::npos && key.find('=') == std::string::npos &&
           (section + key + value).find('\0') == std::string::npos;
}

}  // namespace velmora
