#include "platform/win32/Win32InstanceLock.h"

#include "platform/win32/WideText.h"

namespace velmora {

bool Win32InstanceLock::TryAcquire(const std::string& name) {
    // One lock holds one name; an empty name would make an unnamed semaphore that keeps no one out.
    std::wstring wide = Utf8ToWide(name);
    if (semaphore_ || wide.empty() || wide.find(L'\0') != std::wstring::npos)
        return false;
    unique_handle created(CreateSemaphoreW(nullptr, 0, 1, wide.c_str()));
    if (!created || GetLastError() == ERROR_ALREADY_EXISTS)
        return false;
    semaphore_ = std::move(created);
    return true;
}

void Win32InstanceLock::Release() {
    if (!semaphore_)
        return;
    ReleaseSemaphore(semaphore_.get(), 1, nullptr);
    semaphore_.reset();
}

}  // namespace velmora
