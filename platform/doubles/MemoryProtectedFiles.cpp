#include "platform/doubles/MemoryProtectedFiles.h"

#include <cstdint>

namespace velmora {
namespace {

class MemoryHeldFile : public HeldFile {
  public:
    MemoryHeldFile(MemoryFileSystem& files, ProtectedFiles& vault, std::string path)
        : files_(files), vault_(vault), path_(std::move(path)) {
        files_.SetLocked(path_);
    }
    MemoryHeldFile(const MemoryHeldFile&) = delete;
    MemoryHeldFile& operator=(const MemoryHeldFile&) = delete;
    ~MemoryHeldFile() override { files_.SetLocked(path_, false); }
    std::optional<std::string> Sha256() override {
        const std::optional<std::string> bytes = files_.Contents(path_);
        return bytes ? vault_.Sha256(*bytes) : std::nullopt;
    }

  private:
    MemoryFileSystem& files_;
    ProtectedFiles& vault_;
    std::string path_;
};

}  // namespace

FileTrust MemoryProtectedFiles::Trust(const std::string& path) {
    if (!files_.Exists(path))
        return FileTrust::Missing;
    const auto mark = marks.find(path);
    return mark == marks.end() ? FileTrust::Trusted : mark->second;
}

bool MemoryProtectedFiles::CreateFolder(const std::string& path) {
    if (!files_.CreateFolder(path))
        return false;
    marks.erase(path);
    return true;
}

bool MemoryProtectedFiles::MoveAside(const std::string& path, const std::string& to) {
    if (files_.Exists(to))
        return false;
    if (!(files_.IsDirectory(path) ? files_.MoveFolder(path, to) : files_.Rename(path, to)))
        return false;
    if (const auto mark = marks.find(path); mark != marks.end()) {
        marks[to] = mark->second;
        marks.erase(path);
    }
    return true;
}

std::optional<std::string> MemoryProtectedFiles::Read(const std::string& path) {
    if (Trust(path) != FileTrust::Trusted || files_.IsDirectory(path))
        return std::nullopt;
    return files_.ReadAll(path);
}

bool MemoryProtectedFiles::Write(const std::string& path, std::string_view bytes) {
    if (!files_.ReplaceFile(path, bytes))
        return false;
    marks.erase(path);
    return true;
}

bool MemoryProtectedFiles::Remove(const std::string& path) {
    if (!files_.Exists(path))
        return true;
    if (!files_.Remove(path))
        return false;
    marks.erase(path);
    return true;
}

std::unique_ptr<HeldFile> MemoryProtectedFiles::Hold(const std::string& path) {
    if (!files_.Contents(path))
        return nullptr;
    return std::make_unique<MemoryHeldFile>(files_, *this, path);
}

std::optional<std::string> MemoryProtectedFiles::Sha256(std::string_view bytes) {
    // Four FNV-1a hashes from different starts: 256 bits of the right form, not SHA-256.
    std::string hex;
    for (std::uint64_t seed : {0xcbf29ce484222325ull, 0x84222325cbf29ce4ull, 0x9e3779b97f4a7c15ull, 1ull}) {
        std::uint64_t h = seed;
        for (const char c : bytes)
            h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
        for (int shift = 60; shift >= 0; shift -= 4)
            hex += "0123456789abcdef"[(h >> shift) & 0xF];
    }
    return hex;
}

}  // namespace velmora
