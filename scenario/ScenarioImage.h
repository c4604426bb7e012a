#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/Types.h"
#include "startup/PathVariables.h"

namespace velmora {

// One link of a step's window chain, outermost window first.
struct WindowRef {
    std::string Class;
    std::string Caption;
    std::int32_t MatchIndex =
        0;  // 0 first top-level match, n >= 1 n-th match under the parent, -1 the desktop
    bool operator==(const WindowRef&) const = default;
};

enum MouseButton : std::int16_t { kButtonLeft = 1, kButtonRight = 2, kButtonMiddle = 4 };
enum MouseKind : std::int16_t { kKindPress = 1, kKindMove = 2, kKindRelease = 3 };

struct MouseEventRec {
    std::int16_t Button = 0;
    std::int16_t Kind = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const MouseEventRec&) const = default;
};

// The fixed 39-byte header at the start of a scenario file.
struct ScnHeader {
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    std::int16_t VersionMajor = 0;
    std::int16_t VersionMinor = 0;
    std::uint8_t Reserved1[8] = {};
    std::int32_t StepCount = 0;
    std::int32_t InstallerPathLength = 0;
    std::int32_t InstallerPathOffset = 0;
    std::int32_t CommandLineLength = 0;
    std::uint8_t Reserved2[3] = {};
};

// The step being recorded or replayed. The lists are 1-based: element 0 is never used.
struct StepState {
    std::vector<WindowRef> g_StepWindows{WindowRef{}};
    std::vector<MouseEventRec> g_StepEvents{MouseEventRec{}};
    std::string g_StepText;
    bool g_StepTextSet = false;

    int WindowCount() const { return static_cast<int>(g_StepWindows.size()) - 1; }
    int EventCount() const { return static_cast<int>(g_StepEvents.size()) - 1; }
    void Clear() {
        g_StepWindows.assign(1, WindowRef{});
        g_StepEvents.assign(1, MouseEventRec{});
    }
};

inline constexpr std::int16_t kProgramVersionMajor = 1;
inline constexpr std::int16_t kProgramVersionMinor = 2;
inline constexpr int kHeaderSize = 39;
inline constexpr int kDescriptionSize = 200;
inline constexpr int kFirstStepOffset = 239;

// A scenario as the byte image of its file. Texts are UTF-8 in the interface and ANSI in the image.
// Every read checks lengths and offsets against the image: a damaged or hostile file makes the reading
// operation fail (false or empty) without touching anything outside the image.
class ScenarioImage {
  public:
    ScenarioImage(Codec& codec, const PathVariables& pathVars) : codec_(codec), pathVars_(pathVars) {}

    void NewImage(const std::string& installerPath, const std::string& description, int screenWidth,
                  int screenHeight);
    // Reads the whole file; false when it cannot be read. The caller unscrambles and reads the header.
    bool LoadImageFile(FileSystem& files, const std::string& path);
    // The same from bytes already in memory.
    void LoadImageBytes(std::string bytes);
    // False when the image is shorter than the header.
    bool ReadHeader();
    std::string GetDescription() const;
    void SetDescription(const std::string& text);
    void AppendStep(StepState& step);
    // False when every step has been read, or when the step at the read cursor does not fit in the image.
    bool ReadNextStep(StepState& step);
    bool AppendInstallerPath(const std::string& path);
    // False (and nothing changed) when the stored path or command line lies outside the image.
    bool ChangeInstallerPath(const std::string& path);
    bool GetInstallerPath(std::string& path) const;
    std::string GetInstallerPath() const;
    void AppendCommandLine(const std::string& text);
    bool ChangeCommandLine(const std::string& text);
    std::string GetCommandLine() const;
    void AppendRecordStamp(const LocalTime& now);
    bool ReplaceRange(std::int64_t oldLength, const std::string& newText, std::int64_t offset);
    bool IsVersionSupported() const;
    void ScrambleImage();
    void UnscrambleImage();
    bool WriteImageFile(FileSystem& files, const std::string& path) const;

    void ResetReadCursor() {
        ReadPosition = kFirstStepOffset;
        StepsRead = 0;
    }

    const std::string& Bytes() const { return image_; }
    const ScnHeader& Header() const { return header_; }

    std::int64_t AppendPosition = kFirstStepOffset;
    std::int64_t ReadPosition = kFirstStepOffset;
    std::int32_t StepsRead = 0;

  private:
    Codec& codec_;
    const PathVariables& pathVars_;
    std::string image_;
    ScnHeader header_;
};

}  // namespace velmora
