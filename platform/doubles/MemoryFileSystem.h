#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace velmora {

// An in-memory file system with Windows rules: names compare without regard to case, "/" and "\" are the
// same, and a drive root exists once any path on it does (the current directory's always does).
class MemoryFileSystem : public FileSystem {
  public:
    void AddFile(const std::string& path, std::string bytes = {});
    void AddFolder(const std::string& path);
    void SetReadOnly(const std::string& path, bool readOnly = true);
    // A locked file is open elsewhere without sharing: it can be neither read, replaced, renamed nor removed.
    void SetLocked(const std::string& path, bool locked = true);
    // The next ReplaceFile fails after writing this many bytes of its temporary file.
    void FailNextWriteAfter(std::size_t bytes) { failAfter_ = bytes; }
    std::optional<std::string> Contents(const std::string& path) const;
    // Renames a folder with everything in it; false when the target is taken or the source is no folder.
    bool MoveFolder(const std::string& from, const std::string& to);
    std::size_t FileCount() const { return files_.size(); }

    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    bool ReadAllInto(const std::string& path, std::string& bytes) override;
    bool ReplaceFile(const std::string& path, std::string_view bytes) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) override;
    std::string CurrentDirectory() override { return currentDirectory; }
    bool Copy(const std::string& from, const std::string& to) override;
    bool CreateFolder(const std::string& path) override;
    bool SetNormalAttributes(const std::string& path) override;
    bool Append(const std::string& path, std::string_view bytes) override;

    std::string currentDirectory = "C:\\";
    std::size_t reads = 0;  // ReadAll calls, found or not

  private:
    static std::string Key(const std::string& path);
    static std::string NameOf(const std::string& path);
    bool ParentExists(const std::string& key) const;

    struct Entry {
        std::string name;  // as first given, for listings
        std::string bytes;
        bool readOnly = false;
        bool locked = false;
    };
    std::map<std::string, Entry> files_;
    std::set<std::string> folders_;
    std::optional<std::size_t> failAfter_;
};

}  // namespace velmora
