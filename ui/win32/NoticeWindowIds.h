#pragma once
// The hints' class and the ids of their parts; tests find the windows and read them by these.
#include "platform/win32/Win32.h"

namespace velmora::notice_window {

inline constexpr wchar_t kClassName[] = L"VelmoraNotice";
inline constexpr int kClose = IDOK;
inline constexpr int kShowAgain = 100;
inline constexpr int kIntro = 101;
inline constexpr int kFrame = 102;
inline constexpr int kHeading = 103;
inline constexpr int kFirstLine = 110;  // the lines follow in order

}  // namespace velmora::notice_window
