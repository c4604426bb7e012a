// The main window as an administrator uses it: a folder of packages in the order of its "Position.lst",
// ticked and installed with F5, deleted, moved and reloaded, re-labelled by a language file, and the ".scn"
// file type registered on the first start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/win32/WideText.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

constexpr Deadline kRunDeadline{120000};

std::vector<std::wstring> Names(const std::vector<std::pair<std::wstring, bool>>& items) {
    std::vector<std::wstring> names;
    for (const auto& item : items)
        names.push_back(item.first);
    return names;
}

// A key pressed in the package list; the program's message loop turns F5 and Del into their commands.
void PressKey(HWND list, WPARAM key) {
    PostMessageW(list, WM_KEYDOWN, key, 1);
    PostMessageW(list, WM_KEYUP, key, 0xC0000001);
}

class MainWindowE2eTest : public testing::Test {
  protected:
    void SetUp() override {
        RemoveProgramSettings();
        // The file type is registered by its own test; the others are not asked about it.
        WriteSetting(L"Install", L"Registry", L"1");
        WriteSetting(L"Install", L"Speed", L"0");
        WriteSetting(L"Path", L"FolderSCN", folder_.WidePath());
    }

    // A package that installs the fixture wizard; its result file is <name>.log in the folder.
    void AddPackage(const std::wstring& name) {
        const std::wstring wizard = VelmoraFolder() + L"\\tests\\fixtures\\FixtureWizard.exe";
        ASSERT_TRUE(
            BuildScenarioFile(FixtureWizardScenario(wizard, Path(name + L".log")), Path(name + L".SCN")))
            << "scntool failed";
    }

    std::wstring Path(const std::wstring& name) const { return folder_.WidePath() + L"\\" + name; }

    // Starts the program and waits for its main window with a filled list.
    HWND Open(std::optional<Process>& process, std::size_t packages) {
        process.reset();
        std::optional<Process> started = StartVelmora();
        if (!started)
            return nullptr;
        process.emplace(std::move(*started));
        HWND main = WaitForWindow({.className = main_window::kClassName, .processId = process->Id()});
        if (main != nullptr)
            WaitUntil([&] { return ListItems(List(main)).size() == packages; });
        return main;
    }

    static HWND List(HWND main) { return GetDlgItem(main, main_window::kPackageList); }

    TempFolder folder_;
};

TEST_F(MainWindowE2eTest, TickedPackagesInstallInListOrderAndTheWindowComesBackWithItsTicks) {
    for (const wchar_t* name : {L"Alpha", L"Beta", L"Gamma"})
        AddPackage(name);
    std::ofstream(std::filesystem::path(Path(L"Position.lst")), std::ios::binary) << "Gamma\r\nAlpha\r\n";
    std::optional<Process> process;
    HWND main = Open(process, 3);
    ASSERT_NE(main, nullptr);
    HWND list = List(main);
    EXPECT_EQ(Names(ListItems(list)), (std::vector<std::wstring>{L"Gamma", L"Alpha", L"Beta"}));
    Tick(list, 2);
    Tick(list, 0);
    EXPECT_EQ(WindowText(GetDlgItem(main, main_window::kCountLine)), L"2 of 3");
    SaveScreenshot(main, L"main-window-ticked");

    PressKey(list, VK_F5);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << "F5 did not hand the run over";
    HWND statistics =
        WaitForWindow({.className = statistics_window::kClassName, .processId = process->Id()}, kRunDeadline);
    ASSERT_NE(statistics, nullptr) << "no statistics after the run";
    const std::vector<std::wstring> lines = ListBoxLines(GetDlgItem(statistics, statistics_window::kList));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind(L"1   \u041E\u041A  Gamma", 0), 0u) << WideToUtf8(lines[0]);
    EXPECT_EQ(lines[1].rfind(L"2   \u041E\u041A  Beta", 0), 0u) << WideToUtf8(lines[1]);
    EXPECT_FALSE(ReadFile(Path(L"Gamma.log")).empty());
    EXPECT_FALSE(ReadFile(Path(L"Beta.log")).empty());
    EXPECT_FALSE(std::filesystem::exists(Path(L"Alpha.log")));
    // The window is back behind the statistics, with the ticks the run was started with.
    EXPECT_TRUE(IsWindowVisible(main));
    ASSERT_TRUE(PressButton(statistics, statistics_window::kClose));
    EXPECT_EQ(ListItems(list), (std::vector<std::pair<std::wstring, bool>>{
                                   {L"Gamma", true}, {L"Alpha", false}, {L"Beta", true}}));
}

