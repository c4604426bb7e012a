#pragma once
#include "platform/FileSystem.h"

namespace velmora {

// Files and folders through the W functions of the system.
class Win32FileSystem : public FileSystem {
  public:
    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    bool ReadAllInto(const std::string& path, std::string& bytes) override;
    bool ReplaceFile(const std::string& path, std::string_view bytes) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) override;
    std::string CurrentDirectory() override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool CreateFolder(const std::string& path) override;
    bool SetNormalAttributes(const std::string& path) override;
    bool Append(const std::string& path, std::string_view bytes) override;
};

}  // namespace velmora
