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
// A language file's largest section holds a few kilobytes; the bound is that of a whole file worth reading.
constexpr DWORD kMaxSectionBuffer = 1u << 20;

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

std::vector<std::pair<std::string, std::string>> Win32ProfileFile::GetSection(const std::string& file,
                                                                              const std::string& section) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::optional<std::wstring> path = FullPath(file);
    if (!path)
        return entries;
    // The system answers size - 2 when the section did not fit; the buffer grows up to the bound.
    std::wstring buffer;
    DWORD copied = 0;
    for (DWORD size = 8192; size <= kMaxSectionBuffer; size *= 2) {
        buffer.assign(size, L'\0');
        copied = GetPrivateProfileSectionW(Utf8ToWide(section).c_str(), buffer.data(), size, path->c_str());
        if (copied + 2 < size)
            break;
    }
    buffer.resize(std::min<std::size_t>(copied, buffer.size()));
    const auto trim = [](const std::wstring& text) {
        const std::size_t from = text.find_first_not_of(L" \t");
        return from == std::wstring::npos ? std::wstring{}
                                          : text.substr(from, text.find_last_not_of(L" \t") - from + 1);
    };
    // "key=value" lines, each ended by a NUL, as written in the file: the quotes are the reader's to drop.
    for (std::size_t at = 0; at < buffer.size();) {
        std::size_t end = buffer.find(L'\0', at);
        if (end == std::wstring::npos)
            end = buffer.size();
        const std::wstring line = buffer.substr(at, end - at);
        at = end + 1;
        const std::size_t eq = line.find(L'=');
        if (eq == std::wstring::npos || line.front() == L';')
            continue;
        std::wstring value = trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        entries.emplace_back(WideToUtf8(trim(line.substr(0, eq))), WideToUtf8(value));
    }
    return entries;
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
