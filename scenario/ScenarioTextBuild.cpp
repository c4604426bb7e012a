#include <algorithm>
#include <map>
#include <vector>

#include "scenario/ScenarioLayout.h"
#include "scenario/ScenarioText.h"
#include "scenario/TextQuoting.h"

namespace velmora {
namespace {

struct Window {
    std::string className, caption;
    std::int32_t matchIndex = 0;
};

struct Step {
    std::vector<Window> windows;
    std::vector<MouseEventRec> events;
    std::string text;
};

// What the lines of a text say, before they are laid out as bytes.
struct Parsed {
    ScnHeader header = [] {
        ScnHeader written;  // a text that names no version gets the one this program writes
        written.versionMajor = kProgramVersionMajor;
        written.versionMinor = kProgramVersionMinor;
        return written;
    }();
    std::string description, gap, installer, commandLine, stamp;
    char spare = 0;
    std::vector<Step> steps;
    std::optional<std::int64_t> rawSize;
    std::string raw;
    // Set after "reserved", whose first two bytes it overwrites: a text without it keeps whatever
    // "reserved" says, so older texts build as before.
    std::optional<int> dpi;
};

std::optional<std::int16_t> Named(std::string_view word,
                                  std::initializer_list<std::pair<const char*, int>> names) {
    for (auto [name, value] : names) {
        if (word == name)
            return static_cast<std::int16_t>(value);
    }
    return std::nullopt;
}

// A keyword in quotes, for messages.
std::string Quoted(std::string_view keyword) {
    std::string text = "\"";
    text.append(keyword);
    text += '"';
    return text;
}

class Builder {
  public:
    explicit Builder(Codec& codec) : codec_(codec) {}

    bool Line(std::string_view line);
    bool Finish(std::string& fileBytes);
    const std::string& Error() const { return error_; }
    Parsed parsed;

  private:
    bool Fail(const std::string& message) {
        error_ = message;
        return false;
    }
    bool Once(std::string_view keyword);
    bool TopLevel(std::string_view keyword, LineReader& reader);
    bool HeaderLine(std::string_view keyword, LineReader& reader);  // screen, version, dpi, reserved
    bool PartLine(std::string_view keyword, LineReader& reader);    // the texts and the spare byte
    bool InStep(std::string_view keyword, LineReader& reader);

