#pragma once
// Quoted texts of the scenario text form. A quoted text shows stored bytes as the code page's characters
// wherever that is exact, and as \xHH escapes wherever it is not (control bytes, bytes the code page cannot
// decode), so that turning the text back into bytes gives the very bytes it came from.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Codec.h"

namespace velmora {

// The bytes as a quoted text: "...", with \\, \" and \xHH escapes.
std::string QuoteBytes(std::string_view bytes, Codec& codec);

// Reads the words, numbers and quoted texts of one line of the text form. Each reader skips the blanks in
// front of what it reads; a failed read sets the error and leaves the rest of the line unread.
class LineReader {
  public:
    LineReader(std::string_view line, Codec& codec) : line_(line), codec_(codec) {}

    std::string_view Word();
    std::optional<std::int64_t> Integer(std::int64_t min, std::int64_t max);
    // A quoted text, as the bytes it stands for.
    std::optional<std::string> Quoted();
    std::optional<std::string> HexBytes();
    bool AtEnd();
    const std::string& Error() const { return error_; }

  private:
    void SkipBlanks();
    bool AppendText(std::string& bytes, std::string_view utf8);

    std::string_view line_;
    std::size_t pos_ = 0;
    Codec& codec_;
    std::string error_;
};

}  // namespace velmora
