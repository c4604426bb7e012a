#include "app/win32/OwnDesktopRun.h"

#include "app/OwnDesktop.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <sddl.h>

namespace velmora {
namespace {

using unique_hwinsta = unique_any<NullIsEmpty<HWINSTA, &CloseWindowStation>>;
using unique_hdesk = unique_any<NullIsEmpty<HDESK, &CloseDesktop>>;
using unique_hlocal = unique_any<NullIsEmpty<HLOCAL, &LocalFree>>;

// Full rights for SYSTEM and the Administrators group and none for anyone else, not inherited from the
// session's defaults: no user's program may open the station, read its windows or send them input.
constexpr const wchar_t* kOwnDesktopRights = L"D:P(A;;GA;;;SY)(A;;GA;;;BA)";
// A station that is not interactive gets a small desktop heap by default (768 KB on current Windows), which
// the windows of a few installers use up; the run asks for one as large as an interactive desktop's.
constexpr ULONG kDesktopHeapKb = 20480;

// Puts the process back on the station it started on, also when making the desktop fails.
class StationSwitch {
  public:
    explicit StationSwitch(HWINSTA station) : previous_(GetProcessWindowStation()) {
        switched_ = SetProcessWindowStation(station) != FALSE;
    }
    StationSwitch(const StationSwitch&) = delete;
    StationSwitch& operator=(const StationSwitch&) = delete;
    ~StationSwitch() {
        if (switched_)
            SetProcessWindowStation(previous_);
    }
    bool Switched() const { return switched_; }

  private:
    HWINSTA previous_;
    bool switched_ = false;
};

}  // namespace

bool OnOwnDesktop() {
    wchar_t name[256] = {};
    DWORD needed = 0;
    return GetUserObjectInformationW(GetProcessWindowStation(), UOI_NAME, name, sizeof name - sizeof name[0],
                                     &needed) &&
           IsOwnWindowStation(WideToUtf8(name));
}

std::optional<int> RunAgainOnOwnDesktop(unsigned long& error) {
    const auto fail = [&error]() -> std::optional<int> {
        error = GetLastError();
        return std::nullopt;
    };
    unique_hlocal rights;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kOwnDesktopRights, SDDL_REVISION_1,
                                                              &attributes.lpSecurityDescriptor, nullptr))
        return fail();
    rights.reset(attributes.lpSecurityDescriptor);

    const std::wstring stationName = Utf8ToWide(OwnWindowStationName(GetCurrentProcessId()));
    // The station stays while the program runs on it: it goes with the last handle to it.
    unique_hwinsta station(
        CreateWindowStationW(stationName.c_str(), CWF_CREATE_ONLY, WINSTA_ALL_ACCESS, &attributes));
    if (!station)
        return fail();
    unique_hdesk desktop;
    {
        // A desktop is made on the calling process's station.
        const StationSwitch onStation(station.get());
        if (!onStation.Switched())
            return fail();
        desktop.reset(CreateDesktopExW(Utf8ToWide(kOwnDesktopName).c_str(), nullptr, nullptr, 0, GENERIC_ALL,
                                       &attributes, kDesktopHeapKb, nullptr));
        if (!desktop)
            return fail();
    }
    std::wstring where = stationName + L"\\" + Utf8ToWide(kOwnDesktopName);
    std::wstring commandLine = GetCommandLineW();
    wchar_t program[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return fail();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = where.data();
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return fail();
    const unique_handle process(started.hProcess);
    CloseHandle(started.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &code))
        return fail();
    return static_cast<int>(code);
}

}  // namespace velmora
