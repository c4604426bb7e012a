#pragma once
#include <map>

#include "platform/Shell.h"
#include "platform/win32/UniqueHandle.h"

namespace velmora {

// Opens files through the shell, as a double-click would.
class Win32Shell : public Shell {
  public:
    bool Open(const std::string& file, const std::string& parameters, const std::string& workingFolder,
              WindowId owner) override;
    std::optional<ProcessId> Start(const std::string& file, const std::string& parameters,
                                   const std::string& workingFolder, WindowId owner) override;
    std::optional<int> ExitCodeOf(ProcessId process, int waitMs) override;
    void EndAll(ProcessId process) override;
    std::vector<SystemProcessId> ProcessesOf(ProcessId process) override;
    void Release(ProcessId process) override;

  private:
    struct Held {
        unique_handle process;
        unique_handle job;  // empty when the system would not put the process in one
    };
    std::map<ProcessId, Held> held_;
    ProcessId nextId_ = 1;
};

}  // namespace velmora
