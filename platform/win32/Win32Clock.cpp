#include "platform/win32/Win32Clock.h"

#include "platform/win32/Win32.h"

namespace velmora {

LocalTime Win32Clock::Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace velmora
