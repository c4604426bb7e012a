#include "tests/e2e/E2eSupport.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

std::optional<Process> Process::Start(const std::wstring& exe, const std::wstring& arguments,
                                      std::wstring desktop) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.empty() ? nullptr : desktop.data();
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    return Process(info.hProcess);
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

Items ListItems(HWND list) {
    Items items;
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
    // After a click on a Wine window, "mousemove --sync" to the point where the pointer already is waits 15 s
    // for a move that never comes: the pointer steps aside first.
    const std::wstring y = L" " + std::to_wstring(at.y);
    return Xdotool(L"mousemove " + std::to_wstring(at.x + 1) + y + L" mousemove --sync " +
                   std::to_wstring(at.x) + y + L" mousedown 1 sleep 0.15 mouseup 1");
}

void SendButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void TypeKey(WORD key) {
    INPUT press[2]{};
    press[0].type = press[1].type = INPUT_KEYBOARD;
    press[0].ki.wVk = press[1].ki.wVk = key;
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, press, sizeof(INPUT));
}

void SetText(HWND dialog, int id, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

void Command(HWND main, MainCommand command) {
    PostMessageW(main, WM_COMMAND,
                 static_cast<WPARAM>(main_window::kFirstCommandId + static_cast<int>(command)), 0);
}

std::vector<DWORD> RunningOf(const std::vector<std::wstring>& exeNames) {
    std::vector<DWORD> found;
    unique_handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        for (const std::wstring& name : exeNames)
            if (_wcsicmp(entry.szExeFile, name.c_str()) == 0)
                found.push_back(entry.th32ProcessID);
    return found;
}

void EndAll(const std::vector<std::wstring>& exeNames) {
    for (DWORD id : RunningOf(exeNames)) {
        unique_handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process && TerminateProcess(process.get(), 1))
            WaitForSingleObject(process.get(), 5000);
    }
}

namespace {

// A text in the scenario text form: quoted, with backslashes and quotes escaped.
std::wstring Quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"')
            out += L'\\';
        out += c;
    }
    return out + L"\"";
}

bool RunScntool(const std::wstring& arguments) {
    auto scntool = Process::Start(VelmoraFolder() + L"\\tools\\scntool.exe", arguments);
    return scntool && scntool->WaitExit() == std::optional<DWORD>(0);
}

}  // namespace

std::wstring FixtureWizardPath() {
    return VelmoraFolder() + L"\\tests\\fixtures\\FixtureWizard.exe";
}

std::wstring NsisInstallerPath() {
    return VelmoraFolder() + L"\\tests\\fixtures\\FixtureProductSetup.exe";
}

std::wstring FinchInstallerPath() {
    return VelmoraFolder() + L"\\tests\\fixtures\\FinchSetup.exe";
}

std::string WhyNo32BitInstallers() {
    const char* why = std::getenv("VELMORA_NO_32BIT");
    return why ? why : "";
}

Click FixtureClick(std::vector<Link> below, int x, int y, std::optional<std::wstring> text) {
    below.insert(below.begin(), Link{L"VelmoraFixtureWizard", L"Fixture Setup", 1});
    return Click{below, x, y, std::move(text)};
}

std::vector<Click> WizardClicks(std::optional<std::wstring> text) {
    return {FixtureClick({{L"Button", L"Next >", 1}}),
            FixtureClick({{L"VelmoraFixturePage", L"Target folder", 1}, {L"Edit", L"", 1}}, 50, 10, text),
            FixtureClick({{L"Button", L"Next >", 1}}),
            FixtureClick({{L"VelmoraFixturePage", L"Ready", 1}}, 5, 5),  // comes after a moment
            FixtureClick({{L"Button", L"Next >", 1}}),
            FixtureClick({{L"Button", L"Install", 1}}),
            FixtureClick({{L"Button", L"Finish", 1}})};
}

std::vector<Click> NsisClicks(const std::wstring& target) {
    auto nsis = [](const std::wstring& caption, std::vector<Link> below, int x = 30, int y = 10,
                   std::optional<std::wstring> text = {}) {
        below.insert(below.begin(), Link{L"#32770", caption, 1});
        return Click{below, x, y, std::move(text)};
    };
    // The pages after the welcome page carry a blank after the product's caption.
    return {
        nsis(L"Fixture Product Setup", {{L"Button", L"&Next >", 1}}),
        nsis(L"Fixture Product Setup ", {{L"Button", L"I &Agree", 1}}),
        nsis(L"Fixture Product Setup ", {{L"#32770", L"", 1}, {L"Edit", L"", 1}}, 60, 8, target),
        nsis(L"Fixture Product Setup ", {{L"Button", L"&Install", 1}}),
        nsis(L"Fixture Product Setup ", {{L"Button", L"&Finish", 1}}),
    };
}

