#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace velmora {

// A process started through Shell::Start; 0 is none.
using ProcessId = std::uint64_t;

class Shell {
  public:
    virtual ~Shell() = default;
    // Asks the shell to "open" the file with the parameters (none when empty) in the working folder, shown
    // normally. True when the shell reports success.
    [[nodiscard]] virtual bool Open(const std::string& file, const std::string& parameters,
                                    const std::string& workingFolder, WindowId owner) = 0;
    // Opens the file as Open does and keeps hold of its process and of the processes it starts from then
    // on. Nothing when it would not start; 0 when it started but the shell handed it to a process that was
    // already running, so there is nothing to watch.
    [[nodiscard]] virtual std::optional<ProcessId> Start(const std::string& file,
                                                         const std::string& parameters,
                                                         const std::string& workingFolder,
                                                         WindowId owner) = 0;
    // The process's exit code once it has ended, waiting for it at most waitMs; nothing while it runs (and
    // for an id that is not held).
    [[nodiscard]] virtual std::optional<int> ExitCodeOf(ProcessId process, int waitMs) = 0;
    // Ends the process and every process it started that is still running.
    virtual void EndAll(ProcessId process) = 0;
    // The system's ids of the process and of the processes it started that still run (its job's); empty
    // for an id that is not held.
    virtual std::vector<SystemProcessId> ProcessesOf(ProcessId process) = 0;
    // Lets go of the process without ending it; the id means nothing afterwards.
    virtual void Release(ProcessId process) = 0;
};

}  // namespace velmora
