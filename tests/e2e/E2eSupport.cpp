#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace velmora::e2e {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Velmora";

// The build passes host paths; Wine shows the host's root as drive Z:.
std::wstring HostPathToWindows(const std::string& hostPath) {
    std::wstring path = Utf8ToWide(hostPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return !path.empty() && path[0] == L'\\' ? L"Z:" + path : path;
}

bool WriteUserString(const std::wstring& subkey, const std::wstring& name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The virtual display has no window manager, so Wine would show windows without caption or border. Asked to
// draw them itself, it makes the screenshots show what a person sees.
class DisplayEnvironment : public testing::Environment {
  public:
    void SetUp() override { WriteUserString(L"Software\\Wine\\X11 Driver", L"Managed", L"N"); }
};

[[maybe_unused]] testing::Environment* const kDisplayEnvironment =
    testing::AddGlobalTestEnvironment(new DisplayEnvironment);

}  // namespace

std::wstring VelmoraFolder() {
    const std::wstring exe = HostPathToWindows(VELMORA_EXE);
    return exe.substr(0, exe.find_last_of(L'\\'));
}

std::optional<Process> Process::Start(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    return Process(unique_handle(info.hProcess), info.dwProcessId);
}

Process::~Process() {
    if (Running()) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> Process::WaitExit(Deadline deadline) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

std::optional<Process> StartVelmora(const std::wstring& arguments) {
    return Process::Start(HostPathToWindows(VELMORA_EXE), arguments);
}

std::optional<std::wstring> ReadSetting(const std::wstring& section, const std::wstring& key) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\" + section).c_str(), key.c_str(),
                     RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

bool WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return WriteUserString(std::wstring(kSettingsKey) + L"\\" + section, key, value);
}

void RemoveProgramSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace velmora::e2e
