#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Files and folders. Paths are UTF-8 Windows paths.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True when a directory search finds the entry or its attributes can be read, so drive roots and
    // folders count as well as files. The path is used as given (callers trim).
    [[nodiscard]] virtual bool Exists(const std::string& path) = 0;
    // True when the attributes can be read and include the directory attribute.
    [[nodiscard]] virtual bool IsDirectory(const std::string& path) = 0;
    // The whole file, or nothing when it cannot be opened or read.
    [[nodiscard]] virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
    // The same into `bytes`, whose memory is reused, so that reading a folder's files one after another
    // allocates only for a file longer than all before it. False, with `bytes` empty, when the file cannot be
    // opened or read.
    [[nodiscard]] virtual bool ReadAllInto(const std::string& path, std::string& bytes) = 0;
    // Writes the bytes to a temporary file in the same folder and moves it over the target, so the
    // previous file survives any failure untouched. The result has normal attributes.
    [[nodiscard]] virtual bool ReplaceFile(const std::string& path, std::string_view bytes) = 0;
    // Renames or moves a file; false when the target exists or the source is missing.
    [[nodiscard]] virtual bool Rename(const std::string& from, const std::string& to) = 0;
    [[nodiscard]] virtual bool Remove(const std::string& path) = 0;
    // Names (not paths) of the files in a folder that match a wildcard pattern such as "*.SCN".
    virtual std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) = 0;
    virtual std::string CurrentDirectory() = 0;
    // Copies a file, replacing an existing target unless that target is read-only.
    [[nodiscard]] virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // Creates one folder; its parent must exist. False when it cannot be created or already exists.
    [[nodiscard]] virtual bool CreateFolder(const std::string& path) = 0;
    // Sets the normal attribute, clearing read-only (files copied from a disc carry it).
    [[nodiscard]] virtual bool SetNormalAttributes(const std::string& path) = 0;
    // Adds the bytes at the end of the file, creating it when it is missing, and has them on the disk before
    // it returns, so a log written this way keeps every line a crash or a power cut came after.
    [[nodiscard]] virtual bool Append(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace velmora