TEST_F(MainWindowE2eTest, DeleteAsksFirstMovedOrderIsKeptAndReloadFindsNewPackages) {
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
        AddPackage(name);
    std::optional<Process> process;
    HWND main = Open(process, 4);
    ASSERT_NE(main, nullptr);
    HWND list = List(main);
    Tick(list, 1);
    Tick(list, 2);

    // No deletes nothing, Yes deletes the ticked packages' files and says how many went.
    for (const int answer : {IDNO, IDYES}) {
        PressKey(list, VK_DELETE);
        HWND question = WaitForWindow({.className = L"#32770", .processId = process->Id()});
        ASSERT_NE(question, nullptr) << "delete did not ask";
        if (answer == IDYES)
            SaveScreenshot(question, L"main-window-delete-question");
        ASSERT_TRUE(PressButton(question, answer));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    }
    ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 2; }));
    EXPECT_FALSE(std::filesystem::exists(Path(L"b.SCN")));
    EXPECT_FALSE(std::filesystem::exists(Path(L"c.SCN")));
    EXPECT_NE(WindowText(GetDlgItem(main, main_window::kStatusLine)).find(L"2 of 2"), std::wstring::npos)
        << WideToUtf8(WindowText(GetDlgItem(main, main_window::kStatusLine)));

    // A package added by hand shows after a reload, at the end.
    AddPackage(L"0-new");
    Command(main, MainCommand::Reload);
    ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 3; }));
    EXPECT_EQ(Names(ListItems(list)), (std::vector<std::wstring>{L"0-new", L"a", L"d"}))
        << "without an order file the folder's order";

    // "a" moved down and the window closed: the order file keeps the new order.
    SetListItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_TRUE(PressButton(main, main_window::kMoveDown));
    ASSERT_TRUE(WaitUntil([&] {
        return Names(ListItems(list)) == std::vector<std::wstring>{L"0-new", L"d", L"a"};
    }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(process->WaitExit(), std::optional<DWORD>(0));
    EXPECT_EQ(ReadFile(Path(L"Position.lst")), "0-new\r\nd\r\na\r\n");
}

TEST_F(MainWindowE2eTest, ChosenLanguageRelabelsTheWindowAtOnceAndAfterARestart) {
    AddPackage(L"one");
    // A second language file beside the program's English one, for this test only.
    struct LanguageFile {
        std::wstring path = VelmoraFolder() + L"\\language\\Tester.lng";
        LanguageFile() {
            std::ofstream(std::filesystem::path(path), std::ios::binary)
                << "[main]\r\n1=Tester folder\r\n[MainMenu]\r\n1=Tester file\r\n";
        }
        ~LanguageFile() { DeleteFileW(path.c_str()); }
    } file;
    std::optional<Process> process;
    HWND main = Open(process, 1);
    ASSERT_NE(main, nullptr);
    HWND frame = GetDlgItem(main, main_window::kFolderFrame);
    EXPECT_NE(WindowText(frame), L"Tester folder");
    // The language menu lists English and Tester, in the folder's name order.
    PostMessageW(main, WM_COMMAND, main_window::kFirstLanguageId + 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Tester folder"; }));
    SaveScreenshot(main, L"main-window-tester-language");
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(process->WaitExit());

    main = Open(process, 1);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(main, main_window::kFolderFrame)), L"Tester folder");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process->WaitExit());
}

TEST_F(MainWindowE2eTest, FirstStartRegistersTheScenarioTypeWhoseInstallVerbPlaysAScenario) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".scn");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"velmora");
    RemoveProgramSettings();
    std::optional<Process> process;
    HWND main = Open(process, 0);
    ASSERT_NE(main, nullptr);
    std::wstring progId(64, L'\0');
    DWORD size = static_cast<DWORD>(progId.size() * sizeof(wchar_t));
    ASSERT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, L".scn", nullptr, RRF_RT_REG_SZ, nullptr, progId.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(progId.c_str()), L"velmora");
    EXPECT_EQ(ReadSetting(L"Install", L"Registry"), std::optional<std::wstring>(L"1"));
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(process->WaitExit());

    // The shell's "Install" verb of a scenario file plays it: the wizard installs and the run ends by itself.
    AddPackage(L"Verb");
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"Install";
    const std::wstring scn = Path(L"Verb.SCN");
    info.lpFile = scn.c_str();
    info.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&info));
    unique_handle run(info.hProcess);
    ASSERT_EQ(WaitForSingleObject(run.get(), static_cast<DWORD>(kRunDeadline.count())), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(run.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(ReadFile(Path(L"Verb.log")).empty());
}

TEST_F(MainWindowE2eTest, ScreenshotsOfTwentyPackagesInBothLanguagesAndOfTheContextMenu) {
    AddPackage(L"Package 01");
    for (int i = 2; i <= 20; ++i) {
        const std::wstring name = std::wstring(L"Package ") + (i < 10 ? L"0" : L"") + std::to_wstring(i);
        ASSERT_TRUE(CopyFileW(Path(L"Package 01.SCN").c_str(), Path(name + L".SCN").c_str(), TRUE));
    }
    // Russian has no file: the built-in texts show.
    for (const wchar_t* language : {L"Russian", L"English"}) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Velmora\\Language",
                        L"Language", REG_SZ, language,
                        static_cast<DWORD>((wcslen(language) + 1) * sizeof(wchar_t)));
        std::optional<Process> process;
        HWND main = Open(process, 20);
        ASSERT_NE(main, nullptr);
        Tick(List(main), 3);
        SaveScreenshot(main, std::wstring(L"main-window-") + language);
        if (std::wstring(language) == L"English") {
            // The menu key opens the context menu at the current item.
            SetListItemState(List(main), 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            PostMessageW(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(main)), MAKELPARAM(-1, -1));
            ASSERT_NE(WaitForWindow({.className = L"#32768", .processId = process->Id()}), nullptr);
            SaveScreenshot(nullptr, L"main-window-context-menu");
            INPUT escape[2]{};
            escape[0].type = escape[1].type = INPUT_KEYBOARD;
            escape[0].ki.wVk = escape[1].ki.wVk = VK_ESCAPE;
            escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, escape, sizeof(INPUT));
        }
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(process->WaitExit());
    }
}

}  // namespace
}  // namespace velmora::e2e
