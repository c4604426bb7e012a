#include "platform/win32/TempFile.h"

#include <atomic>
#include <cwchar>

namespace velmora {

std::optional<TempFile> CreateTempFileBeside(const std::wstring& target, SECURITY_ATTRIBUTES* security) {
    static std::atomic<unsigned> counter{0};
    std::size_t slash = target.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? std::wstring{} : target.substr(0, slash + 1);
    // A short name of our own: the target's name may already be close to the length limit.
    for (int attempt = 0; attempt < 64; ++attempt) {
        wchar_t name[40];
        std::swprintf(name, 40, L"~vlm%04x%04x.tmp", static_cast<unsigned>(GetCurrentProcessId() & 0xFFFF),
                      static_cast<unsigned>((counter++ + GetTickCount()) & 0xFFFF));
        TempFile temp{folder + name, {}};
        temp.handle.reset(CreateFileW(temp.path.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (temp.handle)
            return temp;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

bool MoveTempFileOver(const std::wstring& temp, const std::wstring& target) {
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temp.c_str());
    return false;
}

bool IsReadOnlyFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace velmora