std::wstring BuildScenario(const std::wstring& folder, const std::wstring& name,
                           const std::vector<Click>& clicks, const std::wstring& installer,
                           const std::wstring& commandLine, const std::wstring& description) {
    std::wostringstream out;
    out << L"format 1\ncodepage 1252\nscreen 1280 1024\nversion 1 2\ndescription " << Quoted(description)
        << L"\n";
    int number = 0;
    for (const Click& click : clicks) {
        out << L"\nstep " << ++number << L"\n";
        for (const Link& link : click.chain)
            out << L"  window " << Quoted(link.className) << L" " << Quoted(link.caption) << L" "
                << link.matchIndex << L"\n";
        out << L"  event left press " << click.x << L" " << click.y << L"\n  event left release 0 0\n";
        if (click.text)
            out << L"  text " << Quoted(*click.text) << L"\n";
    }
    out << L"\ninstaller " << Quoted(installer) << L"\ncommandline " << Quoted(commandLine) << L"\n";
    const std::wstring scnPath = folder + L"\\" + name + L".SCN";
    const std::wstring textPath = scnPath + L".txt";
    const bool built = Win32FileSystem{}.ReplaceFile(WideToUtf8(textPath), WideToUtf8(out.str())) &&
                       RunScntool(L"build \"" + textPath + L"\" -o \"" + scnPath + L"\"");
    DeleteFileW(textPath.c_str());
    return built ? scnPath : L"";
}

std::wstring WaitingScenario(const std::wstring& folder, const std::wstring& name) {
    return BuildScenario(
        folder, name,
        {Click{{{L"VelmoraFixtureWizard", L"Fixture Update", 1}, {L"Button", L"Next >", 1}}, 20, 10, {}}},
        FixtureWizardPath(), L"\"" + folder + L"\\result.txt\"");
}

std::string DumpScenario(const std::wstring& scnPath) {
    const std::wstring textPath = scnPath + L".txt";
    const bool dumped = RunScntool(L"dump \"" + scnPath + L"\" -o \"" + textPath + L"\"");
    const std::string text = dumped ? ReadFile(textPath) : "";
    DeleteFileW(textPath.c_str());
    return text;
}

void ExpectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& prefixes) {
    std::size_t from = 0;
    for (const std::string& prefix : prefixes) {
        while (from < lines.size() && !lines[from].starts_with(prefix))
            ++from;
        EXPECT_LT(from++, lines.size()) << "no line \"" << prefix << "\" where it belongs";
    }
}

void E2eTest::SetUp() {
    RemoveProgramSettings();
    // The file type is registered by its own test; the others are not asked about it.
    WriteSetting(L"Install", L"Registry", L"1");
    WriteSetting(L"Path", L"FolderSCN", folder_.WidePath());
}

void E2eTest::TearDown() {
    EndAll({L"FixtureWizard.exe", L"FixtureProductSetup.exe"});
    RemoveProgramSettings();
}

std::wstring E2eTest::AddWizardPackage(const std::wstring& name, std::optional<std::wstring> text) {
    const std::wstring scn = BuildScenario(folder_.WidePath(), name, WizardClicks(std::move(text)),
                                           FixtureWizardPath(), L"\"" + Path(name + L".log") + L"\"");
    EXPECT_FALSE(scn.empty()) << "scntool could not build " << WideToUtf8(name);
    return scn;
}

HWND E2eTest::StartMain(const std::wstring& switches, std::size_t packages, const std::wstring& exe) {
    process_.reset();
    main_ = nullptr;
    std::optional<Process> started = exe.empty() ? StartVelmora(switches) : Process::Start(exe, switches);
    if (!started) {
        ADD_FAILURE() << "velmora.exe did not start: " << GetLastError();
        return nullptr;
    }
    process_.emplace(std::move(*started));
    main_ = WaitForOwn(main_window::kClassName);
    if (main_ == nullptr) {
        ADD_FAILURE() << "no main window; message box: "
                      << testing::PrintToString(MessageBoxText(
                             FindTopLevelWindow({.className = L"#32770", .processId = process_->Id()})));
        return nullptr;
    }
    // The list is filled before the window shows, so what a visible window lists is final: waiting for the
    // count instead would only pass on a list caught half-filled, or hide a wrong count for the deadline.
    const Items items = ListItems(GetDlgItem(main_, main_window::kPackageList));
    if (items.size() != packages) {
        ADD_FAILURE() << "the main window lists " << items.size() << " packages, not " << packages << ": "
                      << testing::PrintToString(items);
        main_ = nullptr;
    }
    return main_;
}

HWND E2eTest::WaitForOwn(const std::wstring& className, Deadline deadline) const {
    return WaitForWindow({.className = className, .processId = process_->Id()}, deadline);
}

std::wstring E2eTest::Answer(int button, const std::optional<std::wstring>& caption) const {
    HWND box = WaitForWindow({.className = L"#32770", .caption = caption, .processId = process_->Id()});
    if (box == nullptr)
        return L"no message box";
    const std::wstring text = MessageBoxText(box);
    EXPECT_TRUE(PressButton(box, button) && WaitUntil([&] { return !IsWindow(box); }));
    return text;
}

void E2eTest::CloseMain() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(process_->WaitExit(), std::optional<DWORD>(0));
}

}  // namespace velmora::e2e
