#pragma once
// Files that only administrators can change, for what an elevated run leaves for its own later, elevated
// start (the resume record, the copy of the program its logon task starts), and fingerprints of the files it
// will play then. Paths are UTF-8 Windows paths. No operation follows a link or junction that stands in a
// checked place: a link is looked at, renamed or removed itself.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Whether a file or folder holds only what an administrator put there.
enum class FileTrust {
    Trusted,       // owned by Administrators, SYSTEM or TrustedInstaller, and nobody else may change it
    Missing,       // nothing is there
    ReparsePoint,  // a link, junction or other reparse point stands in its place
    Owner,         // someone else owns it, and an owner can always change its rights
    Access,        // its rights let someone else write it, delete it or change its rights or owner
};

// An open file that nobody may write, delete or rename while it is held (it may still be read and started).
class HeldFile {
  public:
    virtual ~HeldFile() = default;
    // The SHA-256 of its bytes as they are now, read through the held handle; nothing when reading fails.
    [[nodiscard]] virtual std::optional<std::string> Sha256() = 0;
};

class ProtectedFiles {
  public:
    virtual ~ProtectedFiles() = default;
    // The machine's folder for programs' data (%ProgramData%), as the system names it, without a trailing
    // backslash; empty when the system does not say.
    virtual std::string CommonDataFolder() = 0;
    // Of the entry itself, never of what a link points at.
    virtual FileTrust Trust(const std::string& path) = 0;
    // Makes a folder that Administrators and SYSTEM own and may change, users may only read, and that does
    // not take the rights of its parent; what is made in it gets the same. False when anything is already
    // there (also a link) or its parent is missing.
    [[nodiscard]] virtual bool CreateFolder(const std::string& path) = 0;
    // Renames the entry (a link itself, not its target) to a name that must be free.
    [[nodiscard]] virtual bool MoveAside(const std::string& path, const std::string& to) = 0;
    // The bytes of a trusted file, checked and read through one handle; nothing for any other (a link, a
    // folder, a file with more than one name, one someone else could have changed).
    [[nodiscard]] virtual std::optional<std::string> Read(const std::string& path) = 0;
    // Writes a temporary file in the same folder with the rights CreateFolder gives and moves it over the
    // target (a link in the target's place is replaced, not followed). The caller checks the folder.
    [[nodiscard]] virtual bool Write(const std::string& path, std::string_view bytes) = 0;
    // Removes a file or a link; true when nothing is there afterwards, also when nothing was.
    [[nodiscard]] virtual bool Remove(const std::string& path) = 0;
    // Holds any file open for reading, others allowed only to read it; nothing when it cannot be opened.
    [[nodiscard]] virtual std::unique_ptr<HeldFile> Hold(const std::string& path) = 0;
    // The SHA-256 of the bytes in lower-case hex; nothing when the system cannot compute it.
    [[nodiscard]] virtual std::optional<std::string> Sha256(std::string_view bytes) = 0;
};

}  // namespace velmora
