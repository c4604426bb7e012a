#include "scenario/ScenarioImage.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace velmora {
namespace {

bool EndsWithBat(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".bat") == 0;
}

}  // namespace

void ScenarioImage::NewImage(const std::string& installerPath, const std::string& description,
                             int screenWidth, int screenHeight) {
    image_.assign(kFirstStepOffset + 1, '\0');
    header_ = ScnHeader{};
    header_.screenWidth = screenWidth;
    header_.screenHeight = screenHeight;
    header_.versionMajor = kProgramVersionMajor;
    header_.versionMinor = kProgramVersionMinor;
    header_.installerPathLength = static_cast<std::int32_t>(codec_.ToAnsi(installerPath).size());
    appendPosition = kFirstStepOffset;
    ResetReadCursor();
    WriteHeader();
    SetDescription(description);
}

bool ScenarioImage::LoadImageFile(FileSystem& files, const std::string& path) {
    const bool read = files.ReadAllInto(path, image_);
    header_ = ScnHeader{};
    appendPosition = static_cast<std::int64_t>(image_.size()) - 1;
    ResetReadCursor();
    return read;
}

void ScenarioImage::LoadImageBytes(std::string bytes) {
    image_ = std::move(bytes);
    header_ = ScnHeader{};
    appendPosition = static_cast<std::int64_t>(image_.size()) - 1;
    ResetReadCursor();
}

bool ScenarioImage::ReadHeader() {
    if (image_.size() < kHeaderSize)
        return false;
    header_ = layout::DecodeHeader(image_);
    return true;
}

bool ScenarioImage::ReadScrambledSummary(std::string& installerPath, std::string& description) {
    installerPath.clear();
    description.clear();
    if (image_.size() < kHeaderSize)
        return false;
    char header[kHeaderSize];
    std::memcpy(header, image_.data(), kHeaderSize);
    layout::Scramble(header, kHeaderSize);
    header_ = layout::DecodeHeader(std::string_view(header, kHeaderSize));
    if (!PathInImage())
        return false;
    DecodeScrambled(static_cast<std::size_t>(header_.installerPathOffset),
                    static_cast<std::size_t>(header_.installerPathLength), installerPath);
    // The field ends at its first zero byte, which scrambled is the two scrambling bytes together.
    std::string_view field = std::string_view(image_).substr(kHeaderSize, kDescriptionSize);
    DecodeScrambled(kHeaderSize, std::min(field.size(), field.find(layout::kScrambledZero)), description);
    return true;
}

void ScenarioImage::DecodeScrambled(std::size_t offset, std::size_t length, std::string& text) {
    scrambled_.assign(image_, offset, length);
    layout::Scramble(scrambled_);
    codec_.FromAnsiInto(scrambled_, text);
}

void ScenarioImage::WriteHeader() {
    if (image_.size() >= kHeaderSize)
        image_.replace(0, kHeaderSize, layout::EncodeHeader(header_));
}

std::string ScenarioImage::GetDescription() const {
    if (image_.size() < kFirstStepOffset)
        return {};
    std::string_view field = std::string_view(image_).substr(kHeaderSize, kDescriptionSize);
    return codec_.FromAnsi(field.substr(0, field.find('\0')));
}

void ScenarioImage::SetDescription(const std::string& text) {
    if (text.empty() || !HasSpareByte())
        return;
    std::string field = codec_.ToAnsi(text);
    field.resize(kDescriptionSize, '\0');
    image_.replace(kHeaderSize, kDescriptionSize, field);
}

void ScenarioImage::InsertBeforeSpare(std::string_view bytes) {
    image_.insert(image_.size() - 1, bytes);
    appendPosition = static_cast<std::int64_t>(image_.size()) - 1;
}

