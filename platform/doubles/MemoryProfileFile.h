#pragma once
#include "platform/ProfileFile.h"
#include "platform/doubles/MemoryFileSystem.h"

namespace velmora {

// Reads and writes INI text kept in a MemoryFileSystem, with the system's rules: sections and keys compare
// without regard to case, blanks around names and values are dropped, the first matching key wins.
class MemoryProfileFile : public ProfileFile {
  public:
    explicit MemoryProfileFile(MemoryFileSystem& files) : files_(files) {}
    std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& def, std::size_t bufferSize) override;
    std::vector<std::pair<std::string, std::string>> GetSection(const std::string& file,
                                                                const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

  private:
    MemoryFileSystem& files_;
};

}  // namespace velmora
