#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <commctrl.h>

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"

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

// A buffer in the process of a window whose messages take pointers into their own process.
class RemoteBuffer {
  public:
    explicit RemoteBuffer(HWND window) : window_(window) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_.reset(
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        memory_ =
            static_cast<char*>(VirtualAllocEx(process_.get(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBuffer() { VirtualFreeEx(process_.get(), memory_, 0, MEM_RELEASE); }

    // Sends the message with `data` lent to the window, and answers what the window left in it.
    template <class T>
    T Send(UINT message, WPARAM wParam, T data) {
        WriteProcessMemory(process_.get(), memory_, &data, sizeof data, nullptr);
        SendMessageW(window_, message, wParam, reinterpret_cast<LPARAM>(memory_));
        ReadProcessMemory(process_.get(), memory_, &data, sizeof data, nullptr);
        return data;
    }
    std::wstring ItemText(int item, int column) {
        LVITEMW request{};
        request.iSubItem = column;
        request.pszText = reinterpret_cast<wchar_t*>(memory_ + kTextAt);
        request.cchTextMax = kChars;
        Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), request);
        std::wstring text(kChars, L'\0');
        ReadProcessMemory(process_.get(), memory_ + kTextAt, text.data(), kChars * sizeof(wchar_t), nullptr);
        return text.substr(0, text.find(L'\0'));
    }

  private:
    static constexpr int kChars = 260;
    static constexpr std::size_t kTextAt = 256;
    static constexpr std::size_t kSize = kTextAt + kChars * sizeof(wchar_t);
    HWND window_;
    unique_handle process_;
    char* memory_ = nullptr;
};

}  // namespace

std::vector<ListRow> ListViewRows(HWND list, int columns) {
    RemoteBuffer buffer(list);
    std::vector<ListRow> rows(static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (int column = 0; column < columns; ++column)
            rows[i].texts.push_back(buffer.ItemText(static_cast<int>(i), column));
        const auto state = SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK);
        rows[i].checked = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }
    return rows;
}

void SetListItemState(HWND list, int index, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    RemoteBuffer(list).Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), item);
}

RECT ListItemLabel(HWND list, int index) {
    RECT label{};
    label.left = LVIR_LABEL;
    label = RemoteBuffer(list).Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), label);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&label), 2);
    return label;
}

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

std::vector<std::pair<std::wstring, bool>> ListItems(HWND list) {
    std::vector<std::pair<std::wstring, bool>> items;
    for (const ListRow& row : ListViewRows(list))
        items.emplace_back(row.texts[0], row.checked);
    return items;
}

void Tick(HWND list, int index) {
    SetListItemState(list, index, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream file{std::filesystem::path(path), std::ios::binary};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool Xdotool(const std::wstring& arguments) {
    // Wine starts a host program like a Windows one, but its process can be neither waited for nor ended: a
    // shell runs the tool and then leaves a mark, so one input has ended before the next begins.
    static int calls = 0;
    const std::wstring mark =
        L"/tmp/velmora-xdotool-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++calls);
    std::wstring commandLine = L"Z:\\bin\\sh -c \"xdotool " + arguments + L"; touch " + mark + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    std::wstring windowsMark = L"Z:" + mark;
    std::replace(windowsMark.begin(), windowsMark.end(), L'/', L'\\');
    const bool done =
        WaitUntil([&] { return GetFileAttributesW(windowsMark.c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileW(windowsMark.c_str());
    return done;
}

bool ClickAt(POINT at) {
    return Xdotool(L"mousemove --sync " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y) +
                   L" mousedown 1 sleep 0.15 mouseup 1");
}

void Command(HWND main, MainCommand command) {
    PostMessageW(main, WM_COMMAND,
                 static_cast<WPARAM>(main_window::kFirstCommandId + static_cast<int>(command)), 0);
}

std::string FixtureWizardScenario(const std::wstring& installer, const std::wstring& result) {
    const auto quoted = [](const std::wstring& text) {
        std::string out = "\"";
        for (char c : WideToUtf8(text))
            out += c == '\\' || c == '"' ? std::string{'\\', c} : std::string{c};
        return out + "\"";
    };
    std::string text = "format 1\ncodepage 1252\nscreen 1280 1024\nversion 1 2\ndescription \"test\"\n";
    int number = 0;
    auto click = [&](const std::string& below, const std::string& at) {
        text += "\nstep " + std::to_string(++number) +
                "\n  window \"VelmoraFixtureWizard\" \"Fixture Setup\" 1\n" + below + "  event left press " +
                at + "\n  event left release 0 0\n";
    };
    for (const char* button : {"Next >", "Next >", "Next >", "Install", "Finish"}) {
        if (number == 2)  // the ready page comes after a moment: a click on its free corner waits for it
            click("  window \"VelmoraFixturePage\" \"Ready\" 1\n", "5 5");
        click(std::string("  window \"Button\" ") + quoted(Utf8ToWide(button)) + " 1\n", "20 10");
    }
    return text + "\ninstaller " + quoted(installer) + "\ncommandline " + quoted(L"\"" + result + L"\"") +
           "\n";
}

bool BuildScenarioFile(const std::string& text, const std::wstring& scnPath) {
    const std::wstring textPath = scnPath + L".txt";
    if (!Win32FileSystem{}.ReplaceFile(WideToUtf8(textPath), text))
        return false;
    auto scntool = Process::Start(VelmoraFolder() + L"\\tools\\scntool.exe",
                                  L"build \"" + textPath + L"\" -o \"" + scnPath + L"\"");
    const bool built = scntool && scntool->WaitExit() == std::optional<DWORD>(0);
    DeleteFileW(textPath.c_str());
    return built;
}

}  // namespace velmora::e2e
