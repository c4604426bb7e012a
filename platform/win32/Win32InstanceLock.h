#pragma once
#include "platform/InstanceLock.h"
#include "platform/win32/UniqueHandle.h"

namespace velmora {

namespace detail {
inline void ClosePrivateNamespaceHandle(HANDLE name) noexcept {
    ClosePrivateNamespace(name, 0);
}
}  // namespace detail
using unique_private_namespace = unique_any<NullIsEmpty<HANDLE, &detail::ClosePrivateNamespaceHandle>>;

// A semaphore in a private namespace bounded by the Administrators group: only an elevated process can make
// the namespace, and only Administrators may open it, so no program of the user can take the name first or
// hold it (a named object with a DACL keeps others out of it once it exists, but anyone may create the name
// before it does). Where the system has no private namespaces (Wine), a semaphore of the name in the session.
// The first process to create the semaphore holds it until it releases or ends.
class Win32InstanceLock : public InstanceLock {
  public:
    Win32InstanceLock() = default;
    Win32InstanceLock(const Win32InstanceLock&) = delete;
    Win32InstanceLock& operator=(const Win32InstanceLock&) = delete;
    ~Win32InstanceLock() override { Release(); }

    bool TryAcquire(const std::string& name) override;
    void Release() override;

  private:
    unique_private_namespace namespace_;
    unique_handle semaphore_;
};

}  // namespace velmora
