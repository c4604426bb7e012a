#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/PathVariables.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/Types.h"
#include "scenario/ScenarioLayout.h"
#include "scenario/ScenarioTypes.h"

namespace velmora {

// A scenario as the byte image of its file; the last byte is always a spare byte, and whatever is appended
// goes in front of it. Texts are UTF-8 in the interface and in the ANSI code page in the image; every stored
// length counts encoded bytes.
//
// Files arrive on discs and through the file association, so every read checks lengths and offsets against
// the image: a damaged or hostile file makes the reading operation fail (false or empty) without touching
// anything outside the image, and nothing is allocated for a length the image cannot hold.
class ScenarioImage {
  public:
    ScenarioImage(Codec& codec, const PathVariables& pathVars) : codec_(codec), pathVars_(pathVars) {}

    // Header, empty description and spare byte; the description is then set unless it is empty.
    void NewImage(const std::string& installerPath, const std::string& description, int screenWidth,
                  int screenHeight);
    // Reads the whole file into the image's memory, which is reused from file to file; false, with an empty
    // image, when it cannot be read. The caller unscrambles and reads the header.
    bool LoadImageFile(FileSystem& files, const std::string& path);
    // The same from bytes already in memory.
    void LoadImageBytes(std::string bytes);
    // False when the image is shorter than the header.
    bool ReadHeader();
    // The stored installer path (not expanded) and the description of an image still scrambled as it was
    // loaded, unscrambling only the header and those two fields: what a list of packages shows of a file,
    // without its steps. The header is read as ReadHeader reads it and the image stays scrambled. False,
    // with both texts empty, when ReadHeader or GetInstallerPath would fail.
    bool ReadScrambledSummary(std::string& installerPath, std::string& description);

    // The 200-byte field up to its first zero byte; empty when the image is too short to hold it.
    std::string GetDescription() const;
    // Cuts the text to the field and pads it with zeros. An empty text leaves the field as it was.
    void SetDescription(const std::string& text);

    // Appends the step held in `step` and clears its text once it is stored.
    void AppendStep(StepState& step);
    // Reads the step at the read cursor into `step`: its text is expanded, and a step without text leaves
    // `step` with none, so a text never carries over to a later step. False when every step has been read,
    // or when the step does not fit in the image (then StepReadFailed() tells the two apart and the cursor
    // stays where it was).
    bool ReadNextStep(StepState& step);
    bool StepReadFailed() const { return stepReadFailed_; }
    void ResetReadCursor() {
        readPosition = kFirstStepOffset;
        stepsRead = 0;
        stepReadFailed_ = false;
    }

    // False and nothing written when no step was appended and the path does not end in ".bat".
    bool AppendInstallerPath(const std::string& path);
    void AppendCommandLine(const std::string& text);
    void AppendRecordStamp(const LocalTime& now);

    // The stored path, not expanded. False (and an empty path) when it does not lie between the description
    // and the spare byte.
    bool GetInstallerPath(std::string& path) const;
    std::string GetInstallerPath() const;
    // The stored command line, expanded; empty when there is none or it lies outside the image.
    std::string GetCommandLine() const;
    // Both replace the stored text in place; what follows moves with the splice. False (and nothing
    // changed) when the stored path or command line lies outside the image.
    bool ChangeInstallerPath(const std::string& path);
    bool ChangeCommandLine(const std::string& text);
    // Replaces oldLength bytes at offset by the encoded text. False (and nothing changed) when the range
    // is negative or reaches the spare byte.
    bool ReplaceRange(std::int64_t oldLength, const std::string& newText, std::int64_t offset);

    // True when this program's major version is at least the writer's.
    bool IsVersionSupported() const;
    void ScrambleImage();
    void UnscrambleImage();
    // Writes the image through a temporary file moved over the target: the previous file survives a failure.
    bool WriteImageFile(FileSystem& files, const std::string& path) const;

    const std::string& Bytes() const { return image_; }
    const ScnHeader& Header() const { return header_; }
    // The DPI the press points are in; 0 unknown (see layout::RecordedDpi).
    int RecordedDpi() const { return layout::RecordedDpi(header_); }
    void SetRecordedDpi(int dpi) {
        layout::SetRecordedDpi(header_, dpi);
        WriteHeader();
    }

    // Index of the spare byte, where the next append goes (-1 for an empty image).
    std::int64_t appendPosition = kFirstStepOffset;
    std::int64_t readPosition = kFirstStepOffset;
    std::int32_t stepsRead = 0;

  private:
    void WriteHeader();
    bool HasSpareByte() const { return image_.size() > kFirstStepOffset; }
    void InsertBeforeSpare(std::string_view bytes);
    bool InImage(std::int64_t offset, std::int64_t length) const;
    bool PathInImage() const;
    bool CommandLineInImage() const;
    void ReplaceBytes(std::int64_t oldLength, std::string_view bytes, std::int64_t offset);
    std::string Expanded(std::string text) const;
    // Gives the step `count` links, taking them from and leaving them to the spare links.
    void ReuseWindows(std::vector<WindowRef>& windows, std::size_t count);
    // Decodes a field of the still scrambled image that the caller has checked lies inside it.
    void DecodeScrambled(std::size_t offset, std::size_t length, std::string& text);

    Codec& codec_;
    const PathVariables& pathVars_;
    std::string image_;
    ScnHeader header_;
    layout::StepBytes stepBytes_;          // reused by every read, so reading allocates only for the texts
    std::vector<WindowRef> spareWindows_;  // links a shorter step handed back, with their texts' memory
    std::string scrambled_;                // a field on its way out of the scrambled image
    bool stepReadFailed_ = false;
};

}  // namespace velmora
