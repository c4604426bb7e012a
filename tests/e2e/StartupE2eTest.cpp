// The program's start as a person sees it: its window, the refusal of a second instance, the command line
// and the language file; and a start where no person could see it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/Win32FileSystem.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

using StartupE2eTest = E2eTest;

TEST_F(StartupE2eTest, SecondStartIsRefusedWhileTheFirstRunsAndTheSwitchesAreStoredAndShown) {
    const LANGID lang = GetUserDefaultLangID();
    ASSERT_TRUE(lang != 1031 && lang != 1049 && lang != 1058 && lang != 1059)
        << "this test needs a user language that maps to English, not " << lang;
    // The user's language here is English and language\English.lng ships beside the program: no message, and
    // a start without switches shows none.
    ASSERT_NE(StartMain(), nullptr);
    EXPECT_EQ(WindowText(main_),
              L"Velmora Runwright (Build 1.2." + std::to_wstring(VELMORA_VERSION_BUILD) + L")");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(main_, main_window::kSwitchesLine)));
    SaveScreenshot(main_, L"startup-main-window");

    const auto second = StartVelmora();
    ASSERT_TRUE(second);
    HWND box = WaitForWindow({.className = L"#32770", .processId = second->Id()});
    ASSERT_NE(box, nullptr) << "the second instance showed no message";
    EXPECT_EQ(WindowText(box), L"Velmora Runwright");
    SaveScreenshot(box, L"startup-second-instance");
    // The second instance opened nothing else: its message is all it shows.
    EXPECT_EQ(FindTopLevelWindow({.className = main_window::kClassName, .processId = second->Id()}), nullptr);
    ASSERT_TRUE(PressButton(box, IDOK));
    EXPECT_EQ(second->WaitExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(process_->Running());
    EXPECT_TRUE(IsWindowVisible(main_));
    CloseMain();

    // Closing the window gave up the single-instance marker: a new start opens its window again, storing the
    // speed and the upper-cased folder of /add and showing both switches.
    ASSERT_TRUE(Win32FileSystem{}.ReplaceFile(folder_.Path() + "\\one.scn", "scenario"));
    ASSERT_NE(StartMain(L"/SPEED=1 /add \"" + Path(L"one.scn") + L"\"", 1), nullptr);
    std::wstring upper = folder_.WidePath();
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_EQ(ReadSetting(L"Path", L"FolderSCN"), std::optional<std::wstring>(upper));
    EXPECT_EQ(ReadSetting(L"Install", L"Speed"), std::optional<std::wstring>(L"1"));
    HWND label = GetDlgItem(main_, main_window::kSwitchesLine);
    EXPECT_EQ(WindowText(label), L" /speed/add");
    EXPECT_TRUE(IsWindowVisible(label));
    SaveScreenshot(main_, L"startup-add-switch");
    CloseMain();
}

TEST_F(StartupE2eTest, AChosenLanguageWithoutItsFileIsReportedBeforeTheWindowOpens) {
    ASSERT_TRUE(WriteSetting(L"Language", L"Language", L"Klingon"));
    std::optional<Process> started = StartVelmora();
    ASSERT_TRUE(started);
    process_.emplace(std::move(*started));
    SaveScreenshot(WaitForOwn(L"#32770"), L"startup-missing-language");
    EXPECT_EQ(Answer(IDOK), L"Отсутствует файл перевода " + VelmoraFolder() + L"\\language\\Klingon.lng");
    main_ = WaitForOwn(main_window::kClassName);
    ASSERT_NE(main_, nullptr);
    CloseMain();
}

// A fleet tool's start on a window station that no screen shows, which Wine makes as Windows does for a
// service: the run plays nothing, shows nothing that would wait for a click, and says why in its report.
TEST_F(StartupE2eTest, ARunWhereNoClickCanLandPlaysNothingAndEndsAtOnceWithItsOwnExitCode) {
    const std::wstring scn = AddWizardPackage(L"A");
    const std::wstring report = Path(L"report.txt");
    const auto run =
        Process::Start(VelmoraFolder() + L"\\velmora.exe", L"/LOG=\"" + report + L"\" /inst \"" + scn + L"\"",
                       L"VelmoraHidden\\Default");
    ASSERT_TRUE(run);
    const std::optional<DWORD> code = run->WaitExit(Deadline{20000});
    ASSERT_TRUE(code) << "the run waits for something";
    EXPECT_EQ(*code, 4u);
    EXPECT_FALSE(std::filesystem::exists(Path(L"A.log"))) << "the package was played";
    EXPECT_THAT(ReadFile(report),
                AllOf(HasSubstr("\r\n\r\nResult: failed: no desktop where a click can land: the program's "
                                "window station does not show on a screen\r\n"),
                      Not(HasSubstr("#package")), EndsWith("#end 4\r\n")));
}

}  // namespace
}  // namespace velmora::e2e
