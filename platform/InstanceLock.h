#pragma once
#include <string>

namespace velmora {

// The named marker that lets only one instance of the program run.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // False when another process already holds the name, or it cannot be taken (a process without
    // administrator rights cannot take it where the system keeps it for them).
    [[nodiscard]] virtual bool TryAcquire(const std::string& name) = 0;
    // Releases what TryAcquire took; harmless when nothing is held.
    virtual void Release() = 0;
};

}  // namespace velmora
