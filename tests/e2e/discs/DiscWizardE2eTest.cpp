// The disc creation wizard as an administrator uses it: opened from the main window, driven through its five
// pages into a disc folder, and the disc it made started from a CD-ROM drive. DiscWizardE2eTest makes the
// discs; DiscFromCdRomE2eTest runs only inside disc-made.sh, once that script has made drive E: a CD-ROM
// holding the disc that WizardCopiesEverythingAndTheMainWindowListsTheCopy left in C:\Velmora Disc.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

#include <commctrl.h>
#include <shlobj.h>

#include "discs/win32/DiscWizardIds.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

namespace fs = std::filesystem;
using namespace disc_wizard;
using Texts = std::vector<std::wstring>;

constexpr wchar_t kDisc[] = L"C:\\Velmora Disc";
constexpr Deadline kRunDeadline{120000};

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return folder + L"\\" + name;
}

// Chooses the folder in the folder browser that the program has open: the selection is set through the
// browser's own message, whose path must lie in the program's memory, until the browser's edit box names it
// (the browser selects its initial folder a moment after it shows).
void ChooseInBrowser(DWORD processId, const std::wstring& folder) {
    HWND browser = WaitForWindow({.className = L"#32770", .processId = processId});
    ASSERT_NE(browser, nullptr) << "no folder browser";
    unique_handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    const SIZE_T bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process.get(), nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    WriteProcessMemory(process.get(), remote, folder.c_str(), bytes, nullptr);
    const std::wstring leaf = folder.substr(folder.rfind(L'\\') + 1);
    HWND edit = FindWindowExW(browser, nullptr, L"Edit", nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
        return _wcsicmp(WindowText(edit).c_str(), leaf.c_str()) == 0;
    })) << WideToUtf8(WindowText(edit));
    PressButton(browser, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
}

class DiscWizardE2eTest : public E2eTest {
  protected:
    void SetUp() override {
        E2eTest::SetUp();
        // The program runs from a copy, so the settings file it writes stays out of the build folder.
        for (const wchar_t* name : {L"velmora.exe", L"help.chm"})
            ASSERT_TRUE(CopyFileW(Join(VelmoraFolder(), name).c_str(), Join(Program(), name).c_str(), FALSE));
        fs::copy(Join(VelmoraFolder(), L"language"), Join(Program(), L"language"));
    }

    std::wstring Program() const { return program_.WidePath(); }
    std::wstring Source() const { return folder_.WidePath(); }

    // Packages of the fixture wizard, installed from the disc they are copied onto; `copies` more of the
    // first make a long copy. The program's wizard, opened from the main window's menu, comes back.
    HWND OpenWizard(const Texts& names, const std::string& order, int copies = 0) {
        for (const std::wstring& name : names)
            EXPECT_FALSE(BuildScenario(Source(), name, WizardClicks(), L"%CDROM%\\Setup\\FixtureWizard.exe",
                                       L"\"C:\\" + name + L".log\"")
                             .empty());
        for (int i = 0; i < copies; ++i)
            CopyFileW(Join(Source(), names[0] + L".SCN").c_str(),
                      Join(Source(), L"Copy " + std::to_wstring(i) + L".SCN").c_str(), FALSE);
        EXPECT_TRUE(order.empty() ||
                    Win32FileSystem{}.ReplaceFile(WideToUtf8(Join(Source(), L"Position.lst")), order));
        if (StartMain(L"", names.size() + copies, Join(Program(), L"velmora.exe")) == nullptr)
            return nullptr;
        Command(main_, MainCommand::DiscWizard);
        return WaitForOwn(kClassName);
    }

    // The browser finds a folder by the times its tree read; the first listing of a new folder sets its
    // access time, so it is listed once before the tree reads it.
    void Choose(HWND wizard, int browseButton, const std::wstring& folder) {
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        }
        PressButton(wizard, browseButton);
        ChooseInBrowser(process_->Id(), folder);
    }

    // Next, and the page it leads to.
    static bool Next(HWND wizard, int shownControl) {
        PressButton(wizard, kNext);
        return WaitUntil([&] { return IsWindowVisible(GetDlgItem(wizard, shownControl)) != FALSE; });
    }

    void RunToTheCopy(HWND wizard, const std::wstring& destination) {
        Choose(wizard, kDestinationBrowse, destination);
        ASSERT_TRUE(Next(wizard, kSourceBrowse));
        Choose(wizard, kSourceBrowse, Source());
        ASSERT_TRUE(Next(wizard, kSummarySource));
        ASSERT_TRUE(Next(wizard, kLog));
    }

    // The copy runs until Next comes back; the message boxes it shows meanwhile are answered and returned.
    Texts FinishCopy(HWND wizard) {
        Texts messages;
        const auto copied = [&] {
            if (HWND box = FindTopLevelWindow({.className = L"#32770", .processId = process_->Id()})) {
                messages.push_back(MessageBoxText(box));
                PressButton(box, IDOK);
                WaitUntil([&] { return !IsWindow(box); });
            }
            return IsWindowEnabled(GetDlgItem(wizard, kNext)) != FALSE;
        };
        WaitUntil(copied, kRunDeadline);
        return messages;
    }

    // Closing asks first, on every page; the answer comes back.
    HWND CloseQuestion(HWND wizard) {
        PressButton(wizard, kCancel);
        HWND question = WaitForWindow({.className = L"#32770", .processId = process_->Id()});
        EXPECT_EQ(MessageBoxText(question), L"Do you really want to abort the wizard?");
        return question;
    }

    TempFolder program_{L"C:\\"};
};

