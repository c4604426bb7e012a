#pragma once
// The statistics window's class and control ids; the end-to-end tests find it and read it by them.
namespace velmora::stat_window {

inline constexpr wchar_t kClassName[] = L"VelmoraStatistics";
inline constexpr int kList = 100;     // List1
inline constexpr int kClose = 2;      // Command1 (IDCANCEL, so Escape closes too)
inline constexpr int kTimeOut = 102;  // lblTimeOut

}  // namespace velmora::stat_window