void ScenarioImage::AppendStep(StepState& step) {
    if (!HasSpareByte() || header_.stepCount == INT32_MAX)
        return;
    header_.stepCount += 1;
    WriteHeader();

    std::vector<std::string> texts;  // encoded class names and captions, owned while the views are in use
    texts.reserve(2 * step.windows.size());
    layout::StepBytes bytes;
    for (const WindowRef& window : step.windows) {
        texts.push_back(codec_.ToAnsi(window.className));
        texts.push_back(codec_.ToAnsi(window.caption));
        bytes.windows.push_back({texts[texts.size() - 2], texts.back(), window.matchIndex});
    }
    bytes.events = step.events;
    std::string text = step.hasText ? codec_.ToAnsi(step.text) : std::string{};
    bytes.text = text;

    std::string out;
    layout::AppendStepBytes(out, bytes);
    InsertBeforeSpare(out);
    if (!text.empty()) {
        step.text.clear();
        step.hasText = false;
    }
}

bool ScenarioImage::ReadNextStep(StepState& step) {
    stepReadFailed_ = false;
    if (stepsRead >= header_.stepCount) {
        if (stepsRead < INT32_MAX)
            stepsRead += 1;
        return false;
    }
    // Steps lie in front of the spare byte.
    std::string_view steps = std::string_view(image_).substr(0, HasSpareByte() ? image_.size() - 1 : 0);
    std::int64_t end = 0;
    if (!layout::ParseStepBytes(steps, readPosition, stepBytes_, end)) {
        stepReadFailed_ = true;
        return false;
    }
    ReuseWindows(step.windows, stepBytes_.windows.size());
    for (std::size_t i = 0; i < stepBytes_.windows.size(); ++i) {
        WindowRef& window = step.windows[i];
        codec_.FromAnsiInto(stepBytes_.windows[i].className, window.className);
        codec_.FromAnsiInto(stepBytes_.windows[i].caption, window.caption);
        window.matchIndex = stepBytes_.windows[i].matchIndex;
    }
    // The events were parsed into a vector of their own; the step's old one takes its place for the next.
    step.events.swap(stepBytes_.events);
    step.hasText = !stepBytes_.text.empty();
    if (step.hasText) {
        codec_.FromAnsiInto(stepBytes_.text, step.text);
        step.text = Expanded(std::move(step.text));
    } else {
        step.text.clear();
    }
    readPosition = end;
    stepsRead += 1;
    return true;
}

bool ScenarioImage::AppendInstallerPath(const std::string& path) {
    if (!HasSpareByte())
        return false;
    if (image_.size() == kFirstStepOffset + 1 && !EndsWithBat(path))
        return false;
    std::string bytes = codec_.ToAnsi(path);
    header_.installerPathOffset = static_cast<std::int32_t>(image_.size() - 1);
    header_.installerPathLength = static_cast<std::int32_t>(bytes.size());
    InsertBeforeSpare(bytes);
    WriteHeader();
    return true;
}

void ScenarioImage::AppendCommandLine(const std::string& text) {
    if (!HasSpareByte())
        return;
    std::string bytes = codec_.ToAnsi(text);
    header_.commandLineLength = static_cast<std::int32_t>(bytes.size());
    InsertBeforeSpare(bytes);
    WriteHeader();
}

void ScenarioImage::AppendRecordStamp(const LocalTime& now) {
    if (!HasSpareByte())
        return;
    // Out-of-range fields are clamped so that the stamp always keeps its 19 characters.
    auto two = [](int value) { return std::clamp(value, 0, 99); };
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%04d %02d:%02d:%02d", two(now.day), two(now.month),
                  std::clamp(now.year, 0, 9999), two(now.hour), two(now.minute), two(now.second));
    InsertBeforeSpare(std::string_view(stamp, kRecordStampSize));
}

bool ScenarioImage::InImage(std::int64_t offset, std::int64_t length) const {
    const auto end = static_cast<std::int64_t>(image_.size()) - 1;  // the spare byte is never part of a field
    return offset >= 0 && length >= 0 && offset <= end && length <= end - offset;
}

