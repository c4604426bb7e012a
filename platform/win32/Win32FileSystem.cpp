#include "platform/win32/Win32FileSystem.h"

#include <algorithm>

#include "platform/WildcardMatch.h"
#include "platform/win32/TempFile.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace velmora {
namespace {

// Larger files are not ours to read whole; refusing them keeps a hostile file from exhausting memory.
constexpr ULONGLONG kMaxReadAll = 1ull << 30;
constexpr DWORD kChunk = 1u << 20;
// A buffer read into gets at least this much memory; a first read never takes more than the most.
constexpr std::size_t kFirstRead = 4096;
constexpr std::size_t kMostFirstRead = 65536;

wchar_t FoldLetter(wchar_t c) {
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(c))));
}

bool HasWildcard(const std::wstring& path) {
    return path.find_first_of(L"*?") != std::wstring::npos;
}

// A path with a NUL inside would silently name a shorter path at the call; it names nothing instead.
std::wstring Path(const std::string& path) {
    std::wstring wide = Utf8ToWide(path);
    return wide.find(L'\0') == std::wstring::npos ? wide : std::wstring{};
}

HANDLE OpenToRead(const std::string& path) {
    return CreateFileW(Path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads the whole open file into `bytes`. The first read takes as much as the buffer's memory holds (not
// cleared first, so only what the last file did not reach is zero-filled), or with sizeFirst as much as the
// file holds; the size is asked only when the buffer is full. ReadFile on a file stops short only at its end.
bool ReadOpenFile(HANDLE file, std::string& bytes, bool sizeFirst) {
    std::size_t done = 0;
    bytes.resize(sizeFirst ? 0 : std::min(bytes.capacity(), kMostFirstRead));
    for (;;) {
        if (done == bytes.size()) {
            LARGE_INTEGER size;
            if (!GetFileSizeEx(file, &size) || static_cast<ULONGLONG>(size.QuadPart) > kMaxReadAll)
                return false;
            // One byte more than the file holds, so that the read that takes its last bytes stops short.
            bytes.resize(std::max(static_cast<std::size_t>(size.QuadPart), done) + 1);
        }
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, want, &got, nullptr))
            return false;
        done += got;
        if (got < want)
            break;
    }
    bytes.resize(done);
    return true;
}

DWORD Attributes(const std::string& path) {
    std::wstring wide = Path(path);
    return wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
}

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) {
    std::wstring wide = Path(path);
    if (wide.empty())
        return false;
    // A search pattern would "find" whatever it matches, so only plain names are searched for.
    if (!HasWildcard(wide)) {
        WIN32_FIND_DATAW found;
        unique_hfind search(FindFirstFileW(wide.c_str(), &found));
        if (search)
            return true;
    }
    return GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::IsDirectory(const std::string& path) {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32FileSystem::ReadAll(const std::string& path) {
    unique_hfile file(OpenToRead(path));
    std::string bytes;
    if (!file || !ReadOpenFile(file.get(), bytes, true))
        return std::nullopt;
    return bytes;
}

// A folder of packages is read file by file each time it is listed: with a buffer that has memory from the
// files before, most files take one ReadFile and no size query.
bool Win32FileSystem::ReadAllInto(const std::string& path, std::string& bytes) {
    unique_hfile file(OpenToRead(path));
    if (bytes.capacity() < kFirstRead)
        bytes.reserve(kFirstRead);
    if (!file || !ReadOpenFile(file.get(), bytes, false)) {
        bytes.clear();
        return false;
    }
    return true;
}

bool Win32FileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
    std::wstring target = Path(path);
    if (target.empty() || IsDirectory(path) || IsReadOnlyFile(target))
        return false;
    std::optional<TempFile> temp = CreateTempFileBeside(target);
    if (!temp)
        return false;
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
        DWORD put = 0;
        written = WriteFile(temp->handle.get(), bytes.data() + done, want, &put, nullptr) && put == want;
        done += put;
    }
    written = written && FlushFileBuffers(temp->handle.get());
    temp->handle.reset();
    if (!written) {
        DeleteFileW(temp->path.c_str());
        return false;
    }
    return MoveTempFileOver(temp->path, target);
}

bool Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    return MoveFileW(Path(from).c_str(), Path(to).c_str());
}

bool Win32FileSystem::Remove(const std::string& path) {
    return DeleteFileW(Path(path).c_str());
}

std::vector<std::string> Win32FileSystem::ListFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    std::wstring wideFolder = Path(folder);
    std::wstring widePattern = Path(pattern);
    if (wideFolder.empty() || widePattern.empty())
        return names;
    if (wideFolder.back() != L'\\' && wideFolder.back() != L'/')
        wideFolder += L'\\';
    WIN32_FIND_DATAW found;
    // A folder of packages holds thousands of files: the larger fetch takes them in fewer round trips.
    unique_hfind search(FindFirstFileExW((wideFolder + widePattern).c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search)
        return names;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // The system also matches the short 8.3 name, so "*.scn" would list "a.scnx"; the long name decides.
        std::wstring_view name(found.cFileName);
        if (WildcardMatch<wchar_t>(name, widePattern, FoldLetter))
            names.push_back(WideToUtf8(name));
    } while (FindNextFileW(search.get(), &found));
    return names;
}

std::string Win32FileSystem::CurrentDirectory() {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return {};
    std::wstring buffer(needed, L'\0');
    DWORD length = GetCurrentDirectoryW(needed, buffer.data());
    if (length == 0 || length >= needed)
        return {};
    buffer.resize(length);
    return WideToUtf8(buffer);
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
    std::wstring target = Path(to);
    if (IsReadOnlyFile(target))
        return false;
    return CopyFileW(Path(from).c_str(), target.c_str(), FALSE);
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryW(Path(path).c_str(), nullptr);
}

bool Win32FileSystem::Append(const std::string& path, std::string_view bytes) {
    std::wstring target = Path(path);
    // Wine grants append access to a read-only file, which Windows refuses.
    if (IsReadOnlyFile(target))
        return false;
    // Append-only access puts every write at the end even when another writer has the file open too; the
    // sharing lets a viewer read the log while it grows.
    unique_hfile file(CreateFileW(target.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
        DWORD put = 0;
        if (!WriteFile(file.get(), bytes.data() + done, want, &put, nullptr) || put != want)
            return false;
        done += put;
    }
    return FlushFileBuffers(file.get());
}

bool Win32FileSystem::SetNormalAttributes(const std::string& path) {
    std::wstring wide = Path(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return SetFileAttributesW(wide.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    return SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace velmora
