// The package dialog as an administrator uses it on a folder of packages: a new package's dialog, and a
// package's properties renamed, described and pointed at an installer that is not there yet, where a name
// that another package has is refused without touching either file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "packages/win32/PackageDialogIds.h"
#include "platform/win32/WideText.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

using namespace package_dialog;

std::string ReadFile(const std::wstring& path) {
    std::ifstream file{std::filesystem::path(path), std::ios::binary};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool RunScntool(const std::wstring& arguments) {
    auto scntool = Process::Start(VelmoraFolder() + L"\\tools\\scntool.exe", arguments);
    return scntool && scntool->WaitExit() == std::optional<DWORD>(0);
}

void SetBox(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

class PackageDialogE2eTest : public testing::Test {
  protected:
    void SetUp() override {
        RemoveProgramSettings();
        WriteSetting(L"Install", L"Registry", L"1");
        WriteSetting(L"Path", L"FolderSCN", folder_.WidePath());
    }
    std::wstring Path(const std::wstring& name) const { return folder_.WidePath() + L"\\" + name; }

    // A one-step package that starts the fixture wizard with the command line "/S".
    void AddPackage(const std::wstring& name, const std::string& description) {
        std::string wizard;
        for (char c : WideToUtf8(VelmoraFolder() + L"\\tests\\fixtures\\FixtureWizard.exe"))
            wizard += c == '\\' ? std::string("\\\\") : std::string(1, c);
        std::ofstream(std::filesystem::path(Path(name + L".txt")), std::ios::binary)
            << "format 1\ncodepage 1252\ndescription \"" << description
            << "\"\nstep 1\n  window \"VelmoraFixtureWizard\" \"Fixture Setup\" 1\n  event left press 5 5\n"
               "  event left release 0 0\ninstaller \""
            << wizard << "\"\ncommandline \"/S\"\n";
        ASSERT_TRUE(
            RunScntool(L"build \"" + Path(name + L".txt") + L"\" -o \"" + Path(name + L".SCN") + L"\""));
    }
    // Waits for the program's message box, answers it with the button and hands back its text.
    std::wstring Answer(int button) {
        HWND box = WaitForWindow({.className = L"#32770", .processId = process_->Id()});
        if (box == nullptr)
            return L"no message";
        const std::wstring text = MessageBoxText(box);
        PressButton(box, button);
        WaitUntil([&] { return !IsWindow(box); });
        return text;
    }
    HWND WaitForDialog() { return WaitForWindow({.className = kClassName, .processId = process_->Id()}); }

    TempFolder folder_;
    std::optional<Process> process_;
};

TEST_F(PackageDialogE2eTest, PropertiesRenameAndDescribeAPackageRefuseATakenNameAndKeepAFuturePath) {
    AddPackage(L"Alpha", "first words");
    AddPackage(L"Beta", "other package");
    const std::string alpha = ReadFile(Path(L"Alpha.SCN"));
    const std::string beta = ReadFile(Path(L"Beta.SCN"));
    std::optional<Process> started = StartVelmora();
    ASSERT_TRUE(started);
    process_.emplace(std::move(*started));
    HWND main = WaitForWindow({.className = main_window::kClassName, .processId = process_->Id()});
    ASSERT_NE(main, nullptr);

    Command(main, MainCommand::NewPackage);
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no dialog for a new package";
    EXPECT_EQ(WindowText(dialog), L"New package");
    SetBox(dialog, kName, L"Office 2026");
    SaveScreenshot(dialog, L"package-dialog-new");
    PressButton(dialog, kCancel);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && IsWindowEnabled(main); }));

    // A person's right click on the first package opens its menu; Escape closes it, and Edit → Properties
    // opens the package last clicked.
    SetForegroundWindow(main);
    RECT list{};
    GetWindowRect(GetDlgItem(main, main_window::kPackageList), &list);
    SetCursorPos(list.left + 40, list.top + 8);
    auto input = [](DWORD mouse, WORD key) {
        INPUT press[2]{};
        for (INPUT& i : press) {
            i.type = mouse ? INPUT_MOUSE : INPUT_KEYBOARD;
            i.mi.dwFlags = mouse;
            i.ki.wVk = key;
        }
        if (mouse)
            press[1].mi.dwFlags = mouse << 1;  // the button's release
        else
            press[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, press, sizeof(INPUT));
    };
    input(MOUSEEVENTF_RIGHTDOWN, 0);
    HWND menu = WaitForWindow({.className = L"#32768", .processId = process_->Id()});
    ASSERT_NE(menu, nullptr) << "no context menu";
    input(0, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    Command(main, MainCommand::Properties);
    dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no properties dialog";
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kName)), L"Alpha");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kCommandLine)), L"/S");
    SaveScreenshot(dialog, L"package-dialog-properties");

    SetBox(dialog, kName, L"Beta");
    PressButton(dialog, kOk);
    EXPECT_EQ(Answer(IDOK), L"A package named 'Beta' already exists. Choose another name.");
    EXPECT_EQ(ReadFile(Path(L"Alpha.SCN")), alpha);
    EXPECT_EQ(ReadFile(Path(L"Beta.SCN")), beta);

    SetBox(dialog, kName, L"Renamed");
    SetBox(dialog, kDescription, L"changed words");
    SetBox(dialog, kPath, L"C:\\Later\\setup.exe");
    PressButton(dialog, kOk);
    EXPECT_EQ(Answer(IDYES).rfind(L"The file you gave was not found.", 0), 0u);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_FALSE(std::filesystem::exists(Path(L"Alpha.SCN")));
    EXPECT_EQ(ReadFile(Path(L"Beta.SCN")), beta);
    ASSERT_TRUE(RunScntool(L"dump \"" + Path(L"Renamed.SCN") + L"\" -o \"" + Path(L"Renamed.txt") + L"\""));
    const std::string dump = ReadFile(Path(L"Renamed.txt"));
    for (const char* line : {"description \"changed words\"", "installer \"C:\\\\Later\\\\setup.exe\"",
                             "commandline \"/S\"", "event left press 5 5"})
        EXPECT_NE(dump.find(line), std::string::npos) << line << "\n" << dump;
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process_->WaitExit());
}

}  // namespace
}  // namespace velmora::e2e
