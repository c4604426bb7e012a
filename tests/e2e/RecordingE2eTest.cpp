// Recording a package as an administrator does: the package dialog, the recording hint, real mouse and
// keyboard input through the X display into the fixture wizard, a pause to take the typed folder, and the
// stop that saves the package; the package then replays to the same result.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "packages/win32/PackageDialogIds.h"
#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanelIds.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "tests/e2e/E2eSupport.h"
#include "ui/win32/NoticeWindowIds.h"

namespace velmora::e2e {
namespace {

constexpr Deadline kRunDeadline{120000};
constexpr int kFixtureNext = 1002;  // the wizard's Next button; its caption changes with the page
constexpr int kFixtureFolder = 201;
constexpr int kFixtureSecondComponent = 204;

// What a person did, as the wizard's log tells it: pages, clicks and presses on the page itself (the drag).
// Presses on controls are left out: two quick clicks on one button arrive as a double click, which the wizard
// logs as a click only, and a text step presses its field once more.
std::vector<std::string> Session(const std::string& log) {
    std::vector<std::string> session;
    for (const std::string& line : Lines(log))
        for (const char* kind : {"page ", "click ", "press background", "finished"})
            if (line.starts_with(kind))
                session.push_back(line);
    return session;
}

std::string LastText(const std::string& log, int control) {
    const std::string mark = "text " + std::to_string(control) + " ";
    const std::size_t at = log.rfind(mark);
    return at == std::string::npos ? "" : log.substr(at + mark.size(), log.find('\r', at) - at - mark.size());
}

class RecordingE2eTest : public E2eTest {
  protected:
    void SetUp() override {
        E2eTest::SetUp();
        WriteSetting(L"Install", L"Speed", L"0");
    }

    // Opens the program (the build's, unless another is named), asks for a new package with Ctrl+N and
    // fills the dialog; after OK and the recording hint, the control panel records. Returns the panel.
    HWND StartRecording(const std::wstring& name, const std::wstring& installer,
                        const std::wstring& arguments, const std::wstring& exe = L"") {
        if (StartMain(L"", 0, exe) == nullptr)
            return nullptr;
        // A click on the empty list gives the window the keyboard, as a person's would.
        RECT list{};
        GetWindowRect(GetDlgItem(main_, main_window::kPackageList), &list);
        Xdotool(L"mousemove --sync " + std::to_wstring(list.left + 40) + L" " +
                std::to_wstring(list.bottom - 20) + L" click 1 sleep 0.5 key ctrl+n");
        HWND dialog = WaitForWindow({.className = package_dialog::kClassName, .processId = process_->Id()});
        if (dialog == nullptr)
            return nullptr;
        SetText(dialog, package_dialog::kName, name);
        SetText(dialog, package_dialog::kPath, installer);
        SetText(dialog, package_dialog::kCommandLine, arguments);
        SetText(dialog, package_dialog::kDescription, L"Recorded");
        SaveScreenshot(dialog, L"recording-new-package");
        ClickAt(Centre(GetDlgItem(dialog, IDOK)));
        HWND hint = WaitForWindow({.className = notice_window::kClassName, .processId = process_->Id()});
        if (hint == nullptr)
            return nullptr;
        SaveScreenshot(hint, L"recording-hint");
        ClickAt(Centre(GetDlgItem(hint, notice_window::kClose)));
        return WaitForWindow({.className = panel_window::kClassName, .processId = process_->Id()});
    }

    // Clicks the control and waits for the wizard to log the click's line.
    bool ClickAndSee(HWND control, const std::string& line) {
        ClickAt(Centre(control));
        return WaitUntil([&] { return ReadFile(log_).find(line) != std::string::npos; }, Deadline{15000});
    }

