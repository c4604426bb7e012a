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

#include "platform/win32/Win32Registry.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

constexpr Deadline kRunDeadline{120000};

// A key pressed in the package list; the program's message loop turns F5 and Del into their commands.
void PressKey(HWND list, WPARAM key) {
    PostMessageW(list, WM_KEYDOWN, key, 1);
    PostMessageW(list, WM_KEYUP, key, 0xC0000001);
}

class MainWindowE2eTest : public E2eTest {
  protected:
    void SetUp() override {
        E2eTest::SetUp();
        WriteSetting(L"Install", L"Speed", L"0");
    }
    HWND List() const { return GetDlgItem(main_, main_window::kPackageList); }
};

TEST_F(MainWindowE2eTest, TickedPackagesInstallInListOrderAndTheWindowComesBackWithItsTicks) {
    for (const wchar_t* name : {L"Alpha", L"Beta", L"Gamma"})
        AddWizardPackage(name);
    std::ofstream(std::filesystem::path(Path(L"Position.lst")), std::ios::binary) << "Gamma\r\nAlpha\r\n";
    ASSERT_NE(StartMain(L"", 3), nullptr);
    HWND list = List();
    EXPECT_THAT(ListItems(list), ElementsAre(Key(L"Gamma"), Key(L"Alpha"), Key(L"Beta")));
    Tick(list, 2);
    Tick(list, 0);
    EXPECT_EQ(WindowText(GetDlgItem(main_, main_window::kCountLine)), L"2 of 3");
    SaveScreenshot(main_, L"main-window-ticked");

    PressKey(list, VK_F5);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); })) << "F5 did not hand the run over";
    HWND statistics = WaitForOwn(statistics_window::kClassName, kRunDeadline);
    ASSERT_NE(statistics, nullptr) << "no statistics after the run";
    // Two packages played to their end, in list order; Alpha, not ticked, did not run.
    EXPECT_THAT(
        ListBoxLines(GetDlgItem(statistics, statistics_window::kList)),
        ElementsAre(StartsWith(L"1   \u041E\u041A  Gamma"), StartsWith(L"2   \u041E\u041A  Beta"), _, _));
    // The window is back behind the statistics, with the ticks the run was started with.
    EXPECT_TRUE(IsWindowVisible(main_));
    ASSERT_TRUE(PressButton(statistics, statistics_window::kClose));
    EXPECT_EQ(ListItems(list), (Items{{L"Gamma", true}, {L"Alpha", false}, {L"Beta", true}}));
}

TEST_F(MainWindowE2eTest, DeleteAsksFirstMovedOrderIsKeptAndReloadFindsNewPackages) {
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
        AddWizardPackage(name);
    ASSERT_NE(StartMain(L"", 4), nullptr);
    HWND list = List();
    Tick(list, 1);
    Tick(list, 2);

    // No deletes nothing, Yes deletes the ticked packages' files and says how many went.
    PressKey(list, VK_DELETE);
    ASSERT_NE(Answer(IDNO), L"no message box") << "delete did not ask";
    PressKey(list, VK_DELETE);
    SaveScreenshot(WaitForOwn(L"#32770"), L"main-window-delete-question");
    Answer(IDYES);
    ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 2; }));
    EXPECT_THAT(WindowText(GetDlgItem(main_, main_window::kStatusLine)), HasSubstr(L"2 of 2"));

    // A package added by hand shows after a reload, at the end; the deleted ones' files are gone.
    AddWizardPackage(L"0-new");
    Command(main_, MainCommand::Reload);
    ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 3; }));
    EXPECT_THAT(ListItems(list), ElementsAre(Key(L"0-new"), Key(L"a"), Key(L"d")))
        << "without an order file the folder's order";

    // "a" moved down and the window closed: the order file keeps the new order.
    SetListItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_TRUE(PressButton(main_, main_window::kMoveDown));
    ASSERT_TRUE(WaitUntil(
        [&] { return testing::Value(ListItems(list), ElementsAre(Key(L"0-new"), Key(L"d"), Key(L"a"))); }));
    CloseMain();
    EXPECT_EQ(ReadFile(Path(L"Position.lst")), "0-new\r\nd\r\na\r\n");
}

// Twenty packages in both languages (Russian has no file: the built-in texts show) and the context menu, for
// a person to look at; then a language file chosen from the menu relabels the window at once and after a
// restart.
TEST_F(MainWindowE2eTest, TwentyPackagesInBothLanguagesAndAChosenLanguageRelabelsTheWindowAndStays) {
    AddWizardPackage(L"Package 01");
    for (int i = 2; i <= 20; ++i) {
        const std::wstring name = std::wstring(L"Package ") + (i < 10 ? L"0" : L"") + std::to_wstring(i);
        ASSERT_TRUE(CopyFileW(Path(L"Package 01.SCN").c_str(), Path(name + L".SCN").c_str(), TRUE));
    }
    // A second language file beside the program's English one, for this test only.
    struct LanguageFile {
        std::wstring path = VelmoraFolder() + L"\\language\\Tester.lng";
        LanguageFile() {
            std::ofstream(std::filesystem::path(path), std::ios::binary)
                << "[main]\r\n1=Tester folder\r\n[MainMenu]\r\n1=Tester file\r\n";
        }
        ~LanguageFile() { DeleteFileW(path.c_str()); }
    } file;
    for (const wchar_t* language : {L"Russian", L"English"}) {
        WriteSetting(L"Language", L"Language", language);
        ASSERT_NE(StartMain(L"", 20), nullptr);
        Tick(List(), 3);
        SaveScreenshot(main_, std::wstring(L"main-window-") + language);
        if (std::wstring(language) == L"Russian")
            CloseMain();
    }
    // The menu key opens the context menu at the current item.
    SetListItemState(List(), 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    PostMessageW(main_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(-1, -1));
    HWND menu = WaitForOwn(L"#32768");
    ASSERT_NE(menu, nullptr);
    SaveScreenshot(nullptr, L"main-window-context-menu");
    TypeKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));

    // The language menu lists English and Tester, in the folder's name order.
    HWND frame = GetDlgItem(main_, main_window::kFolderFrame);
    EXPECT_NE(WindowText(frame), L"Tester folder");
    PostMessageW(main_, WM_COMMAND, main_window::kFirstLanguageId + 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Tester folder"; }));
    SaveScreenshot(main_, L"main-window-tester-language");
    CloseMain();
    ASSERT_NE(StartMain(L"", 20), nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(main_, main_window::kFolderFrame)), L"Tester folder");
    CloseMain();
}

TEST_F(MainWindowE2eTest, FirstStartRegistersTheScenarioTypeWhoseInstallVerbPlaysAScenario) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".scn");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"velmora");
    RemoveProgramSettings();
    ASSERT_NE(StartMain(), nullptr);
    EXPECT_EQ(Win32Registry{}.GetString(RegistryRoot::ClassesRoot, ".scn", ""), "velmora");
    EXPECT_EQ(ReadSetting(L"Install", L"Registry"), std::optional<std::wstring>(L"1"));
    CloseMain();

    // The shell's "Install" verb of a scenario file plays it: the wizard installs and the run ends by itself.
    const std::wstring scn = AddWizardPackage(L"Verb");
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"Install";
    info.lpFile = scn.c_str();
    info.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_EQ(Process(info.hProcess).WaitExit(kRunDeadline), std::optional<DWORD>(0));
    EXPECT_FALSE(ReadFile(Path(L"Verb.log")).empty());
}

}  // namespace
}  // namespace velmora::e2e
