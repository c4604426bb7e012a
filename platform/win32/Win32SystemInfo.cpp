#include "platform/win32/Win32SystemInfo.h"

#include <algorithm>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <lmcons.h>
#include <sddl.h>
#include <shlobj.h>

#include "platform/win32/UniqueHandle.h"

namespace velmora {
namespace {

std::wstring_view TrimBlanks(std::wstring_view text) {
    std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// Calls a function of the GetWindowsDirectoryW kind (buffer and capacity in, length or needed size out)
// until the buffer is large enough.
template <typename Fill>
std::wstring GrowingBuffer(Fill fill) {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        UINT length = fill(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(length + 1, L'\0');
    }
    return {};
}

}  // namespace

std::wstring ArgumentsAfterProgramPath(std::wstring_view commandLine) {
    std::wstring_view rest = commandLine;
    if (!rest.empty() && rest.front() == L'"') {
        std::size_t close = rest.find(L'"', 1);
        rest = close == std::wstring_view::npos ? std::wstring_view{} : rest.substr(close + 1);
    } else {
        std::size_t blank = rest.find_first_of(L" \t");
        rest = blank == std::wstring_view::npos ? std::wstring_view{} : rest.substr(blank);
    }
    return std::wstring(TrimBlanks(rest));
}

std::string Win32SystemInfo::ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return WideToUtf8(path);
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

std::string Win32SystemInfo::ProgramFolder() {
    const std::string path = ProgramPath();
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return {};
    // A program in a drive's root keeps the root's backslash: "E:\".
    return path.substr(0, slash == 2 && path[1] == ':' ? 3 : slash);
}

std::string Win32SystemInfo::CommandLineArguments() {
    return WideToUtf8(ArgumentsAfterProgramPath(GetCommandLineW()));
}

DriveType Win32SystemInfo::GetDriveType(const std::string& root) {
    UINT type = GetDriveTypeW(Utf8ToWide(root).c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

std::vector<std::string> Win32SystemInfo::LogicalDriveRoots() {
    std::wstring list = GrowingBuffer(
        [](wchar_t* buffer, UINT size) { return static_cast<UINT>(GetLogicalDriveStringsW(size, buffer)); });
    std::vector<std::string> roots;
    for (std::size_t start = 0; start < list.size();) {
        std::size_t end = list.find(L'\0', start);
        if (end == std::wstring::npos)
            end = list.size();
        if (end == start)
            break;
        roots.push_back(WideToUtf8(std::wstring_view(list).substr(start, end - start)));
        start = end + 1;
    }
    return roots;
}

std::optional<std::string> Win32SystemInfo::UserName() {
    wchar_t name[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(name, &size))
        return std::nullopt;
    return WideBufferToUtf8(name, std::min<DWORD>(size, UNLEN + 1));
}

std::optional<std::string> Win32SystemInfo::ComputerName() {
    // The DNS host name, as it is not cut to the NetBIOS name's 15 characters; that one when it is missing.
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 256];
    DWORD size = ARRAYSIZE(name);
    if (GetComputerNameExW(ComputerNameDnsHostname, name, &size) && size > 0)
        return WideBufferToUtf8(name, std::min<DWORD>(size, ARRAYSIZE(name)));
    size = ARRAYSIZE(name);
    if (GetComputerNameW(name, &size) && size > 0)
        return WideBufferToUtf8(name, std::min<DWORD>(size, ARRAYSIZE(name)));
    return std::nullopt;
}

std::optional<std::string> Win32SystemInfo::UserSid() {
    unique_handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return std::nullopt;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return std::nullopt;
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return std::nullopt;
    const std::string sid = WideToUtf8(text);
    LocalFree(text);
    return sid;
}

std::string Win32SystemInfo::LocalAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return WideToUtf8(folder);
}

std::string Win32SystemInfo::ProfilesFolder() {
    // FOLDERID_UserProfiles, spelt out: MinGW keeps the known folders' ids in a library of its own.
    constexpr KNOWNFOLDERID kUserProfiles{
        0x0762d272, 0xc50a, 0x4bb0, {0xa3, 0x82, 0x69, 0x7d, 0xcd, 0x72, 0x9b, 0x80}};
    wchar_t* folder = nullptr;
    const HRESULT found = SHGetKnownFolderPath(kUserProfiles, KF_FLAG_DONT_VERIFY, nullptr, &folder);
    std::wstring path = SUCCEEDED(found) && folder != nullptr ? folder : L"";
    CoTaskMemFree(folder);
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return WideToUtf8(path);
}

std::string Win32SystemInfo::WindowsFolder() {
    std::wstring folder = GrowingBuffer(GetWindowsDirectoryW);
    if (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return WideToUtf8(folder);
}

std::string Win32SystemInfo::TempFolder() {
    return WideToUtf8(GrowingBuffer(
        [](wchar_t* buffer, UINT size) { return static_cast<UINT>(GetTempPathW(size, buffer)); }));
}

int Win32SystemInfo::UserDefaultLangId() {
    return GetUserDefaultLangID();
}

Size Win32SystemInfo::ScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace velmora
