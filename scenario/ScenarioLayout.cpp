#include "scenario/ScenarioLayout.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "scenario/ScenarioTypes.h"

namespace velmora::layout {

void PutI16(std::string& out, std::int16_t value) {
    auto bits = static_cast<std::uint16_t>(value);
    out += static_cast<char>(bits & 0xFF);
    out += static_cast<char>(bits >> 8);
}

void PutI32(std::string& out, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
}

namespace {

// One load on a little-endian host (every step field is read this way), bytes put together elsewhere.
template <typename Unsigned>
Unsigned GetLittleEndian(std::string_view data, std::size_t at) {
    Unsigned bits = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&bits, data.data() + at, sizeof bits);
    } else {
        for (std::size_t k = 0; k < sizeof bits; ++k)
            bits |= static_cast<Unsigned>(static_cast<unsigned char>(data[at + k])) << (8 * k);
    }
    return bits;
}

}  // namespace

std::int16_t GetI16(std::string_view data, std::size_t at) {
    return static_cast<std::int16_t>(GetLittleEndian<std::uint16_t>(data, at));
}

std::int32_t GetI32(std::string_view data, std::size_t at) {
    return static_cast<std::int32_t>(GetLittleEndian<std::uint32_t>(data, at));
}

std::string EncodeHeader(const ScnHeader& header) {
    std::string out;
    out.reserve(kHeaderSize);
    PutI32(out, header.ScreenWidth);
    PutI32(out, header.ScreenHeight);
    PutI16(out, header.VersionMajor);
    PutI16(out, header.VersionMinor);
    out.append(reinterpret_cast<const char*>(header.Reserved1), sizeof header.Reserved1);
    PutI32(out, header.StepCount);
    PutI32(out, header.InstallerPathLength);
    PutI32(out, header.InstallerPathOffset);
    PutI32(out, header.CommandLineLength);
    out.append(reinterpret_cast<const char*>(header.Reserved2), sizeof header.Reserved2);
    return out;
}

ScnHeader DecodeHeader(std::string_view data) {
    ScnHeader header;
    header.ScreenWidth = GetI32(data, 0);
    header.ScreenHeight = GetI32(data, 4);
    header.VersionMajor = GetI16(data, 8);
    header.VersionMinor = GetI16(data, 10);
    std::memcpy(header.Reserved1, data.data() + 12, sizeof header.Reserved1);
    header.StepCount = GetI32(data, 20);
    header.InstallerPathLength = GetI32(data, 24);
    header.InstallerPathOffset = GetI32(data, 28);
    header.CommandLineLength = GetI32(data, 32);
    std::memcpy(header.Reserved2, data.data() + 36, sizeof header.Reserved2);
    return header;
}

void AppendStepBytes(std::string& out, const StepBytes& step) {
    PutI32(out, static_cast<std::int32_t>(step.windows.size()));
    PutI32(out, static_cast<std::int32_t>(step.events.size()));
    PutI32(out, static_cast<std::int32_t>(step.text.size()));
    for (const WindowBytes& window : step.windows) {
        PutI32(out, static_cast<std::int32_t>(window.className.size()));
        PutI32(out, static_cast<std::int32_t>(window.caption.size()));
        PutI32(out, window.matchIndex);
        out.append(window.className);
        out.append(window.caption);
    }
    for (const MouseEventRec& event : step.events) {
        PutI16(out, event.Button);
        PutI16(out, event.Kind);
        PutI32(out, event.X);
        PutI32(out, event.Y);
    }
    out.append(step.text);
}

bool ParseStepBytes(std::string_view data, std::int64_t at, StepBytes& step, std::int64_t& end) {
    const auto size = static_cast<std::int64_t>(data.size());
    // Every test keeps `at` within [0, size], so the sums below cannot overflow: lengths are 32-bit.
    auto fits = [&](std::int64_t length) { return length >= 0 && length <= size - at; };
    if (at < 0 || !fits(kStepHeaderSize))
        return false;
    std::int32_t windowCount = GetI32(data, at);
    std::int32_t eventCount = GetI32(data, at + 4);
    std::int32_t textLength = GetI32(data, at + 8);
    at += kStepHeaderSize;
    // Each link and event takes at least 12 bytes, so counts the data cannot hold are refused before any
    // memory is reserved for them.
    if (windowCount < 0 || eventCount < 0 || textLength < 0 ||
        !fits(std::int64_t{windowCount} * kWindowHeaderSize + std::int64_t{eventCount} * kEventSize +
              textLength))
        return false;

    step.windows.resize(windowCount);
    for (WindowBytes& window : step.windows) {
        if (!fits(kWindowHeaderSize))
            return false;
        std::int32_t classLength = GetI32(data, at);
        std::int32_t captionLength = GetI32(data, at + 4);
        window.matchIndex = GetI32(data, at + 8);
        at += kWindowHeaderSize;
        if (classLength < 0 || captionLength < 0 || !fits(std::int64_t{classLength} + captionLength))
            return false;
        window.className = data.substr(at, classLength);
        window.caption = data.substr(at + classLength, captionLength);
        at += std::int64_t{classLength} + captionLength;
    }
    if (!fits(std::int64_t{eventCount} * kEventSize + textLength))
        return false;
    step.events.resize(eventCount);
    // The stored events are the records' own little-endian layout: on such a host they are copied whole.
    if constexpr (std::endian::native == std::endian::little && sizeof(MouseEventRec) == kEventSize &&
                  offsetof(MouseEventRec, X) == 4 && offsetof(MouseEventRec, Y) == 8) {
        if (eventCount > 0)
            std::memcpy(step.events.data(), data.data() + at, step.events.size() * kEventSize);
        at += std::int64_t{eventCount} * kEventSize;
    } else {
        for (MouseEventRec& event : step.events) {
            event.Button = GetI16(data, at);
            event.Kind = GetI16(data, at + 2);
            event.X = GetI32(data, at + 4);
            event.Y = GetI32(data, at + 8);
            at += kEventSize;
        }
    }
    step.text = data.substr(at, textLength);
    end = at + textLength;
    return true;
}

void Scramble(std::string& bytes) {
    Scramble(bytes.data(), bytes.size());
}

void Scramble(char* bytes, std::size_t size) {
    constexpr unsigned char kBoth = kScrambleFirst ^ kScrambleSecond;
    constexpr std::uint64_t kWord = 0x0101010101010101ull * kBoth;
    // Thirty-two bytes at a time, then eight: every scenario played or edited is unscrambled whole.
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        std::uint64_t words[4];
        std::memcpy(words, bytes + i, 32);
        for (std::uint64_t& word : words)
            word ^= kWord;
        std::memcpy(bytes + i, words, 32);
    }
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        word ^= kWord;
        std::memcpy(bytes + i, &word, 8);
    }
    for (; i < size; ++i)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ kBoth);
}

}  // namespace velmora::layout
