#pragma once
// scntool: scenario files to text and back, and many machines' run reports to one table. The commands live
// here; the two entry points (one per system) only supply files, output and code pages.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Codec.h"

namespace velmora {

class ScntoolIo {
  public:
    virtual ~ScntoolIo() = default;
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // At most `most` bytes from the start of the file into `bytes`, whose memory is kept for the next file;
    // false when it cannot be opened or read.
    virtual bool ReadFileStart(const std::string& path, std::size_t most, std::string& bytes) = 0;
    // Writes beside the target and moves over it, so a failed write leaves the old file.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    virtual void Out(const std::string& text) = 0;
    virtual void Err(const std::string& text) = 0;
    virtual int DefaultCodePage() = 0;
    // A codec for the code page, or nothing when this system cannot convert it.
    virtual std::unique_ptr<Codec> MakeCodec(int codePage) = 0;
    // Names of the files (not folders) in a folder; nothing when it cannot be listed.
    virtual std::optional<std::vector<std::string>> ListFolder(const std::string& folder) = 0;
};

// The arguments after the program name; the exit code (0 done, 1 failed, 2 bad usage).
int RunScntool(const std::vector<std::string>& args, ScntoolIo& io);

}  // namespace velmora
