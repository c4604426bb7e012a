#pragma once
// The text form of a scenario file: a line-oriented text that people and diff tools can read, and that
// turns back into the very bytes of the file it was made from.
#include <optional>
#include <string>
#include <string_view>

#include "platform/Codec.h"

namespace velmora {

inline constexpr int kTextFormatVersion = 1;

// The file's bytes (scrambled, as stored) as text. Texts are decoded with the codec, whose code page the
// text names. A file whose parts do not fit together is shown as its raw bytes, so every file has a text.
std::string DumpScenario(std::string_view fileBytes, Codec& codec, int codePage);

// The text back into the file's bytes (scrambled, ready to store). False with a message naming the line
// when the text is not a scenario text.
bool BuildScenario(std::string_view text, Codec& codec, std::string& fileBytes, std::string& error);

// The code page named by the text's "codepage" line; nothing when it has none or it is not a number.
std::optional<int> TextCodePage(std::string_view text);

}  // namespace velmora
