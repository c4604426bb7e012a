#pragma once
#include "platform/Codec.h"

namespace velmora {

// The system's ANSI code page. Characters it lacks become '?', never a look-alike: a best-fit mapping could
// turn a name into another valid name.
class Win32Codec : public Codec {
  public:
    std::string ToAnsi(std::string_view utf8) override;
    std::string FromAnsi(std::string_view ansi) override;
};

}  // namespace velmora