    Codec& codec_;
    std::string error_;
    bool sawFormat_ = false;
    std::map<std::string, bool, std::less<>> seen_;
};

bool Builder::Once(std::string_view keyword) {
    if (seen_.count(keyword))
        return Fail("a second " + Quoted(keyword) + " line");
    seen_.emplace(keyword, true);
    return true;
}

bool Builder::Line(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    LineReader reader(line, codec_);
    if (reader.AtEnd())
        return true;
    std::string_view keyword = reader.Word();
    if (keyword.front() == '#')
        return true;
    if (!sawFormat_) {
        auto version = reader.Integer(kTextFormatVersion, kTextFormatVersion);
        if (keyword != "format" || !version)
            return Fail("the text must start with \"format " + std::to_string(kTextFormatVersion) + "\"");
        sawFormat_ = true;
    } else if (parsed.rawSize && keyword != "hex") {
        return Fail("only \"hex\" lines may follow \"raw\"");
    } else {
        bool inStep = keyword == "window" || keyword == "event" || keyword == "text";
        if (!(inStep ? InStep(keyword, reader) : TopLevel(keyword, reader)))
            return Fail(error_.empty() ? reader.Error() : error_);
    }
    if (!reader.Error().empty())
        return Fail(reader.Error());
    if (!reader.AtEnd())
        return Fail("unexpected words at the end of the line");
    return true;
}

bool Builder::TopLevel(std::string_view keyword, LineReader& reader) {
    if (keyword == "step") {
        parsed.steps.emplace_back();
        // The number is for people; steps are stored in the order given.
        return reader.AtEnd() || reader.Integer(1, INT32_MAX).has_value();
    }
    if (keyword == "hex") {
        std::optional<std::string> bytes = parsed.rawSize ? reader.HexBytes() : std::nullopt;
        parsed.raw += bytes.value_or("");
        return parsed.rawSize ? bytes.has_value() : Fail("a \"hex\" line without \"raw\"");
    }
    if (!Once(keyword))
        return false;
    if (keyword == "codepage")
        return reader.Integer(1, 65535).has_value();
    if (keyword == "screen" || keyword == "version" || keyword == "dpi" || keyword == "reserved")
        return HeaderLine(keyword, reader);
    if (keyword == "raw") {
        bool alone = parsed.steps.empty() && std::all_of(seen_.begin(), seen_.end(), [](auto& entry) {
                         return entry.first == "codepage" || entry.first == "raw";
                     });
        if (!alone)
            return Fail("\"raw\" cannot be mixed with other parts of a scenario");
        parsed.rawSize = reader.Integer(0, INT32_MAX);
        return parsed.rawSize.has_value();
    }
    return PartLine(keyword, reader);
}

bool Builder::HeaderLine(std::string_view keyword, LineReader& reader) {
    ScnHeader& header = parsed.header;
    if (keyword == "screen") {
        auto width = reader.Integer(INT32_MIN, INT32_MAX);
        auto height = width ? reader.Integer(INT32_MIN, INT32_MAX) : std::nullopt;
        header.screenWidth = static_cast<std::int32_t>(width.value_or(0));
        header.screenHeight = static_cast<std::int32_t>(height.value_or(0));
        return height.has_value();
    }
    if (keyword == "version") {
        auto major = reader.Integer(INT16_MIN, INT16_MAX);
        auto minor = major ? reader.Integer(INT16_MIN, INT16_MAX) : std::nullopt;
        header.versionMajor = static_cast<std::int16_t>(major.value_or(0));
        header.versionMinor = static_cast<std::int16_t>(minor.value_or(0));
        return minor.has_value();
    }
    if (keyword == "dpi") {
        auto dpi = reader.Integer(0, 0xFFFF);
        parsed.dpi = static_cast<int>(dpi.value_or(0));
        return dpi.has_value();
    }
    auto first = reader.HexBytes();
    auto second = first ? reader.HexBytes() : std::nullopt;
    if (!second || first->size() != sizeof header.reserved1 || second->size() != sizeof header.reserved2)
        return Fail("\"reserved\" takes 8 and 3 bytes in hexadecimal");
    std::copy(first->begin(), first->end(), header.reserved1);
    std::copy(second->begin(), second->end(), header.reserved2);
    return true;
}

bool Builder::PartLine(std::string_view keyword, LineReader& reader) {
    auto quoted = [&](std::string& into) {
        std::optional<std::string> bytes = reader.Quoted();
        into = bytes.value_or("");
        return bytes.has_value();
    };
    if (keyword == "description") {
        if (!quoted(parsed.description))
            return false;
        if (parsed.description.size() > kDescriptionSize)
            return Fail("the description has " + std::to_string(parsed.description.size()) +
                        " bytes; the file holds 200");
        return true;
    }
    if (keyword == "gap")
        return quoted(parsed.gap);
    if (keyword == "installer")
        return quoted(parsed.installer);
    if (keyword == "commandline")
        return quoted(parsed.commandLine);
    if (keyword == "stamp")
        return quoted(parsed.stamp);
    if (keyword == "spare") {
        auto byte = reader.HexBytes();
        if (!byte || byte->size() != 1)
            return Fail("\"spare\" takes one byte in hexadecimal");
        parsed.spare = byte->front();
        return true;
    }
    return Fail("unknown line " + Quoted(keyword));
}

bool Builder::InStep(std::string_view keyword, LineReader& reader) {
    if (parsed.steps.empty())
        return Fail(Quoted(keyword) + " before the first \"step\"");
    Step& step = parsed.steps.back();
    if (keyword == "window") {
        Window window;
        auto className = reader.Quoted();
        auto caption = className ? reader.Quoted() : std::nullopt;
        auto match = caption ? reader.Integer(INT32_MIN, INT32_MAX) : std::nullopt;
        if (!match)
            return false;
        step.windows.push_back({*className, *caption, static_cast<std::int32_t>(*match)});
        return true;
    }
    if (keyword == "event") {
        std::string_view buttonWord = reader.Word();
        auto button = Named(buttonWord, {{"left", 1}, {"right", 2}, {"middle", 4}});
        if (!button) {
            LineReader number(buttonWord, codec_);
            button = static_cast<std::int16_t>(number.Integer(INT16_MIN, INT16_MAX).value_or(0));
            if (!number.Error().empty())
                return Fail("the button is left, right, middle or a number");
        }
        std::string_view kindWord = reader.Word();
        auto kind = Named(kindWord, {{"press", 1}, {"move", 2}, {"release", 3}});
        if (!kind) {
            LineReader number(kindWord, codec_);
            kind = static_cast<std::int16_t>(number.Integer(INT16_MIN, INT16_MAX).value_or(0));
            if (!number.Error().empty())
                return Fail("the event is press, move, release or a number");
        }
        auto x = reader.Integer(INT32_MIN, INT32_MAX);
        auto y = x ? reader.Integer(INT32_MIN, INT32_MAX) : std::nullopt;
        if (!y)
            return false;
        step.events.push_back({*button, *kind, static_cast<std::int32_t>(*x), static_cast<std::int32_t>(*y)});
        return true;
    }
    if (!step.text.empty())
        return Fail("a second \"text\" line in one step");
    std::optional<std::string> text = reader.Quoted();
    step.text = text.value_or("");
    return text.has_value();
}

bool Builder::Finish(std::string& fileBytes) {
    if (!sawFormat_)
        return Fail("the text is empty");
    std::string image;
    if (parsed.rawSize) {
        if (static_cast<std::int64_t>(parsed.raw.size()) != *parsed.rawSize)
            return Fail("\"raw\" promises " + std::to_string(*parsed.rawSize) +
                        " bytes; the \"hex\" lines hold " + std::to_string(parsed.raw.size()));
        image = std::move(parsed.raw);
    } else {
        ScnHeader header = parsed.header;
        if (parsed.dpi)
            layout::SetRecordedDpi(header, *parsed.dpi);
        std::string body = parsed.description;
        body.resize(kDescriptionSize, '\0');
        for (const Step& step : parsed.steps) {
            layout::StepBytes bytes;
            for (const Window& window : step.windows)
                bytes.windows.push_back({window.className, window.caption, window.matchIndex});
            bytes.events = step.events;
            bytes.text = step.text;
            layout::AppendStepBytes(body, bytes);
        }
        body += parsed.gap;
        const std::size_t pathAt = kHeaderSize + body.size();
        body += parsed.installer + parsed.commandLine + parsed.stamp;
        if (kHeaderSize + body.size() + 1 > static_cast<std::size_t>(INT32_MAX))
            return Fail("the scenario would be larger than a scenario file can be");
        header.stepCount = static_cast<std::int32_t>(parsed.steps.size());
        header.installerPathOffset = static_cast<std::int32_t>(pathAt);
        header.installerPathLength = static_cast<std::int32_t>(parsed.installer.size());
        header.commandLineLength = static_cast<std::int32_t>(parsed.commandLine.size());
        image = layout::EncodeHeader(header) + body + parsed.spare;
    }
    layout::Scramble(image);
    fileBytes = std::move(image);
    return true;
}

}  // namespace

bool BuildScenario(std::string_view text, Codec& codec, std::string& fileBytes, std::string& error) {
    Builder builder(codec);
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!builder.Line(line)) {
            error = "line " + std::to_string(number) + ": " + builder.Error();
            return false;
        }
    }
    if (!builder.Finish(fileBytes)) {
        error = builder.Error();
        return false;
    }
    return true;
}

std::optional<int> TextCodePage(std::string_view text) {
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos || line.compare(start, 9, "codepage ") != 0)
            continue;
        int codePage = 0;
        for (std::size_t i = start + 9; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
            codePage = codePage * 10 + (line[i] - '0');
            if (codePage > 65535)
                return std::nullopt;
        }
        return codePage > 0 ? std::optional<int>(codePage) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace velmora
