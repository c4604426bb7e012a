#include "platform/win32/Win32SystemRestart.h"

#include "platform/win32/UniqueHandle.h"

namespace velmora {
namespace {

// An administrator's token holds the privilege, disabled until a program turns it on.
bool EnableShutdownPrivilege() {
    unique_handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        return false;
    // Success with ERROR_NOT_ALL_ASSIGNED means the token lacks the privilege.
    return AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) &&
           GetLastError() == ERROR_SUCCESS;
}

}  // namespace

bool Win32SystemRestart::Restart() {
    if (!EnableShutdownPrivilege())
        return false;
    return ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG, SHTDN_REASON_MAJOR_APPLICATION |
                                                           SHTDN_REASON_MINOR_INSTALLATION |
                                                           SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

}  // namespace velmora
