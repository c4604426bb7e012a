#pragma once
#include "platform/ProfileFile.h"

namespace velmora {

// INI files through the system's profile functions. A write builds the new file aside and moves it over the
// old one, so a failure never leaves a half-written file; a file it creates is in the ANSI code page.
class Win32ProfileFile : public ProfileFile {
  public:
    std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& def, std::size_t bufferSize) override;
    std::vector<std::pair<std::string, std::string>> GetSection(const std::string& file,
                                                                const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace velmora
