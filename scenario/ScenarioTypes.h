#pragma once
// The records of a scenario: its header, the links of a window chain, the mouse events and the step being
// recorded or replayed.
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// One link of a step's window chain, outermost window first.
struct WindowRef {
    std::string className;
    std::string caption;
    // 0 first top-level match, n >= 1 n-th match under the parent, -1 the desktop
    std::int32_t matchIndex = 0;
    bool operator==(const WindowRef&) const = default;
};

enum MouseButton : std::int16_t { kButtonLeft = 1, kButtonRight = 2, kButtonMiddle = 4 };
enum MouseKind : std::int16_t { kKindPress = 1, kKindMove = 2, kKindRelease = 3 };

struct MouseEventRec {
    std::int16_t button = 0;
    std::int16_t kind = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const MouseEventRec&) const = default;
};

// The fixed 39-byte header at the start of a scenario file.
struct ScnHeader {
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::int16_t versionMajor = 0;
    std::int16_t versionMinor = 0;
    std::uint8_t reserved1[8] = {};
    std::int32_t stepCount = 0;
    std::int32_t installerPathLength = 0;
    std::int32_t installerPathOffset = 0;
    std::int32_t commandLineLength = 0;
    std::uint8_t reserved2[3] = {};
    bool operator==(const ScnHeader&) const = default;
};

// The step being recorded or replayed.
struct StepState {
    std::vector<WindowRef> windows;  // the window chain, outermost first
    std::vector<MouseEventRec> events;
    std::string text;
    bool hasText = false;

    int WindowCount() const { return static_cast<int>(windows.size()); }
    int EventCount() const { return static_cast<int>(events.size()); }
    void Clear() {
        windows.clear();
        events.clear();
    }
};

inline constexpr std::int16_t kProgramVersionMajor = 1;
inline constexpr std::int16_t kProgramVersionMinor = 2;
inline constexpr int kHeaderSize = 39;
inline constexpr int kDescriptionSize = 200;
inline constexpr int kFirstStepOffset = 239;
inline constexpr int kRecordStampSize = 19;

}  // namespace velmora
