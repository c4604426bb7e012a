#include "platform/win32/Win32ProfileFile.h"

#include <algorithm>
#include <optional>

#include "platform/ProfileText.h"
#include "platform/win32/TempFile.h"
#include "platform/win32/WideText.h"

namespace velmora {
namespace {

// Longer values than this are not read whole; the bound keeps a hostile size from exhausting memory.
constexpr std::size_t kMaxBuffer = 1u << 16;

// The system looks for a bare file name in the Windows folder; this program means the current folder, for
// reading and writing alike.
std::optional<std::wstring> FullPath(const std::string& file) {
    std::wstring wide = Utf8ToWide(file);
    if (wide.empty() || wide.find(L'\0') != std::wstring::npos)
        return std::nullopt;
    DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::nullopt;
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return std::nullopt;
    full.resize(length);
    return full;
}

}  // namespace

std::string Win32ProfileFile::GetString(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& def,
                                        std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    DWORD size = static_cast<DWORD>(std::min(bufferSize, kMaxBuffer));
    std::optional<std::wstring> path = FullPath(file);
    if (!path)
        return WideToUtf8(Utf8ToWide(def).substr(0, size - 1));
    std::wstring buffer(size, L'\0');
    DWORD copied = GetPrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                            Utf8ToWide(def).c_str(), buffer.data(), size, path->c_str());
    buffer.resize(std::min<DWORD>(copied, size - 1));
    return WideToUtf8(buffer);
}

bool Win32ProfileFile::WriteString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value) {
    std::optional<std::wstring> target = FullPath(file);
    if (!target || !IsWritableProfileEntry(section, key, value))
        return false;
    DWORD attributes = GetFileAttributesW(target->c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;
    std::optional<TempFile> temp = CreateTempFileBeside(*target);
    if (!temp)
        return false;
    temp->handle.reset();
    // An empty temporary file stands for a new one: the system then writes it in the ANSI code page.
    bool written = !exists || CopyFileW(target->c_str(), temp->path.c_str(), FALSE);
    written = written && WritePrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                                    Utf8ToWide(value).c_str(), temp->path.c_str());
    // Three NULs ask the system to write out whatever it still holds for that file (it then always answers
    // FALSE, so the answer tells nothing).
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, temp->path.c_str());
    if (!written) {
        DeleteFileW(temp->path.c_str());
        return false;
    }
    return MoveTempFileOver(temp->path, *target);
}

}  // namespace velmora
