#include "platform/win32/SystemLibrary.h"

namespace velmora {

FARPROC SystemProcAddress(const wchar_t* dll, const char* name) {
    // Never freed, as an import is not: callers keep the function for the life of the process.
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

}  // namespace velmora
