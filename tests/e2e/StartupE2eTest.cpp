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
// service: a run held to the mouse plays nothing, shows nothing that would wait for a click, and says why in
// its report.
TEST_F(StartupE2eTest, ARunHeldToTheMouseWhereNoClickCanLandPlaysNothingAndEndsAtOnceWithItsOwnExitCode) {
    const std::wstring scn = AddWizardPackage(L"A");
    ASSERT_TRUE(WriteSetting(L"Install", L"Input", L"MOUSE"));
    const std::wstring report = Path(L"report.txt");
    const auto run = Process::Start(VelmoraFolder() + L"\\velmora.exe",
                                    L"/INPUT=MOUSE /LOG=\"" + report + L"\" /inst \"" + scn + L"\"",
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

// A direct run that another instance holds off shows no message that nobody would close: its report says why
// and it ends at once with its own exit code. The semaphore "Velmora" of older builds, which any program of
// the user can make as this test does, holds nothing off.
TEST_F(StartupE2eTest, ADirectRunIsHeldOffOnlyByARunningInstanceAndThenSaysSoInItsReportAndEnds) {
    const std::wstring scn = AddWizardPackage(L"A");
    unique_handle squatter(CreateSemaphoreW(nullptr, 0, 1, L"Velmora"));
    ASSERT_TRUE(squatter);
    const auto played = StartVelmora(L"/nostat /inst \"" + scn + L"\"");
    ASSERT_TRUE(played);
    EXPECT_EQ(played->WaitExit(Deadline{90000}), std::optional<DWORD>(0));
    EXPECT_TRUE(std::filesystem::exists(Path(L"A.log"))) << "the package was not played";

    ASSERT_NE(StartMain(L"", 1), nullptr);  // on the folder of the package it played
    const std::wstring report = Path(L"report.txt");
    const auto held = StartVelmora(L"/LOG=\"" + report + L"\" /nostat /inst \"" + scn + L"\"");
    ASSERT_TRUE(held);
    EXPECT_EQ(held->WaitExit(Deadline{20000}), std::optional<DWORD>(6)) << "it waits for something";
    EXPECT_THAT(ReadFile(report),
                AllOf(HasSubstr("\r\n\r\nResult: failed: another instance of the program is "
                                "running; this one played nothing\r\n"),
                      Not(HasSubstr("#package")), EndsWith("#end 6\r\n")));
    EXPECT_TRUE(IsWindowVisible(main_));
    CloseMain();
}

// Wine's load order of the DLLs a program of this name imports: "native,builtin" takes a DLL from the
// program's folder first, as Windows' search order does. Wine reads WINEDLLOVERRIDES only from the Unix
// environment it was started with, not from the environment a Windows process hands its child, so the test
// sets the same thing where Wine also looks, per program name.
struct NativeFirst {
    NativeFirst(std::vector<std::wstring> names, const std::vector<std::wstring>& dlls) : programs(names) {
        for (const std::wstring& program : programs) {
            for (const std::wstring& dll : dlls)
                RegSetKeyValueW(HKEY_CURRENT_USER, (kAppDefaults + program + L"\\DllOverrides").c_str(),
                                dll.c_str(), REG_SZ, L"native,builtin", sizeof L"native,builtin");
        }
    }
    ~NativeFirst() {
        for (const std::wstring& program : programs)
            RegDeleteTreeW(HKEY_CURRENT_USER, (kAppDefaults + program).c_str());
    }
    static constexpr const wchar_t* kAppDefaults = L"Software\\Wine\\AppDefaults\\";
    std::vector<std::wstring> programs;
};

// The program runs elevated from Downloads folders and shares, where anyone may put a DLL. Copies of a DLL
// that marks its loading lie beside a copy of the program, named like DLLs it uses, and Wine loads a DLL from
// the program's folder first; a program of the test's own that imports wtsapi32 at load time shows that it
// does. The program plays a package and loads none of them. Not shcore: Wine's own shlwapi imports it and
// takes it from the program's folder before the program runs, where Windows maps both from its KnownDLLs.
TEST_F(StartupE2eTest, DllsNamedLikeTheSystemsBesideTheProgramAreNotLoaded) {
    const std::wstring scn = AddWizardPackage(L"A");
    const std::filesystem::path downloads = std::filesystem::path(folder_.WidePath()) / L"Downloads";
    const std::filesystem::path build = std::filesystem::path(VelmoraFolder());
    std::filesystem::create_directory(downloads);
    std::filesystem::copy_file(build / L"velmora.exe", downloads / L"velmora.exe");
    std::filesystem::copy_file(build / L"tests\\e2e\\PlantedDllProbe.exe", downloads / L"probe.exe");
    // comctl32 too, which the program's manifest takes from the side-by-side store.
    const std::vector<std::wstring> names{L"wtsapi32", L"comctl32"};
    for (const std::wstring& name : names)
        std::filesystem::copy_file(build / L"tests\\e2e\\PlantedDll.dll", downloads / (name + L".dll"));
    const auto loaded = [&] {
        std::vector<std::wstring> marks;
        for (const std::wstring& name : names) {
            if (std::filesystem::exists(downloads / (name + L".loaded")))
                marks.push_back(name);
        }
        return marks;
    };
    const NativeFirst order({L"probe.exe", L"velmora.exe"}, names);
    const auto probe = Process::Start((downloads / L"probe.exe").wstring(), L"");
    ASSERT_TRUE(probe && probe->WaitExit());
    ASSERT_EQ(loaded(), std::vector<std::wstring>{L"wtsapi32"})
        << "Wine loads no DLL from a program's folder here: the test would prove nothing";
    for (const std::wstring& name : names)
        std::filesystem::remove(downloads / (name + L".loaded"));

    const auto run =
        Process::Start((downloads / L"velmora.exe").wstring(), L"/nostat /inst \"" + scn + L"\"");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->WaitExit(Deadline{90000}), std::optional<DWORD>(0));
    EXPECT_TRUE(std::filesystem::exists(Path(L"A.log"))) << "the package was not played";
    EXPECT_THAT(loaded(), IsEmpty());
}

}  // namespace
}  // namespace velmora::e2e
