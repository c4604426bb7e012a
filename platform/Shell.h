#pragma once
#include <string>

#include "platform/Types.h"

namespace velmora {

class Shell {
  public:
    virtual ~Shell() = default;
    // Asks the shell to "open" the file with the parameters (none when empty) in the working folder, shown
    // normally. True when the shell reports success.
    virtual bool Open(const std::string& file, const std::string& parameters,
                      const std::string& workingFolder, WindowId owner) = 0;
};

}  // namespace velmora