    // Types the text into the field as a person does, then takes it with a pause (showing it in the options
    // area, where the screenshot catches it) and goes on recording. Without a window manager, Wine may have
    // left the X keyboard focus on another program's window when an installer swapped its windows: the window
    // under the pointer, just clicked, is given it, as a click-to-focus window manager would.
    void TypeAndTake(HWND panel, HWND field, const std::wstring& text, const wchar_t* screenshot = nullptr) {
        ClickAt(Centre(field));
        Xdotool(
            L"windowfocus --sync $(xdotool getmouselocation --shell | sed -n s/WINDOW=//p) key Home "
            L"shift+End type --delay 30 '" +
            text + L"'");
        ASSERT_TRUE(WaitUntil([&] { return WindowText(field) == text; }));
        ClickAt(Centre(GetDlgItem(panel, panel_window::kPause)));
        HWND captured = GetDlgItem(panel, panel_window::kCapturedText);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(captured) && WindowText(captured) == text; }));
        if (screenshot != nullptr)
            SaveScreenshot(panel, screenshot);
        ClickAt(Centre(GetDlgItem(panel, panel_window::kPlay)));
        ASSERT_TRUE(
            WaitUntil([&] { return IsWindowVisible(GetDlgItem(panel, panel_window::kPause)) != FALSE; }));
    }

    // The visible window of the class (and caption) at any depth below the installer's window, once it is
    // there.
    HWND Visible(const wchar_t* className, std::optional<std::wstring> caption = std::nullopt) {
        std::vector<HWND> found;
        WaitUntil([&] { return !(found = ChildWindows(setup_, {className, caption})).empty(); });
        return found.empty() ? nullptr : found.front();
    }

    // Once the installer has ended, the stop saves the package, which the main window lists; the scenario is
    // kept as <kept>.SCN in the build's "recorded" folder for record-and-replay.sh.
    void StopAndKeep(HWND panel, const std::wstring& name, const std::wstring& kept) {
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(setup_); }));
        ClickAt(Centre(GetDlgItem(panel, panel_window::kStop)));
        ASSERT_TRUE(WaitUntil([&] {
            return IsWindowVisible(main_) &&
                   ListItems(GetDlgItem(main_, main_window::kPackageList)).size() == 1;
        }));
        ASSERT_TRUE(CopyAs(Path(name + L".SCN"), recorded_ / (kept + L".SCN")));
        PostMessageW(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(process_->WaitExit());
    }
    static bool CopyAs(const std::filesystem::path& file, const std::filesystem::path& copy) {
        std::filesystem::create_directories(copy.parent_path());
        return CopyFileW(file.c_str(), copy.c_str(), FALSE) != FALSE;
    }

    void TearDown() override {
        // A real installer left open by a failed test would keep the run's output open; its window tells
        // which process it is (Inno Setup's wizard is not the program that was started).
        if (IsWindow(setup_)) {
            DWORD id = 0;
            GetWindowThreadProcessId(setup_, &id);
            unique_handle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
            TerminateProcess(process.get(), 1);
        }
        E2eTest::TearDown();
    }

    std::wstring log_ = Path(L"wizard.log");
    HWND setup_ = nullptr;  // a real installer's window
    const std::filesystem::path recorded_ = VelmoraFolder() + L"\\recorded";
};

