#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

// INI profile files (the language files and "velmora.ini").
class ProfileFile {
  public:
    virtual ~ProfileFile() = default;
    // The value of the key, or def when the file, section or key is missing; like the system's reader it
    // copies at most bufferSize - 1 characters.
    virtual std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& def, std::size_t bufferSize) = 0;
    // Every key of the section with its value, in the file's order, read as GetString reads one value: blanks
    // around both and a pair of quotes around the value dropped. Empty when the file or section is missing.
    // One call where a table of keys would take one search of the file each.
    virtual std::vector<std::pair<std::string, std::string>> GetSection(const std::string& file,
                                                                        const std::string& section) = 0;
    // Writes one key; a file that does not exist yet is created. False when the file cannot be written.
    [[nodiscard]] virtual bool WriteString(const std::string& file, const std::string& section,
                                           const std::string& key, const std::string& value) = 0;
};

}  // namespace velmora
