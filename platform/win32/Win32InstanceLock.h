#pragma once
#include "platform/InstanceLock.h"
#include "platform/win32/UniqueHandle.h"

namespace velmora {

// A named semaphore: the first process to create the name holds it until it releases or ends.
class Win32InstanceLock : public InstanceLock {
  public:
    Win32InstanceLock() = default;
    Win32InstanceLock(const Win32InstanceLock&) = delete;
    Win32InstanceLock& operator=(const Win32InstanceLock&) = delete;
    ~Win32InstanceLock() override { Release(); }

    bool TryAcquire(const std::string& name) override;
    void Release() override;

  private:
    unique_handle semaphore_;
};

}  // namespace velmora
