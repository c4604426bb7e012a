#pragma once
#include "platform/Types.h"

namespace velmora {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
};

}  // namespace velmora
