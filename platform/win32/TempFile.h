#pragma once
// A new, empty file beside a target, for writers that build the new contents aside and then move them over
// the target in one step.
#include <optional>
#include <string>

#include "platform/win32/UniqueHandle.h"

namespace velmora {

struct TempFile {
    std::wstring path;
    unique_hfile handle;  // open for writing, no sharing
};

// Creates a file that did not exist before in the folder of `target` (the current folder when the target
// names none), with the rights `security` gives (the folder's when null). Nothing when the folder cannot be
// written.
std::optional<TempFile> CreateTempFileBeside(const std::wstring& target,
                                             SECURITY_ATTRIBUTES* security = nullptr);

// Moves the finished temporary file over the target, replacing it and waiting until the move is on disk.
// On failure the temporary file is deleted and the target is left as it was.
bool MoveTempFileOver(const std::wstring& temp, const std::wstring& target);

// True when the path names an existing file that carries the read-only attribute.
bool IsReadOnlyFile(const std::wstring& path);

}  // namespace velmora
