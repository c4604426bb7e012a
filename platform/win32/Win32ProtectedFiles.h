#pragma once
#include "platform/ProtectedFiles.h"

namespace velmora {

// Owners and DACLs read through handles opened on the entry itself (FILE_FLAG_OPEN_REPARSE_POINT), folders
// and files made with an explicit protected DACL, SHA-256 from CryptoAPI in advapi32.
class Win32ProtectedFiles : public ProtectedFiles {
  public:
    std::string CommonDataFolder() override;
    FileTrust Trust(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool MoveAside(const std::string& path, const std::string& to) override;
    std::optional<std::string> Read(const std::string& path) override;
    bool Write(const std::string& path, std::string_view bytes) override;
    bool Remove(const std::string& path) override;
    std::unique_ptr<HeldFile> Hold(const std::string& path) override;
    std::optional<std::string> Sha256(std::string_view bytes) override;
};

}  // namespace velmora