bool ScenarioImage::PathInImage() const {
    return header_.installerPathOffset >= kFirstStepOffset &&
           InImage(header_.installerPathOffset, header_.installerPathLength);
}

bool ScenarioImage::CommandLineInImage() const {
    return PathInImage() && InImage(std::int64_t{header_.installerPathOffset} + header_.installerPathLength,
                                    header_.commandLineLength);
}

bool ScenarioImage::GetInstallerPath(std::string& path) const {
    path.clear();
    if (!PathInImage())
        return false;
    path = codec_.FromAnsi(
        std::string_view(image_).substr(header_.installerPathOffset, header_.installerPathLength));
    return true;
}

std::string ScenarioImage::GetInstallerPath() const {
    std::string path;
    GetInstallerPath(path);
    return path;
}

std::string ScenarioImage::GetCommandLine() const {
    if (header_.commandLineLength == 0 || !CommandLineInImage())
        return {};
    std::int64_t offset = std::int64_t{header_.installerPathOffset} + header_.installerPathLength;
    return Expanded(codec_.FromAnsi(std::string_view(image_).substr(offset, header_.commandLineLength)));
}

void ScenarioImage::ReplaceBytes(std::int64_t oldLength, std::string_view bytes, std::int64_t offset) {
    image_.replace(offset, oldLength, bytes);
    appendPosition = static_cast<std::int64_t>(image_.size()) - 1;
}

bool ScenarioImage::ReplaceRange(std::int64_t oldLength, const std::string& newText, std::int64_t offset) {
    if (!InImage(offset, oldLength))
        return false;
    ReplaceBytes(oldLength, codec_.ToAnsi(newText), offset);
    return true;
}

bool ScenarioImage::ChangeInstallerPath(const std::string& path) {
    if (!CommandLineInImage())
        return false;
    std::string bytes = codec_.ToAnsi(path);
    ReplaceBytes(header_.installerPathLength, bytes, header_.installerPathOffset);
    header_.installerPathLength = static_cast<std::int32_t>(bytes.size());
    WriteHeader();
    return true;
}

bool ScenarioImage::ChangeCommandLine(const std::string& text) {
    if (!CommandLineInImage())
        return false;
    std::string bytes = codec_.ToAnsi(text);
    ReplaceBytes(header_.commandLineLength, bytes,
                 std::int64_t{header_.installerPathOffset} + header_.installerPathLength);
    header_.commandLineLength = static_cast<std::int32_t>(bytes.size());
    WriteHeader();
    return true;
}

bool ScenarioImage::IsVersionSupported() const {
    return kProgramVersionMajor >= header_.versionMajor;
}

void ScenarioImage::ScrambleImage() {
    layout::Scramble(image_);
}

void ScenarioImage::UnscrambleImage() {
    layout::Scramble(image_);
}

std::string ScenarioImage::Expanded(std::string text) const {
    // Every variable name starts with a percent sign; most texts have none and need no search.
    if (text.find('%') == std::string::npos)
        return text;
    return pathVars_.ExpandPathVars(text);
}

void ScenarioImage::ReuseWindows(std::vector<WindowRef>& windows, std::size_t count) {
    // A step with fewer links than the one before leaves the rest here, with their texts' memory, for the
    // next longer one: chains of two and three links follow each other all through a recording.
    while (windows.size() > count) {
        spareWindows_.push_back(std::move(windows.back()));
        windows.pop_back();
    }
    while (windows.size() < count) {
        if (spareWindows_.empty()) {
            windows.emplace_back();
        } else {
            windows.push_back(std::move(spareWindows_.back()));
            spareWindows_.pop_back();
        }
    }
}

bool ScenarioImage::WriteImageFile(FileSystem& files, const std::string& path) const {
    return files.ReplaceFile(path, image_);
}

}  // namespace velmora
