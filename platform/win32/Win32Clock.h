#pragma once
#include "platform/Clock.h"

namespace velmora {

// The local wall-clock time of the system.
class Win32Clock : public Clock {
  public:
    LocalTime Now() override;
};

}  // namespace velmora