TEST_F(RecordingE2eTest, ARecordedSessionWithATypedFolderIsListedAndReplaysToTheSameResult) {
    HWND panel = StartRecording(L"Recorded", FixtureWizardPath(), L"\"" + log_ + L"\" /delay=0 /cover=0");
    ASSERT_NE(panel, nullptr) << "the package dialog did not lead to the recording panel";
    HWND wizard = WaitForWindow({.className = L"VelmoraFixtureWizard"});
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(ClickAndSee(GetDlgItem(wizard, kFixtureNext), "page 2"));
    // The whole screen: the panel recording over the installer, caught while its blinking caption shows.
    WaitUntil([&] { return IsWindowVisible(GetDlgItem(panel, panel_window::kCaption)) != FALSE; });
    SaveScreenshot(nullptr, L"recording-panel");

    // The folder is typed into its field; a pause takes it, shown in the options area, and resuming stores
    // it.
    HWND page = FindWindowExW(wizard, nullptr, L"VelmoraFixturePage", nullptr);
    TypeAndTake(panel, GetDlgItem(page, kFixtureFolder), L"D:\\Apps\\Recorded", L"recording-panel-paused");

    // The second of two equal buttons, a drag over the page and a click on the panel itself.
    ASSERT_TRUE(ClickAndSee(GetDlgItem(page, kFixtureSecondComponent), "click 204"));
    RECT area{};
    GetWindowRect(page, &area);
    const auto to = [&](int x, int y) {
        return L" mousemove --sync " + std::to_wstring(area.left + x) + L" " + std::to_wstring(area.top + y);
    };
    Xdotool(to(300, 150) + L" mousedown 1" + to(320, 160) + to(340, 165) + L" mouseup 1");
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(log_).find("press background") != std::string::npos; }));
    ClickAt({Centre(GetDlgItem(panel, panel_window::kCaption)).x, Centre(panel).y});
    // The Install page's cover must be gone before its button is pressed.
    for (const char* seen : {"page 3", "cover hidden", "page 5", "finished"})
        ASSERT_TRUE(ClickAndSee(GetDlgItem(wizard, kFixtureNext), seen));
    ClickAt(Centre(GetDlgItem(panel, panel_window::kStop)));

    HWND list = GetDlgItem(main_, main_window::kPackageList);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) && ListItems(list).size() == 1; }));
    EXPECT_EQ(ListItems(list)[0].first, L"Recorded");
    const std::string text = DumpScenario(Path(L"Recorded.SCN"));
    SCOPED_TRACE(text);
    // What was typed and pressed, and the drag (one move at least: the display may merge the moves).
    for (const char* line : {"text \"D:\\\\Apps\\\\Recorded\"", "window \"Button\" \"Add component\" 2",
                             "event left move ", "event left release 40 15"})
        EXPECT_THAT(text, HasSubstr(line));
    EXPECT_THAT(text, Not(HasSubstr(WideToUtf8(panel_window::kClassName)))) << "the panel was recorded";

    // F5 replays it: the wizard sees the same session.
    const std::string recorded = ReadFile(log_);
    DeleteFileW(log_.c_str());
    Tick(list, 0);
    SetForegroundWindow(main_);
    Xdotool(L"key F5");
    HWND statistics = WaitForWindow({.className = statistics_window::kClassName}, kRunDeadline);
    ASSERT_NE(statistics, nullptr);
    const std::string replayed = ReadFile(log_);
    EXPECT_EQ(Session(replayed), Session(recorded)) << recorded << "\n---\n" << replayed;
    EXPECT_EQ(LastText(replayed, kFixtureFolder), "D:\\Apps\\Recorded");
    PostMessageW(statistics, WM_CLOSE, 0, 0);
    PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process_->WaitExit());
}

// Real installers recorded here are replayed in a fresh Wine prefix by record-and-replay.sh, which runs each
// test by name: the scenario is left in the build's "recorded" folder, and what the other machine needs on
// its drive C: below recorded\drive_c.
// Version 1.0 of the 32-bit NSIS installer (which the script puts at recorded\Setup.exe), recorded at the
// display's DPI, every button pressed a few pixels inside its right edge; the scenario is kept as
// recorded\FixtureProduct-<DPI>.SCN.
TEST_F(RecordingE2eTest, DISABLED_NsisInstallerRecordedForAnotherMachine) {
    const std::wstring dpi = std::to_wstring(GetDpiForSystem());
    const std::wstring target = L"C:\\RecordedAt" + dpi;
    HWND panel = StartRecording(L"FixtureProduct", (recorded_ / L"Setup.exe").wstring(), L"");
    ASSERT_NE(panel, nullptr);
    setup_ = WaitForWindow({.className = L"#32770", .caption = L"Fixture Product 1.0 Setup"});
    ASSERT_NE(setup_, nullptr);
    // The pages are child dialogs of one window; its buttons change their captions.
    const auto press = [&](const wchar_t* caption) {
        RECT r{};
        GetWindowRect(Visible(L"Button", caption), &r);
        ClickAt({r.right - 4, (r.top + r.bottom) / 2});
    };
    press(L"&Next >");
    press(L"I &Agree");
    TypeAndTake(panel, Visible(L"Edit"), target);
    SaveScreenshot(nullptr, L"recording-nsis-" + dpi + L"dpi");
    press(L"&Install");
    press(L"&Finish");
    StopAndKeep(panel, L"FixtureProduct", L"FixtureProduct-" + dpi);
    EXPECT_TRUE(std::filesystem::exists(target + L"\\readme.txt"));
    EXPECT_THAT(DumpScenario((recorded_ / (L"FixtureProduct-" + dpi + L".SCN")).wstring()),
                HasSubstr("\ndpi " + WideToUtf8(dpi) + "\n"));
    std::filesystem::remove_all(target);
}

