#pragma once
#include "platform/Shell.h"

namespace velmora {

// Opens files through the shell, as a double-click would.
class Win32Shell : public Shell {
  public:
    bool Open(const std::string& file, const std::string& parameters, const std::string& workingFolder,
              WindowId owner) override;
};

}  // namespace velmora
