#include <cstdio>
#include <vector>

#include "scenario/ScenarioLayout.h"
#include "scenario/ScenarioText.h"
#include "scenario/TextQuoting.h"

namespace velmora {
namespace {

constexpr std::size_t kRawBytesPerLine = 32;

std::string Hex(const unsigned char* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0xF];
    }
    return out;
}

std::string Preamble(int codePage) {
    return "# Velmora Runwright scenario as text; \"scntool build\" turns it back into the file.\n"
           "format " +
           std::to_string(kTextFormatVersion) + "\ncodepage " + std::to_string(codePage) + "\n";
}

std::string ButtonName(std::int16_t button) {
    switch (button) {
        case 1:
            return "left";
        case 2:
            return "right";
        case 4:
            return "middle";
        default:
            return std::to_string(button);
    }
}

std::string KindName(std::int16_t kind) {
    switch (kind) {
        case 1:
            return "press";
        case 2:
            return "move";
        case 3:
            return "release";
        default:
            return std::to_string(kind);
    }
}

std::string RawText(std::string_view image, int codePage) {
    std::string out = Preamble(codePage) + "raw " + std::to_string(image.size()) + "\n";
    auto bytes = reinterpret_cast<const unsigned char*>(image.data());
    for (std::size_t at = 0; at < image.size(); at += kRawBytesPerLine)
        out += "hex " + Hex(bytes + at, std::min(kRawBytesPerLine, image.size() - at)) + "\n";
    return out;
}

// The structured text, or nothing when the image's parts do not fit together: steps that do not parse, a
// path that starts inside the steps, or fields running into the spare byte.
std::optional<std::string> StructuredText(std::string_view image, Codec& codec, int codePage) {
    if (image.size() < kFirstStepOffset + 1)
        return std::nullopt;
    const ScnHeader header = layout::DecodeHeader(image);
    const std::string_view body = image.substr(0, image.size() - 1);  // all but the spare byte
    auto bytes = reinterpret_cast<const unsigned char*>(image.data());

    std::string out = Preamble(codePage);
    out += "screen " + std::to_string(header.screenWidth) + " " + std::to_string(header.screenHeight) + "\n";
    out +=
        "version " + std::to_string(header.versionMajor) + " " + std::to_string(header.versionMinor) + "\n";
    if (layout::RecordedDpi(header) != 0)
        out += "dpi " + std::to_string(layout::RecordedDpi(header)) + "\n";
    // The bytes still reserved, the DPI's shown as zero: "build" sets the DPI after them.
    if (layout::OtherReservedSet(header)) {
        ScnHeader reserved = header;
        layout::SetRecordedDpi(reserved, 0);
        out += "reserved " + Hex(reserved.reserved1, sizeof reserved.reserved1) + " " +
               Hex(reserved.reserved2, sizeof reserved.reserved2) + "\n";
    }
    // The field up to its last non-zero byte: the padding is implied, and anything unusual in it shows.
    std::size_t used = kDescriptionSize;
    while (used > 0 && bytes[kHeaderSize + used - 1] == 0)
        --used;
    out += "description " + QuoteBytes(image.substr(kHeaderSize, used), codec) + "\n";

    if (header.stepCount < 0)
        return std::nullopt;
    std::int64_t at = kFirstStepOffset;
    layout::StepBytes step;
    for (std::int32_t number = 1; number <= header.stepCount; ++number) {
        std::int64_t end = 0;
        if (!layout::ParseStepBytes(body, at, step, end))
            return std::nullopt;
        out += "\nstep " + std::to_string(number) + "\n";
        for (const layout::WindowBytes& window : step.windows)
            out += "  window " + QuoteBytes(window.className, codec) + " " +
                   QuoteBytes(window.caption, codec) + " " + std::to_string(window.matchIndex) + "\n";
        for (const MouseEventRec& event : step.events)
            out += "  event " + ButtonName(event.button) + " " + KindName(event.kind) + " " +
                   std::to_string(event.x) + " " + std::to_string(event.y) + "\n";
        if (!step.text.empty())
            out += "  text " + QuoteBytes(step.text, codec) + "\n";
        at = end;
    }

    const std::int64_t pathAt = header.installerPathOffset;
    const std::int64_t commandAt = pathAt + header.installerPathLength;
    const std::int64_t stampAt = commandAt + header.commandLineLength;
    const auto spareAt = static_cast<std::int64_t>(body.size());
    if (pathAt < at || header.installerPathLength < 0 || header.commandLineLength < 0 || stampAt > spareAt)
        return std::nullopt;
    out += "\n";
    if (pathAt > at)
        out += "gap " + QuoteBytes(body.substr(at, pathAt - at), codec) + "\n";
    out += "installer " + QuoteBytes(body.substr(pathAt, header.installerPathLength), codec) + "\n";
    out += "commandline " + QuoteBytes(body.substr(commandAt, header.commandLineLength), codec) + "\n";
    if (stampAt < spareAt)
        out += "stamp " + QuoteBytes(body.substr(stampAt), codec) + "\n";
    if (bytes[spareAt] != 0)
        out += "spare " + Hex(bytes + spareAt, 1) + "\n";
    return out;
}

}  // namespace

std::string DumpScenario(std::string_view fileBytes, Codec& codec, int codePage) {
    std::string image(fileBytes);
    layout::Scramble(image);
    // The structured text is kept only when it builds back into the same bytes; anything it cannot carry
    // (which a file written by the program never has) falls back to the raw form.
    if (std::optional<std::string> text = StructuredText(image, codec, codePage)) {
        std::string rebuilt, error;
        if (BuildScenario(*text, codec, rebuilt, error) && rebuilt == fileBytes)
            return *text;
    }
    return RawText(image, codePage);
}

}  // namespace velmora
