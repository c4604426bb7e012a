// A DLL that leaves a mark when a process loads it: "<its path without .dll>.loaded" beside it. The test puts
// it beside a copy of velmora.exe under the names of DLLs the program uses. It answers the functions that
// programs take from wtsapi32 and shcore with failures: a function missing from a DLL would end a program
// that calls it in Wine's debugger.
#include "platform/win32/Win32.h"

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(self, path.data(), MAX_PATH));
    path = path.substr(0, path.size() - 4) + L".loaded";
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI
    WTSQuerySessionInformationW(HANDLE, DWORD, int, LPWSTR*, DWORD*) {
    return FALSE;
}
extern "C" __declspec(dllexport) void WINAPI WTSFreeMemory(void*) {}
extern "C" __declspec(dllexport) HRESULT WINAPI GetDpiForMonitor(HMONITOR, int, UINT*, UINT*) {
    return E_FAIL;
}