TEST_F(RecordingE2eTest, DISABLED_InnoSetupInstallerRecordedForAnotherMachine) {
    // Taken from the 32-bit Program Files, the installer is stored as a %PROGRAMFILES% path; the folder is
    // typed in the 64-bit one.
    const std::filesystem::path setups = L"C:\\Program Files (x86)\\Velmora Setups";
    const std::filesystem::path installer = setups / L"InnoProductSetup.exe";
    const std::wstring built = VelmoraFolder() + L"\\tests\\fixtures\\InnoProductSetup-1.0.exe";
    const std::wstring target = L"C:\\Program Files\\Inno Recorded";
    ASSERT_TRUE(CopyAs(built, installer) &&
                CopyAs(built, recorded_ / L"drive_c" / installer.relative_path()));
    HWND panel = StartRecording(L"InnoProduct", installer.wstring(), L"");
    ASSERT_NE(panel, nullptr);
    setup_ = WaitForWindow({.className = L"TWizardForm"});
    ASSERT_NE(setup_, nullptr);
    // The pages are hidden siblings inside two nested notebooks, each seen here by its heading; one Next
    // button changes its caption.
    const auto next = [&](const wchar_t* button, const wchar_t* heading, const wchar_t* screenshot) {
        ClickAt(Centre(Visible(L"TNewButton", button)));
        ASSERT_NE(Visible(L"TNewStaticText", heading), nullptr) << heading;
        SaveScreenshot(setup_, screenshot);
    };
    ASSERT_NE(Visible(L"TNewStaticText", L"License Agreement"), nullptr);
    SaveScreenshot(setup_, L"inno-1-license");
    ClickAt(Centre(Visible(L"TNewRadioButton", L"I &accept the agreement")));
    next(L"&Next", L"Select Destination Location", L"inno-2-folder");
    TypeAndTake(panel, Visible(L"TEdit"), target);
    next(L"&Next", L"Select Components", L"inno-3-components");
    next(L"&Next", L"Select Additional Tasks", L"inno-4-tasks");
    RECT tasks{};
    GetWindowRect(Visible(L"TNewCheckListBox"), &tasks);
    ClickAt({tasks.left + 30, tasks.top + 10});  // the task's line
    next(L"&Next", L"Ready to Install", L"inno-5-ready");
    ClickAt(Centre(Visible(L"TNewButton", L"&Install")));
    ClickAt(Centre(Visible(L"TNewButton", L"&Finish")));
    StopAndKeep(panel, L"InnoProduct", L"InnoProduct");
    const std::string text = DumpScenario((recorded_ / L"InnoProduct.SCN").wstring());
    EXPECT_THAT(text, AllOf(HasSubstr("installer \"%PROGRAMFILES%\\\\Velmora Setups\\\\"),
                            HasSubstr("text \"%PROGRAMFILES64%\\\\Inno Recorded\"")));
    EXPECT_THAT(ReadFile(target + L"\\settings.ini"), HasSubstr("Folder=C:\\Program Files\\Inno Recorded"));
    std::filesystem::remove_all(target);
    std::filesystem::remove_all(setups);
}