TEST_F(DiscWizardE2eTest, WizardCopiesEverythingAndTheMainWindowListsTheCopy) {
    fs::remove_all(kDisc);
    fs::create_directory(kDisc);
    HWND wizard = OpenWizard({L"Alpha", L"Beta"}, "Beta\r\nAlpha\r\n");
    ASSERT_NE(wizard, nullptr) << "no wizard";
    EXPECT_EQ(WindowText(wizard), L"Disc creation wizard (Step 1 of 5)");
    Choose(wizard, kDestinationBrowse, kDisc);
    EXPECT_EQ(WindowText(GetDlgItem(wizard, kDestinationLine)), kDisc);
    SaveScreenshot(wizard, L"disc-wizard-1-destination");
    ASSERT_TRUE(Next(wizard, kSourceBrowse));
    Choose(wizard, kSourceBrowse, Source());
    EXPECT_EQ(WindowText(GetDlgItem(wizard, kCountLine)), L"2 - files");
    // The fast speed, which the disc's settings file will carry.
    HWND speed = GetDlgItem(wizard, kSpeedList);
    EXPECT_EQ(SendMessageW(speed, CB_GETCURSEL, 0, 0), 2);
    SendMessageW(speed, CB_SETCURSEL, 0, 0);
    SendMessageW(wizard, WM_COMMAND, MAKEWPARAM(kSpeedList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(speed));
    SaveScreenshot(wizard, L"disc-wizard-2-source");
    ASSERT_TRUE(Next(wizard, kSummarySource));
    EXPECT_EQ(Texts({WindowText(GetDlgItem(wizard, kSummarySource)),
                     WindowText(GetDlgItem(wizard, kSummaryProgram))}),
              Texts({Source(), Program()}));
    SaveScreenshot(wizard, L"disc-wizard-3-summary");
    ASSERT_TRUE(Next(wizard, kLog));
    EXPECT_EQ(FinishCopy(wizard), Texts{});
    SaveScreenshot(wizard, L"disc-wizard-4-log");

    // The copy ended well (each operation and its order: the unit tests; the disc it made at work:
    // DiscFromCdRomE2eTest).
    const std::wstring scenarios = Join(kDisc, L"Folder SCN");
    const Texts log = Lines(WindowText(GetDlgItem(wizard, kLog)));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), L"Creating folder " + scenarios);
    EXPECT_EQ(log.back(), L"Copying finished successfully");

    ASSERT_TRUE(Next(wizard, kTip));
    EXPECT_EQ(WindowText(GetDlgItem(wizard, kNext)), L"Finish");
    SaveScreenshot(wizard, L"disc-wizard-5-hints");
    PressButton(wizard, kNext);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wizard); })) << "Finish closes without a question";

    // The main window now lists the copy, in the order of its position.lst.
    HWND list = GetDlgItem(main_, main_window::kPackageList);
    EXPECT_TRUE(WaitUntil([&] { return ListItems(list).size() == 2; }));
    EXPECT_EQ(ListItems(list), (Items{{L"Beta", false}, {L"Alpha", false}}));
    EXPECT_EQ(WindowText(GetDlgItem(main_, main_window::kFolderBox)), scenarios);
    EXPECT_EQ(ReadSetting(L"Path", L"FolderSCN"), scenarios);

    // F1 opens the help file beside the program: the viewer shows its title and contents (Wine draws no
    // pages).
    PostMessageW(list, WM_KEYDOWN, VK_F1, 1);
    HWND help = WaitForWindow({.caption = L"Velmora Runwright Help"});
    ASSERT_NE(help, nullptr) << "F1 opened no help";
    SaveScreenshot(help, L"help-viewer");
    PostMessageW(help, WM_CLOSE, 0, 0);
}

