#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Codec.h"

namespace velmora {

// A single-byte Windows code page decoded from a table, so that scenario texts can be read and written where
// the system's own conversion is not at hand (on Linux, and in tests that must not depend on the machine's
// code page). Bytes the code page leaves undefined decode to the C1 control of the same number, as Windows
// does, so every byte survives a decode and encode.
class SingleByteCodec : public Codec {
  public:
    // Windows-1251 (Cyrillic) or Windows-1252 (Western); nothing for any other code page.
    static std::unique_ptr<SingleByteCodec> Create(int codePage);

    std::string ToAnsi(std::string_view utf8) override;
    std::string FromAnsi(std::string_view ansi) override;
    void FromAnsiInto(std::string_view ansi, std::string& utf8) override;
    int CodePage() const { return codePage_; }

  private:
    SingleByteCodec(int codePage, const std::array<char16_t, 128>& upperHalf);

    int codePage_;
    // Each byte as UTF-8 (never more than three bytes, the rest zeros), and its length.
    std::array<std::array<char, 4>, 256> utf8Of_;
    std::array<unsigned char, 256> lengthOf_;
    std::unordered_map<char32_t, char> fromCodePoint_;  // the reverse of the upper half
};

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace velmora
