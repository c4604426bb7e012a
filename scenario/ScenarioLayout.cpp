#include "scenario/ScenarioLayout.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <iterator>

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

int RecordedDpi(const ScnHeader& header) {
    return header.reserved1[0] | (header.reserved1[1] << 8);
}

void SetRecordedDpi(ScnHeader& header, int dpi) {
    const auto bits = static_cast<std::uint16_t>(std::clamp(dpi, 0, 0xFFFF));
    header.reserved1[0] = static_cast<std::uint8_t>(bits & 0xFF);
    header.reserved1[1] = static_cast<std::uint8_t>(bits >> 8);
}

bool OtherReservedSet(const ScnHeader& header) {
    auto set = [](std::uint8_t byte) { return byte != 0; };
    return std::any_of(std::begin(header.reserved1) + 2, std::end(header.reserved1), set) ||
           std::any_of(std::begin(header.reserved2), std::end(header.reserved2), set);
}

std::string EncodeHeader(const ScnHeader& header) {
    std::string out;
    out.reserve(kHeaderSize);
    PutI32(out, header.screenWidth);
    PutI32(out, header.screenHeight);
    PutI16(out, header.versionMajor);
    PutI16(out, header.versionMinor);
    out.append(reinterpret_cast<const char*>(header.reserved1), sizeof header.reserved1);
    PutI32(out, header.stepCount);
    PutI32(out, header.installerPathLength);
    PutI32(out, header.installerPathOffset);
    PutI32(out, header.commandLineLength);
    out.append(reinterpret_cast<const char*>(header.reserved2), sizeof header.reserved2);
    return out;
}

ScnHeader DecodeHeader(std::string_view data) {
    ScnHeader header;
    header.screenWidth = GetI32(data, 0);
    header.screenHeight = GetI32(data, 4);
    header.versionMajor = GetI16(data, 8);
    header.versionMinor = GetI16(data, 10);
    std::memcpy(header.reserved1, data.data() + 12, sizeof header.reserved1);
    header.stepCount = GetI32(data, 20);
    header.installerPathLength = GetI32(data, 24);
    header.installerPathOffset = GetI32(data, 28);
    header.commandLineLength = GetI32(data, 32);
    std::memcpy(header.reserved2, data.data() + 36, sizeof header.reserved2);
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
        PutI16(out, event.button);
        PutI16(out, event.kind);
        PutI32(out, event.x);
        PutI32(out, event.y);
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
                  offsetof(MouseEventRec, x) == 4 && offsetof(MouseEventRec, y) == 8) {
        if (eventCount > 0)
            std::memcpy(step.events.data(), data.data() + at, step.events.size() * kEventSize);
        at += std::int64_t{eventCount} * kEventSize;
    } else {
        for (MouseEventRec& event : step.events) {
            event.button = GetI16(data, at);
            event.kind = GetI16(data, at + 2);
            event.x = GetI32(data, at + 4);
            event.y = GetI32(data, at + 8);
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
