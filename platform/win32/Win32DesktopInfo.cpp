#include "platform/win32/Win32DesktopInfo.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"

#include <wtsapi32.h>

namespace velmora {
namespace {

std::optional<std::string> ObjectName(HANDLE object) {
    wchar_t name[256] = {};
    DWORD needed = 0;
    if (!GetUserObjectInformationW(object, UOI_NAME, name, sizeof name - sizeof name[0], &needed))
        return std::nullopt;
    return WideToUtf8(name);
}

std::optional<SessionConnection> ConnectionOf(DWORD session) {
    static const auto query =
        SystemFunction<decltype(WTSQuerySessionInformationW)>(L"wtsapi32.dll", "WTSQuerySessionInformationW");
    static const auto release = SystemFunction<decltype(WTSFreeMemory)>(L"wtsapi32.dll", "WTSFreeMemory");
    WTS_CONNECTSTATE_CLASS* state = nullptr;
    DWORD bytes = 0;
    if (query == nullptr || release == nullptr ||
        !query(WTS_CURRENT_SERVER_HANDLE, session, WTSConnectState, reinterpret_cast<LPWSTR*>(&state),
               &bytes) ||
        state == nullptr)
        return std::nullopt;
    const WTS_CONNECTSTATE_CLASS value = bytes >= sizeof *state ? *state : WTSDown;
    release(state);
    switch (value) {
        case WTSActive:
            return SessionConnection::Active;
        case WTSConnected:
            return SessionConnection::Connected;
        case WTSDisconnected:
            return SessionConnection::Disconnected;
        default:
            return SessionConnection::Other;
    }
}

}  // namespace

DesktopFacts Win32DesktopInfo::Facts() {
    DesktopFacts facts;
    DWORD session = 0;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session)) {
        facts.sessionId = session;
        facts.connection = ConnectionOf(session);
    }
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed))
        facts.windowStationVisible = (flags.dwFlags & WSF_VISIBLE) != 0;
    // A locked workstation or a secure desktop keeps the user's input desktop from being opened.
    if (HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS)) {
        facts.inputDesktop = ObjectName(input);
        CloseDesktop(input);
    }
    return facts;
}

}  // namespace velmora
