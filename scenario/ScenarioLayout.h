#pragma once
// The byte layout of a scenario file, shared by the image's operations and the text form. Texts here are the
// stored bytes (already in the ANSI code page); nothing in this file converts them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/ScenarioTypes.h"

namespace velmora {

namespace layout {

inline constexpr int kStepHeaderSize = 12;
inline constexpr int kWindowHeaderSize = 12;
inline constexpr int kEventSize = 12;

void PutI16(std::string& out, std::int16_t value);
void PutI32(std::string& out, std::int32_t value);
// Reads at an offset the caller has checked.
std::int16_t GetI16(std::string_view data, std::size_t at);
std::int32_t GetI32(std::string_view data, std::size_t at);

// The DPI the scenario's press points were recorded at, in the header's first two reserved bytes (little
// endian). 0 is unknown: every file written before the DPI was kept, which older programs read as before.
int RecordedDpi(const ScnHeader& header);
void SetRecordedDpi(ScnHeader& header, int dpi);  // clamped to what two bytes hold
// Whether a reserved byte other than the DPI's is set.
bool OtherReservedSet(const ScnHeader& header);

// The 39 header bytes.
std::string EncodeHeader(const ScnHeader& header);
// From the first 39 bytes of data, which the caller has checked are there.
ScnHeader DecodeHeader(std::string_view data);

struct WindowBytes {
    std::string_view className;
    std::string_view caption;
    std::int32_t matchIndex = 0;
};

// One stored step as views: into the image when read, into the caller's strings when written.
struct StepBytes {
    std::vector<WindowBytes> windows;
    std::vector<MouseEventRec> events;
    std::string_view text;
};

void AppendStepBytes(std::string& out, const StepBytes& step);

// Parses the step at offset `at` of data. False when the offset, a count or a length is negative or anything
// runs past the end of data; the views then mean nothing. On success `end` is the offset after the step.
bool ParseStepBytes(std::string_view data, std::int64_t at, StepBytes& step, std::int64_t& end);

// Scrambles a file image or unscrambles it: both are the same XOR with the two scrambling bytes.
inline constexpr unsigned char kScrambleFirst = 0x3D;
inline constexpr unsigned char kScrambleSecond = 0x9E;
inline constexpr char kScrambledZero = static_cast<char>(kScrambleFirst ^ kScrambleSecond);
void Scramble(std::string& bytes);
void Scramble(char* bytes, std::size_t size);

}  // namespace layout
}  // namespace velmora
