// The image's load configuration, for its dependent-load flags: Windows (10 1607 and later) then resolves
// the program's own imports from System32 alone, never from its folder. GNU ld 2.40 neither sets the flags
// nor points the image's load-configuration directory at this structure; cmake/set-load-config.sh does the
// latter after the link. Only velmora.exe has one; the test programs load their DLLs as any program does.
#include "platform/win32/Win32.h"

#include <cstddef>

namespace velmora {

// The PE32+ load configuration up to SEHandlerCount, as the PE format lays it out (MinGW's header still calls
// the dependent-load flags Reserved1). The loader reads only the fields that Size covers.
struct LoadConfig64 {
    DWORD size;
    DWORD timeDateStamp;
    WORD majorVersion;
    WORD minorVersion;
    DWORD globalFlagsClear;
    DWORD globalFlagsSet;
    DWORD criticalSectionDefaultTimeout;
    ULONGLONG deCommitFreeBlockThreshold;
    ULONGLONG deCommitTotalFreeThreshold;
    ULONGLONG lockPrefixTable;
    ULONGLONG maximumAllocationSize;
    ULONGLONG virtualMemoryThreshold;
    ULONGLONG processAffinityMask;
    DWORD processHeapFlags;
    WORD csdVersion;
    WORD dependentLoadFlags;
    ULONGLONG editList;
    ULONGLONG securityCookie;  // none: the program is built without stack cookies
    ULONGLONG seHandlerTable;
    ULONGLONG seHandlerCount;
};
static_assert(offsetof(LoadConfig64, dependentLoadFlags) == 78 && sizeof(LoadConfig64) == 112);

constexpr LoadConfig64 MakeLoadConfig() {
    LoadConfig64 config{};
    config.size = sizeof config;
    config.dependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return config;
}

}  // namespace velmora

// The name the linker and the loader look for; kept by the link's --require-defined, and made at compile
// time, so that it lies in the image as the loader reads it.
extern "C" constinit const velmora::LoadConfig64 _load_config_used = velmora::MakeLoadConfig();