// A source without its order file, and a long copy into a folder whose autorun.inf is read-only, end in the
// failure message and the failure line under the operation that failed; the scenario folder setting keeps
// its folder. The long copy shows its progress and answers the close question midway, waiting meanwhile.
TEST_F(DiscWizardE2eTest, FailedCopiesSayWhatFailedAndKeepTheScenarioFolder) {
    const std::wstring notAll =
        L"Not all files were copied. Perhaps you lack access rights, the folder is read-only or there is not "
        L"enough room.";
    for (const bool longCopy : {false, true}) {
        SCOPED_TRACE(longCopy ? "read-only autorun.inf" : "no position.lst");
        TempFolder destination(L"C:\\");
        const std::wstring autorun = Join(destination.WidePath(), L"autorun.inf");
        Texts failure{L"Copying file `" + Join(Source(), L"position.lst") + L"` to " +
                          Join(destination.WidePath(), L"Folder SCN\\position.lst"),
                      L"File copy error"};
        Texts messages{notAll};
        if (longCopy) {
            ASSERT_TRUE(
                Win32FileSystem{}.ReplaceFile(WideToUtf8(autorun), "[Autorun]\r\nopen=other.exe\r\n"));
            MakeReadOnly(WideToUtf8(autorun));
            failure = {L"Error creating the autorun file " + autorun, L"Copying failed"};
            messages.insert(messages.begin(), L"Writing to the file failed. Perhaps it is read-only");
        }
        HWND wizard = longCopy ? OpenWizard({L"Alpha"}, "Alpha\r\n", 400) : OpenWizard({L"Alpha"}, "");
        ASSERT_NE(wizard, nullptr) << "no wizard";
        RunToTheCopy(wizard, destination.WidePath());
        if (longCopy) {
            HWND progress = GetDlgItem(wizard, kProgress);
            const auto position = [&] { return SendMessageW(progress, PBM_GETPOS, 0, 0); };
            ASSERT_TRUE(WaitUntil([&] { return position() > 0; }));
            HWND question = CloseQuestion(wizard);
            const LRESULT asked = position();
            EXPECT_LT(asked, SendMessageW(progress, PBM_GETRANGE, FALSE, 0)) << "asked after the copy";
            EXPECT_FALSE(WaitUntil([&] { return position() != asked; }, Deadline{1000}))
                << "copied meanwhile";
            SaveScreenshot(wizard, L"disc-wizard-4-copying");
            PressButton(question, IDNO);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
        }
        EXPECT_EQ(FinishCopy(wizard), messages);
        const Texts log = Lines(WindowText(GetDlgItem(wizard, kLog)));
        EXPECT_NE(std::search(log.begin(), log.end(), failure.begin(), failure.end()), log.end());
        EXPECT_EQ(log.back(), L"Copying failed");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wizard, kBack))) << "the copy cannot run again";
        PressButton(CloseQuestion(wizard), IDYES);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wizard); }));
        EXPECT_EQ(ReadSetting(L"Path", L"FolderSCN"), Source());
        CloseMain();
    }
}

// Runs inside disc-made.sh: drive E: is a CD-ROM that holds the disc made above, with the fixture wizard in
// its Setup folder. The program there reads its settings file: the wizard's speed and the %cdrom% folder.
TEST(DiscFromCdRomE2eTest, ProgramOnTheDiscReadsItsSettingsListsItsPackagesAndInstallsFromIt) {
    ASSERT_EQ(GetDriveTypeW(L"E:\\"), static_cast<UINT>(DRIVE_CDROM)) << "E: is no CD-ROM drive";
    RemoveProgramSettings();
    auto process = Process::Start(L"E:\\Velmora\\Velmora.exe", L"");
    ASSERT_TRUE(process);
    HWND main = WaitForWindow({.className = main_window::kClassName, .processId = process->Id()});
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, main_window::kPackageList);
    EXPECT_TRUE(WaitUntil([&] { return ListItems(list).size() == 2; }));
    EXPECT_EQ(ListItems(list), (Items{{L"Beta", false}, {L"Alpha", false}}));
    EXPECT_EQ(WindowText(GetDlgItem(main, main_window::kFolderBox)), L"E:\\Folder SCN");
    SaveScreenshot(main, L"disc-started-from-cdrom");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(process->WaitExit(), std::optional<DWORD>(0));
    EXPECT_EQ(ReadSetting(L"Install", L"Speed"), L"0");
    EXPECT_EQ(ReadSetting(L"Path", L"FolderSCN"), L"E:\\Folder SCN");

    // A direct run from the disc plays a package whose installer lies on the disc.
    DeleteFileW(L"C:\\Alpha.log");
    auto run = Process::Start(L"E:\\Velmora\\Velmora.exe", L"/inst \"E:\\Folder SCN\\Alpha.SCN\" /nostat");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->WaitExit(kRunDeadline), std::optional<DWORD>(0));
    EXPECT_THAT(ReadFile(L"C:\\Alpha.log"), HasSubstr("exit 0"));
    RemoveProgramSettings();
}

}  // namespace
}  // namespace velmora::e2e
