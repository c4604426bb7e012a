#pragma once
#include "platform/SystemRestart.h"

namespace velmora {

// ExitWindowsEx with the shutdown privilege enabled for the process, the restart recorded as planned, for an
// application's installation. Programs that hang are ended; one that refuses still stops the restart, as
// Windows lets it.
class Win32SystemRestart : public SystemRestart {
  public:
    bool Restart() override;
};

}  // namespace velmora
