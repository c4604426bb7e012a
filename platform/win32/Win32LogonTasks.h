#pragma once
#include "platform/LogonTasks.h"

namespace velmora {

// The Task Scheduler through its COM interface, in the root folder of its tasks. Each call connects anew: a
// run registers or removes its task once, and a connection kept open would outlive a scheduler restart.
class Win32LogonTasks : public LogonTasks {
  public:
    bool Register(const std::string& name, const std::string& definition) override;
    std::optional<std::string> Read(const std::string& name) override;
    bool Remove(const std::string& name) override;
};

}  // namespace velmora
