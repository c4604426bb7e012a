#pragma once
#include <cstdint>

namespace velmora {

// An opaque window handle as the core sees it; 0 is "no window".
using WindowId = std::uintptr_t;
// The system's number of a running process; 0 is none.
using SystemProcessId = std::uint32_t;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A local wall-clock moment. Durations are computed from the whole date, so a package that runs across
// midnight still gets its true length.
struct LocalTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const LocalTime&) const = default;
};

}  // namespace velmora
