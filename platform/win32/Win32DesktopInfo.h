#pragma once
#include "platform/DesktopInfo.h"

namespace velmora {

// The process's session and window station, the desktop that receives input, and how the session is
// connected, as the system answers now.
class Win32DesktopInfo : public DesktopInfo {
  public:
    DesktopFacts Facts() override;
};

}  // namespace velmora