// Version 1.0 of the Windows Installer package (which the script puts at recorded\Setup.msi), which the
// program starts through the shell, so msiexec shows its dialogs. Every page is a new top-level window of one
// class and one caption, found here by its heading; the folder field takes its text only when it loses the
// focus, which the pause does.
TEST_F(RecordingE2eTest, DISABLED_MsiPackageRecordedForAnotherMachine) {
    const std::wstring package = (recorded_ / L"Setup.msi").wstring();
    const std::wstring target = L"C:\\Msi Recorded";
    // A product left installed, by this test or an interrupted run, would show no dialogs: it is removed
    // before and after, its files by hand, as Wine's msiexec removes them from the default folder only.
    const auto remove = [&] {
        auto msiexec = Process::Start(L"C:\\windows\\system32\\msiexec.exe", L"/x \"" + package + L"\" /qn");
        EXPECT_TRUE(msiexec && msiexec->WaitExit(Deadline{60000}));
        std::filesystem::remove_all(target);
    };
    remove();
    HWND panel = StartRecording(L"MsiProduct", package, L"");
    ASSERT_NE(panel, nullptr);
    const auto page = [&](const wchar_t* heading, const wchar_t* screenshot) {
        ASSERT_TRUE(WaitUntil([&] {
            setup_ = FindTopLevelWindow({L"MsiDialogCloseClass", L"Msi Fixture Product 1.0 Setup"});
            return setup_ != nullptr && !ChildWindows(setup_, {L"Static", heading}).empty();
        })) << heading;
        SaveScreenshot(setup_, screenshot);
    };
    const auto press = [&](const wchar_t* button) { ClickAt(Centre(Visible(L"Button", button))); };
    page(L"Welcome", L"msi-1-welcome");
    press(L"&Next >");
    page(L"Licence Agreement", L"msi-2-licence");
    press(L"I &accept the terms in the licence agreement");
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Visible(L"Button", L"&Next >")) != FALSE; }));
    press(L"&Next >");
    page(L"Destination Folder", L"msi-3-folder");
    TypeAndTake(panel, Visible(L"Edit"), target);
    press(L"&Next >");
    page(L"Ready to Install", L"msi-4-ready");
    press(L"&Install");
    page(L"Installing Msi Fixture Product 1.0", L"msi-5-progress");
    page(L"Setup Complete", L"msi-6-finish");
    press(L"&Finish");
    StopAndKeep(panel, L"MsiProduct", L"MsiProduct");
    EXPECT_TRUE(std::filesystem::exists(target + L"\\readme.txt"));
    remove();
}

// The 32-bit Finch installer, whose pages differ only in their captions' step numbers, recorded with the
// program on the fixed disk C: and a folder typed on C:, which must be stored as typed: record-and-replay.sh
// plays it with the program on a CD-ROM drive. The scenario is kept as recorded\Finch.SCN, the installer
// below recorded\drive_c.
TEST_F(RecordingE2eTest, DISABLED_FinchInstallerRecordedOnTheFixedDisk) {
    namespace fs = std::filesystem;
    const fs::path program = L"C:\\Velmora Program";
    const fs::path installer = L"C:\\Velmora Setups\\FinchSetup.exe";
    const std::wstring target = L"C:\\Recorded Finch";
    ASSERT_TRUE(CopyAs(VelmoraFolder() + L"\\velmora.exe", program / L"velmora.exe"));
    fs::copy(VelmoraFolder() + L"\\language", program / L"language",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    ASSERT_TRUE(CopyAs(FinchInstallerPath(), installer) &&
                CopyAs(FinchInstallerPath(), recorded_ / L"drive_c" / installer.relative_path()));
    HWND panel = StartRecording(L"Finch", installer.wstring(), L"", (program / L"velmora.exe").wstring());
    ASSERT_NE(panel, nullptr);
    // One window shows every page, its caption says which; a page's button is pressed once it is enabled.
    const auto onPage = [&](int step, const wchar_t* button, const std::wstring& typed = L"") {
        setup_ = WaitForWindow(
            {.className = L"#32770", .caption = L"Finch Setup - Step " + std::to_wstring(step) + L" of 3"});
        ASSERT_NE(setup_, nullptr) << step;
        if (!typed.empty())
            TypeAndTake(panel, Visible(L"Edit"), typed, L"recording-finch-step-2");
        HWND pressed = Visible(L"Button", button);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(pressed) != FALSE; })) << step;
        ClickAt(Centre(pressed));
    };
    onPage(1, L"&Next >");
    onPage(2, L"&Next >", target);
    onPage(3, L"&Close");
    StopAndKeep(panel, L"Finch", L"Finch");
    EXPECT_THAT(DumpScenario((recorded_ / L"Finch.SCN").wstring()),
                AllOf(HasSubstr("installer \"C:\\\\Velmora Setups\\\\FinchSetup.exe\""),
                      HasSubstr("text \"C:\\\\Recorded Finch\"")));
    EXPECT_TRUE(fs::exists(target + L"\\readme.txt"));
    for (const fs::path& made : {fs::path(target), installer.parent_path(), program})
        fs::remove_all(made);
}

}  // namespace
}  // namespace velmora::e2e
