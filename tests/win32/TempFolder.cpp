#include "tests/win32/TempFolder.h"

#include <atomic>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace velmora {
namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    unique_hfind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search.get(), &found));
    }
    search.reset();
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

void MakeReadOnly(const std::string& path) {
    std::wstring wide = Utf8ToWide(path);
    SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | FILE_ATTRIBUTE_READONLY);
}

std::string UniqueName(const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    return prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
           std::to_string(counter++);
}

namespace {
std::wstring SystemTempPath() {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp, length);
}
}  // namespace

TempFolder::TempFolder() : TempFolder(SystemTempPath()) {}

TempFolder::TempFolder(const std::wstring& base) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = base + Utf8ToWide(UniqueName("VelmoraTest-"));
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = WideToUtf8(candidate);
            return;
        }
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty())
        RemoveTree(Utf8ToWide(path_));
}

}  // namespace velmora
