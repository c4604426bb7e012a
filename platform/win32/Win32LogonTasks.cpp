#include "platform/win32/Win32LogonTasks.h"

#include "platform/win32/ComApartment.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <oleauto.h>
#include <taskschd.h>

namespace velmora {
namespace {

// The scheduler's class; MinGW's headers declare it without a definition to link against.
constexpr CLSID kTaskSchedulerClass = {
    0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};

// A BSTR that frees itself.
class Bstr {
  public:
    explicit Bstr(const std::string& utf8) : text_(SysAllocString(Utf8ToWide(utf8).c_str())) {}
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }
    BSTR get() const { return text_; }
    BSTR* put() {
        SysFreeString(text_);
        text_ = nullptr;
        return &text_;
    }

  private:
    BSTR text_ = nullptr;
};

// The root folder of the scheduler's tasks, or empty when the scheduler cannot be reached (its service is not
// running, say).
unique_com<ITaskFolder> RootFolder() {
    unique_com<ITaskService> service;
    if (FAILED(CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                reinterpret_cast<void**>(service.put()))))
        return {};
    VARIANT none;
    VariantInit(&none);
    if (FAILED(service.get()->Connect(none, none, none, none)))
        return {};
    unique_com<ITaskFolder> root;
    const Bstr path("\\");
    if (FAILED(service.get()->GetFolder(path.get(), root.put())))
        return {};
    return root;
}

}  // namespace

bool Win32LogonTasks::Register(const std::string& name, const std::string& definition) {
    const ComApartment com;
    const unique_com<ITaskFolder> root = RootFolder();
    if (!root)
        return false;
    VARIANT none;
    VariantInit(&none);
    unique_com<IRegisteredTask> task;
    const Bstr taskName(name);
    const Bstr xml(definition);
    // The definition names its user and logon type itself; no password is given or kept. The logon type given
    // here must agree with it: a task of LocalSystem's, which starts at boot, runs as a service account.
    const bool service = definition.find("<LogonType>ServiceAccount</LogonType>") != std::string::npos;
    return SUCCEEDED(root.get()->RegisterTask(
        taskName.get(), xml.get(), TASK_CREATE_OR_UPDATE, none, none,
        service ? TASK_LOGON_SERVICE_ACCOUNT : TASK_LOGON_INTERACTIVE_TOKEN, none, task.put()));
}

std::optional<std::string> Win32LogonTasks::Read(const std::string& name) {
    const ComApartment com;
    const unique_com<ITaskFolder> root = RootFolder();
    if (!root)
        return std::nullopt;
    unique_com<IRegisteredTask> task;
    const Bstr taskName(name);
    if (FAILED(root.get()->GetTask(taskName.get(), task.put())))
        return std::nullopt;
    Bstr xml;
    if (FAILED(task.get()->get_Xml(xml.put())) || xml.get() == nullptr)
        return std::nullopt;
    return WideToUtf8(xml.get());
}

bool Win32LogonTasks::Remove(const std::string& name) {
    const ComApartment com;
    const unique_com<ITaskFolder> root = RootFolder();
    if (!root)
        return false;
    const Bstr taskName(name);
    const HRESULT removed = root.get()->DeleteTask(taskName.get(), 0);
    return SUCCEEDED(removed) || removed == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

}  // namespace velmora
