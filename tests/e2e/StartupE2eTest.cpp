// The program's start as a person sees it: its window, the refusal of a second instance, the command line
// and the language file.
#include <gtest/gtest.h>

#include "platform/win32/Win32FileSystem.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

class StartupE2eTest : public ::testing::Test {
  protected:
    void SetUp() override { RemoveProgramSettings(); }
    void TearDown() override { RemoveProgramSettings(); }

    // The started program's main window; fails the test, naming any message the program shows instead, when
    // none appears.
    static HWND WaitForMain(const std::optional<Process>& process) {
        if (!process) {
            ADD_FAILURE() << "velmora.exe did not start: " << GetLastError();
            return nullptr;
        }
        HWND main = WaitForWindow({.className = main_window::kClassName, .processId = process->Id()});
        if (main == nullptr) {
            ADD_FAILURE() << "no main window; message box: "
                          << testing::PrintToString(MessageBoxText(
                                 FindTopLevelWindow({.className = L"#32770", .processId = process->Id()})));
        }
        return main;
    }

    // Closes the main window as a person would and expects the program to end cleanly.
    static void CloseAndExpectExit(const Process& process, HWND main) {
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(process.WaitExit(), std::optional<DWORD>(0));
    }
};

TEST_F(StartupE2eTest, SecondStartIsRefusedWithAMessageWhileTheFirstKeepsRunning) {
    const auto first = StartVelmora();
    HWND main = WaitForMain(first);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main),
              L"Velmora Runwright (Build 1.2." + std::to_wstring(VELMORA_VERSION_BUILD) + L")");
    SaveScreenshot(main, L"startup-main-window");

    const auto second = StartVelmora();
    ASSERT_TRUE(second);
    HWND box = WaitForWindow({.className = L"#32770", .processId = second->Id()});
    ASSERT_NE(box, nullptr) << "the second instance showed no message";
    EXPECT_EQ(MessageBoxText(box), L"Velmora Runwright is started");
    EXPECT_EQ(WindowText(box), L"Velmora Runwright");
    SaveScreenshot(box, L"startup-second-instance");
    // The second instance opened nothing else: its message is all it shows.
    EXPECT_EQ(FindTopLevelWindow({.className = main_window::kClassName, .processId = second->Id()}), nullptr);
    ASSERT_TRUE(PressButton(box, IDOK));
    EXPECT_EQ(second->WaitExit(), std::optional<DWORD>(0));

    EXPECT_TRUE(first->Running());
    EXPECT_TRUE(IsWindowVisible(main));
    CloseAndExpectExit(*first, main);

    // Closing the window gave up the single-instance marker: a new start opens its window again.
    const auto third = StartVelmora();
    HWND again = WaitForMain(third);
    ASSERT_NE(again, nullptr);
    CloseAndExpectExit(*third, again);
}

TEST_F(StartupE2eTest, AddSwitchStoresTheUpperCasedFolderAndShowsTheSwitch) {
    TempFolder folder;
    ASSERT_TRUE(Win32FileSystem{}.ReplaceFile(folder.Path() + "\\one.scn", "scenario"));
    const auto process = StartVelmora(L"/add \"" + folder.WidePath() + L"\\one.scn\"");
    HWND main = WaitForMain(process);
    ASSERT_NE(main, nullptr);

    std::wstring upper = folder.WidePath();
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_EQ(ReadSetting(L"Path", L"FolderSCN"), std::optional<std::wstring>(upper));
    HWND label = GetDlgItem(main, main_window::kSwitchesLine);
    EXPECT_EQ(WindowText(label), L"/add");
    EXPECT_TRUE(IsWindowVisible(label));
    SaveScreenshot(main, L"startup-add-switch");
    CloseAndExpectExit(*process, main);
}

TEST_F(StartupE2eTest, SpeedSwitchStoresTheSpeedAndAPlainStartHidesTheSwitchLabel) {
    const auto process = StartVelmora(L"/SPEED=1");
    HWND main = WaitForMain(process);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadSetting(L"Install", L"Speed"), std::optional<std::wstring>(L"1"));
    EXPECT_EQ(WindowText(GetDlgItem(main, main_window::kSwitchesLine)), L" /speed");
    CloseAndExpectExit(*process, main);

    const auto plain = StartVelmora();
    main = WaitForMain(plain);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(main, main_window::kSwitchesLine)));
    CloseAndExpectExit(*plain, main);
}

TEST_F(StartupE2eTest, ShippedEnglishLanguageFileIsFoundAndAMissingOneIsReported) {
    const LANGID lang = GetUserDefaultLangID();
    ASSERT_TRUE(lang != 1031 && lang != 1049 && lang != 1058 && lang != 1059)
        << "this test needs a user language that maps to English, not " << lang;
    // The user's language here is English and language\English.lng ships beside the program: no message.
    const auto process = StartVelmora();
    HWND main = WaitForMain(process);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(FindTopLevelWindow({.className = L"#32770", .processId = process->Id()}), nullptr);
    CloseAndExpectExit(*process, main);

    // A chosen language without its file is reported, naming the file, before the window opens.
    ASSERT_TRUE(WriteSetting(L"Language", L"Language", L"Klingon"));
    const auto missing = StartVelmora();
    ASSERT_TRUE(missing);
    HWND box = WaitForWindow({.className = L"#32770", .processId = missing->Id()});
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"Отсутствует файл перевода " + VelmoraFolder() + L"\\language\\Klingon.lng");
    SaveScreenshot(box, L"startup-missing-language");
    ASSERT_TRUE(PressButton(box, IDOK));
    main = WaitForMain(missing);
    ASSERT_NE(main, nullptr);
    CloseAndExpectExit(*missing, main);
}

}  // namespace
}  // namespace velmora::e2e
