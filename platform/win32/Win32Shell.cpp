#include "platform/win32/Win32Shell.h"

#include <cstddef>
#include <cstring>

#include "platform/win32/ComApartment.h"
#include "platform/win32/WideText.h"

#include <shellapi.h>

namespace velmora {
namespace {

// A program named by its full path, which CreateProcess starts as the shell would.
bool IsProgramAt(const std::wstring& file) {
    const bool full =
        file.size() > 3 && ((file[1] == L':' && file[2] == L'\\') || file.rfind(L"\\\\", 0) == 0);
    return full && _wcsicmp(file.c_str() + file.size() - 4, L".exe") == 0;
}

// Started without the shell, whose apartment and look-ups would cost a run's start tens of milliseconds
// (under Wine they bring up the display driver), and suspended until it is in its job, so that no child it
// starts at once escapes it. False when CreateProcess refuses it; `process` stays empty when it could not be
// let run, and `job` is emptied when the system would not put the process in it.
bool StartProgram(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder,
                  unique_handle& process, unique_handle& job) {
    std::wstring commandLine = L"\"" + file + L"\"";
    if (!parameters.empty())
        commandLine += L" " + parameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    unique_handle started(info.hProcess);
    const unique_handle thread(info.hThread);
    if (job && !AssignProcessToJobObject(job.get(), started.get()))
        job.reset();
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1))
        TerminateProcess(started.get(), 1);
    else
        process = std::move(started);
    return true;
}

}  // namespace

bool Win32Shell::Open(const std::string& file, const std::string& parameters,
                      const std::string& workingFolder, WindowId owner) {
    if (file.empty())
        return false;
    std::wstring wideFile = Utf8ToWide(file);
    std::wstring wideParameters = Utf8ToWide(parameters);
    std::wstring wideFolder = Utf8ToWide(workingFolder);
    ComApartment com;
    HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(owner), L"open", wideFile.c_str(),
                                     wideParameters.empty() ? nullptr : wideParameters.c_str(),
                                     wideFolder.empty() ? nullptr : wideFolder.c_str(), SW_SHOW);
    // Values up to 32 are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::optional<ProcessId> Win32Shell::Start(const std::string& file, const std::string& parameters,
                                           const std::string& workingFolder, WindowId owner) {
    if (file.empty())
        return std::nullopt;
    std::wstring wideFile = Utf8ToWide(file);
    std::wstring wideParameters = Utf8ToWide(parameters);
    std::wstring wideFolder = Utf8ToWide(workingFolder);
    Held held;
    held.job.reset(CreateJobObjectW(nullptr, nullptr));
    if (IsProgramAt(wideFile) && StartProgram(wideFile, wideParameters, wideFolder, held.process, held.job)) {
        if (!held.process)
            return std::nullopt;
    } else {
        // The shell, for what CreateProcess refuses: an installer asking for elevation still starts as it
        // did, and a package or a script opens with its program.
        ComApartment com;
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.hwnd = reinterpret_cast<HWND>(owner);
        info.lpVerb = L"open";
        info.lpFile = wideFile.c_str();
        info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
        info.lpDirectory = wideFolder.empty() ? nullptr : wideFolder.c_str();
        info.nShow = SW_SHOW;
        if (!ShellExecuteExW(&info))
            return std::nullopt;
        if (info.hProcess == nullptr)
            return ProcessId{0};
        held.process.reset(info.hProcess);
        // The process runs already, so a child it starts in its first instant escapes the job; EndAll still
        // ends the process itself.
        if (held.job && !AssignProcessToJobObject(held.job.get(), held.process.get()))
            held.job.reset();
    }
    const ProcessId id = nextId_++;
    held_.emplace(id, std::move(held));
    return id;
}

std::optional<int> Win32Shell::ExitCodeOf(ProcessId process, int waitMs) {
    auto it = held_.find(process);
    if (it == held_.end())
        return std::nullopt;
    if (WaitForSingleObject(it->second.process.get(), static_cast<DWORD>(waitMs < 0 ? 0 : waitMs)) !=
        WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(it->second.process.get(), &code))
        return std::nullopt;
    return static_cast<int>(code);
}

void Win32Shell::EndAll(ProcessId process) {
    auto it = held_.find(process);
    if (it == held_.end())
        return;
    constexpr UINT kEndedCode = 1;
    if (it->second.job)
        TerminateJobObject(it->second.job.get(), kEndedCode);
    TerminateProcess(it->second.process.get(), kEndedCode);
    WaitForSingleObject(it->second.process.get(), 5000);
}

std::vector<SystemProcessId> Win32Shell::ProcessesOf(ProcessId process) {
    auto it = held_.find(process);
    if (it == held_.end())
        return {};
    if (!it->second.job) {
        const DWORD alone = GetProcessId(it->second.process.get());
        return alone != 0 ? std::vector<SystemProcessId>{alone} : std::vector<SystemProcessId>{};
    }
    // The list's header, then as many ids as fit; an installer starts a handful of processes.
    constexpr std::size_t kMostIds = 256;
    std::vector<ULONG_PTR> buffer(kMostIds + 2);
    if (!QueryInformationJobObject(it->second.job.get(), JobObjectBasicProcessIdList, buffer.data(),
                                   static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR)), nullptr))
        return {};
    JOBOBJECT_BASIC_PROCESS_ID_LIST list{};
    std::memcpy(&list, buffer.data(), offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList));
    const ULONG_PTR* ids =
        buffer.data() + offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList) / sizeof(ULONG_PTR);
    std::vector<SystemProcessId> processes;
    for (ULONG i = 0; i < list.NumberOfProcessIdsInList && i < kMostIds; ++i)
        processes.push_back(static_cast<SystemProcessId>(ids[i]));
    return processes;
}

void Win32Shell::Release(ProcessId process) {
    held_.erase(process);
}

}  // namespace velmora
