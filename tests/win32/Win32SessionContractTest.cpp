#include "platform/win32/Win32DesktopInfo.h"
#include "platform/win32/Win32LogonTasks.h"
#include "platform/win32/Win32SystemInfo.h"
#include "tests/contract/SessionContract.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

struct Win32SessionEnv {
    Win32SessionEnv() { static_cast<void>(StartTaskScheduler()); }
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
