// A program that imports from wtsapi32 at load time, as programs do: beside the planted DLL it shows that the
// test's Wine loads a DLL from the program's folder, so that the program's own test can fail.
#include "platform/win32/Win32.h"

#include <wtsapi32.h>

int main() {
    WTSFreeMemory(nullptr);
    return 0;
}
