#pragma once
// The protected files on a MemoryFileSystem: entries are trusted unless a test marks them otherwise, a held
// file is locked in the file system until it is let go, and fingerprints are not SHA-256 but of its form (64
// lower-case hex digits, the same for the same bytes), which is all the core relies on.
#include <map>
#include <string>

#include "platform/ProtectedFiles.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"

namespace velmora {

class MemoryProtectedFiles : public ProtectedFiles {
  public:
    explicit MemoryProtectedFiles(MemoryFileSystem& files) : files_(files) {}

    std::string CommonDataFolder() override { return commonDataFolder; }
    FileTrust Trust(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool MoveAside(const std::string& path, const std::string& to) override;
    std::optional<std::string> Read(const std::string& path) override;
    bool Write(const std::string& path, std::string_view bytes) override;
    bool Remove(const std::string& path) override;
    std::unique_ptr<HeldFile> Hold(const std::string& path) override;
    std::optional<std::string> Sha256(std::string_view bytes) override;

    std::string commonDataFolder = "C:\\ProgramData";
    // Entries that are not what they should be, and why; what the program makes or writes itself is
    // trusted (a folder it makes, a file it replaces).
    std::map<std::string, FileTrust, CaseInsensitiveLess> marks;

  private:
    MemoryFileSystem& files_;
};

}  // namespace velmora
