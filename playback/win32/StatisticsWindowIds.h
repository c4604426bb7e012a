#pragma once
// The statistics window's class and control ids; the end-to-end tests find it and read it by them.
namespace velmora::statistics_window {

inline constexpr wchar_t kClassName[] = L"VelmoraStatistics";
inline constexpr int kList = 100;
inline constexpr int kClose = 2;         // IDCANCEL, so Escape closes too
inline constexpr int kCountdown = 102;   // "the program ends in 4 s", shown only in a direct run
inline constexpr int kOpenReport = 103;  // shown only when the run wrote a report

}  // namespace velmora::statistics_window
