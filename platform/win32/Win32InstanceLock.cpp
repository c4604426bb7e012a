#include "platform/win32/Win32InstanceLock.h"

#include <memory>

#include <sddl.h>

#include "platform/win32/WideText.h"

namespace velmora {
namespace {

// The boundary's name and the namespace's alias: a namespace is known by both and by the boundary's SIDs.
constexpr const wchar_t* kNamespaceName = L"Velmora Runwright";
// Administrators may do anything in the namespace; nobody else may open it.
constexpr const wchar_t* kAdministratorsOnly = L"D:(A;;GA;;;BA)";
// Another process may close the namespace between this one's attempt to create it and to open it.
constexpr int kNamespaceTries = 3;

struct BoundaryDeleter {
    void operator()(HANDLE boundary) const noexcept { DeleteBoundaryDescriptor(boundary); }
};
struct LocalDeleter {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};

enum class Namespace { Held, Missing, Refused };

// Creates the namespace, or opens it when another instance made it. Missing when the system has no private
// namespaces: Wine's CreateBoundaryDescriptorW is a stub that answers nothing, and its
// AddSIDToBoundaryDescriptor ends the process, so nothing more is asked then.
Namespace OpenNamespace(unique_private_namespace& held) {
    std::unique_ptr<void, BoundaryDeleter> boundary(CreateBoundaryDescriptorW(kNamespaceName, 0));
    if (!boundary)
        return Namespace::Missing;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof administrators;
    HANDLE descriptor = boundary.get();
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize) ||
        !AddSIDToBoundaryDescriptor(&descriptor, administrators))
        return Namespace::Refused;
    // The call may move the descriptor to grow it.
    static_cast<void>(boundary.release());
    boundary.reset(descriptor);
    PSECURITY_DESCRIPTOR security = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdministratorsOnly, SDDL_REVISION_1, &security,
                                                              nullptr))
        return Namespace::Refused;
    std::unique_ptr<void, LocalDeleter> ownedSecurity(security);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security, FALSE};
    for (int i = 0; i < kNamespaceTries; ++i) {
        held.reset(CreatePrivateNamespaceW(&attributes, descriptor, kNamespaceName));
        if (held)
            return Namespace::Held;
        // A process outside the boundary (not elevated) is refused here.
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return Namespace::Refused;
        held.reset(OpenPrivateNamespaceW(descriptor, kNamespaceName));
        if (held)
            return Namespace::Held;
    }
    return Namespace::Refused;
}

}  // namespace

bool Win32InstanceLock::TryAcquire(const std::string& name) {
    // One lock holds one name; an empty name would make an unnamed semaphore that keeps no one out, and a
    // backslash would reach outside the namespace.
    std::wstring wide = Utf8ToWide(name);
    if (semaphore_ || wide.empty() || wide.find_first_of(std::wstring(L"\\\0", 2)) != std::wstring::npos)
        return false;
    const Namespace space = OpenNamespace(namespace_);
    if (space == Namespace::Refused)
        return false;
    const std::wstring object = space == Namespace::Held ? std::wstring(kNamespaceName) + L"\\" + wide : wide;
    unique_handle created(CreateSemaphoreW(nullptr, 0, 1, object.c_str()));
    if (!created || GetLastError() == ERROR_ALREADY_EXISTS) {
        // Kept only while the semaphore is held, so that the holder is the one whose namespace others open.
        namespace_.reset();
        return false;
    }
    semaphore_ = std::move(created);
    return true;
}

void Win32InstanceLock::Release() {
    if (semaphore_) {
        ReleaseSemaphore(semaphore_.get(), 1, nullptr);
        semaphore_.reset();
    }
    namespace_.reset();
}

}  // namespace velmora
