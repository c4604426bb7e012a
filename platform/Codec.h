#pragma once
#include <string>
#include <string_view>

namespace velmora {

// The system ANSI code page, used where a stored format defines its texts in it (scenario files,
// "Position.lst"). Lengths in those formats are byte counts of the encoded text.
class Codec {
  public:
    virtual ~Codec() = default;
    // UTF-8 to ANSI; characters the code page lacks become '?'.
    virtual std::string ToAnsi(std::string_view utf8) = 0;
    // ANSI to UTF-8.
    virtual std::string FromAnsi(std::string_view ansi) = 0;
    // The same into a string whose memory is reused; readers that decode many texts in a row use it.
    virtual void FromAnsiInto(std::string_view ansi, std::string& utf8) { utf8 = FromAnsi(ansi); }
};

}  // namespace velmora
