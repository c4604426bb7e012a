#include "tests/win32/TempFolder.h"

#include <atomic>
#include <filesystem>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

namespace velmora {

void MakeReadOnly(const std::string& path) {
    const std::wstring wide = Utf8ToWide(path);
    SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | FILE_ATTRIBUTE_READONLY);
}

std::string UniqueName(const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    return prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
           std::to_string(counter++);
}

TempFolder::TempFolder(const std::wstring& parent) {
    wchar_t temp[MAX_PATH + 1] = {};
    const std::wstring base = parent.empty() ? std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)) : parent;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::wstring candidate = base + Utf8ToWide(UniqueName("VelmoraTest-"));
        if (CreateDirectoryW(candidate.c_str(), nullptr))
            path_ = WideToUtf8(candidate);
    }
}

TempFolder::~TempFolder() {
    namespace fs = std::filesystem;
    if (path_.empty())
        return;
    std::error_code ignored;
    // Read-only files and folders refuse to be removed.
    for (fs::recursive_directory_iterator it(WidePath(), ignored), end; !ignored && it != end;
         it.increment(ignored)) {
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(WidePath(), ignored);
}

std::wstring TempFolder::WidePath() const {
    return Utf8ToWide(path_);
}

}  // namespace velmora
