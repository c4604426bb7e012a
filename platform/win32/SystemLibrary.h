#pragma once
// Functions of system DLLs that are not KnownDLLs (wtsapi32, shcore). Windows takes a KnownDLL from System32
// whatever the search order says; any other DLL imported at load time is looked for beside the program
// first, and the program runs elevated from Downloads folders, shares and discs, where anyone may have put a
// DLL of that name. These are loaded from System32 by name instead, on first use, and stay loaded; so is a
// system DLL whose load costs every start something that only a rare window of the program needs.
#include "platform/win32/Win32.h"

namespace velmora {

// The function of that name in the System32 DLL, or nullptr when the DLL or the function is missing.
FARPROC SystemProcAddress(const wchar_t* dll, const char* name);

// The same, typed after the system header's declaration: SystemFunction<decltype(GetDpiForMonitor)>(...).
template <typename Function>
Function* SystemFunction(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(SystemProcAddress(dll, name)));
}

}  // namespace velmora
