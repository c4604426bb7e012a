#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32DesktopInfo.h"
#include "platform/win32/Win32LogonTasks.h"
#include "platform/win32/Win32SystemInfo.h"
#include "tests/contract/SessionContract.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

using unique_service = unique_any<NullIsEmpty<SC_HANDLE, &CloseServiceHandle>>;

// Windows runs the Task Scheduler always; Wine starts its service only when asked, and in a new prefix
// refuses to for a while, or starts it only for it to stop again, until its other services have settled.
void StartTaskScheduler() {
    unique_service manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    unique_service service(
        manager ? OpenServiceW(manager.get(), L"Schedule", SERVICE_START | SERVICE_QUERY_STATUS) : nullptr);
    if (!service)
        return;
    static_cast<void>(WaitUntil(
        [&] {
            SERVICE_STATUS status{};
            if (QueryServiceStatus(service.get(), &status) && status.dwCurrentState == SERVICE_STOPPED)
                StartServiceW(service.get(), 0, nullptr);
            // Answered only by a scheduler that runs: a task that is not there is removed all the same.
            return Win32LogonTasks{}.Remove("Velmora Runwright: no such task");
        },
        Deadline{120000}));
}

struct Win32SessionEnv {
    Win32SessionEnv() { StartTaskScheduler(); }
    LogonTasks& Tasks() { return tasks; }
    SystemInfo& System() { return system; }
    DesktopInfo& Desktop() { return desktop; }
    Win32LogonTasks tasks;
    Win32SystemInfo system;
    Win32DesktopInfo desktop;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SessionContract, Win32SessionEnv);

}  // namespace
}  // namespace velmora
