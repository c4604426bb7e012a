#pragma once
// Drives the real velmora.exe as a person would: starts it, reads what it stored in the registry and saves
// screenshots for a person to look at. Finding, reading and pressing its windows is in WindowTools.h.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "packages/MainWindowModel.h"
#include "packages/win32/MainWindowIds.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/WindowTools.h"

namespace velmora::e2e {

// The matchers the tests read windows' texts, logs and reports with.
using testing::_;
using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::EndsWith;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Key;
using testing::Not;
using testing::StartsWith;

// The folder of velmora.exe, where the build also puts scntool and the fixture installers.
std::wstring VelmoraFolder();

// A started program. The destructor ends it if it still runs, so a failed test leaves no instance behind
// to hold the single-instance marker for the next one.
class Process {
  public:
    // Starts `exe` with the arguments (the program path is put in front, quoted), on the desktop when one
    // is named; nothing when it fails.
    static std::optional<Process> Start(const std::wstring& exe, const std::wstring& arguments,
                                        std::wstring desktop = L"");
    // Takes over a process that another started, such as the shell.
    explicit Process(HANDLE process) : process_(process), id_(GetProcessId(process)) {}
    Process(Process&&) noexcept = default;
    Process& operator=(Process&&) = delete;
    ~Process();

    DWORD Id() const { return id_; }
    bool Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    // The exit code, or nothing when the process still runs at the deadline.
    std::optional<DWORD> WaitExit(Deadline deadline = kWindowDeadline) const;

  private:
    unique_handle process_;
    DWORD id_ = 0;
};

std::optional<Process> StartVelmora(const std::wstring& arguments = L"");

// The program's per-user settings: nothing when the value is missing or not a string.
std::optional<std::wstring> ReadSetting(const std::wstring& section, const std::wstring& key);
bool WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value);
void RemoveProgramSettings();

// A list view of the program keeps its texts in the program's process; these lend it a buffer there.
struct ListRow {
    std::vector<std::wstring> texts;  // of the first columns, as many as asked for
    bool checked = false;
};
std::vector<ListRow> ListViewRows(HWND list, int columns = 1);
// Sets an item's state, as a click on its check box or on its name does.
void SetListItemState(HWND list, int index, UINT state, UINT mask);
// Where the item's label in the first column shows on the screen.
RECT ListItemLabel(HWND list, int index);

// The items of the program's package list: name and check mark.
using Items = std::vector<std::pair<std::wstring, bool>>;
Items ListItems(HWND list);
void Tick(HWND list, int index);
std::string ReadFile(const std::wstring& path);

// Real input through the X display, as a person gives it: xdotool with the arguments, which a shell reads
// (quote texts with single quotes); true once it has run.
bool Xdotool(const std::wstring& arguments);
// Presses and releases the left button at the screen point, at a person's pace.
bool ClickAt(POINT screen);
// Input through the system's queue, as the mouse and the keyboard give it: one button event (a flag such as
// MOUSEEVENTF_LEFTDOWN) where the cursor is, and a key pressed and released.
void SendButton(DWORD flags);
void TypeKey(WORD key);
// Puts the text into the dialog's control, as WM_SETTEXT does.
void SetText(HWND dialog, int id, const std::wstring& text);
// Gives the main window one of its menu commands, as its menu or a shortcut does.
void Command(HWND main, MainCommand command);

// The ids of the processes still running from one of these program files, by name, and their end.
std::vector<DWORD> RunningOf(const std::vector<std::wstring>& exeNames);
void EndAll(const std::vector<std::wstring>& exeNames);

// Scenarios written in the text form and built with the build's scntool: clicks on the fixture wizard and on
// the NSIS fixture installer.
struct Link {
    std::wstring className;
    std::wstring caption;
    int matchIndex;
};

// One click: press at (x, y) in the target's client area and release where it was pressed, then the text.
struct Click {
    std::vector<Link> chain;
    int x = 10;
    int y = 10;
    std::optional<std::wstring> text;
};

std::wstring FixtureWizardPath();
std::wstring NsisInstallerPath();
// The 32-bit NSIS installer whose pages differ only in their captions: "Finch Setup - Step 1 of 3".
std::wstring FinchInstallerPath();
// Why this machine cannot start the 32-bit installers (ctest says so where its kernel cannot), or empty.
std::string WhyNo32BitInstallers();
// A click on a window below the fixture wizard's frame, typing the text when there is one.
Click FixtureClick(std::vector<Link> below, int x = 20, int y = 10, std::optional<std::wstring> text = {});
// Through the fixture wizard to its end, typing the text (when there is one) into its folder field.
std::vector<Click> WizardClicks(std::optional<std::wstring> text = {});
// Through the NSIS fixture installer, typing the target folder on its directory page.
std::vector<Click> NsisClicks(const std::wstring& target);

// Writes the clicks as a scenario and builds <folder>\<name>.SCN from it; the file's path, empty on failure.
// The name is the package name the panel and the statistics show.
std::wstring BuildScenario(const std::wstring& folder, const std::wstring& name,
                           const std::vector<Click>& clicks, const std::wstring& installer,
                           const std::wstring& commandLine,
                           const std::wstring& description = L"written by a test");
// A scenario that waits for a window the fixture wizard never shows: its caption differs from the wizard's in
// a word, so the wizard's own Next button must never be pressed. The wizard logs to result.txt.
std::wstring WaitingScenario(const std::wstring& folder, const std::wstring& name);
// The scenario file in the text form, as scntool dumps it; empty when scntool fails.
std::string DumpScenario(const std::wstring& scnPath);

// The text's lines (of the fixture wizard's log, a report, a window), without their ends.
template <class Char>
std::vector<std::basic_string<Char>> Lines(const std::basic_string<Char>& text) {
    std::vector<std::basic_string<Char>> lines;
    std::basic_istringstream<Char> in(text);
    for (std::basic_string<Char> line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find(Char{'\r'})));
    return lines;
}
// Lines of which one starts with the prefix.
inline auto HasLine(const std::string& prefix) {
    return Contains(StartsWith(prefix));
}
// Lines that start with each prefix, in this order.
void ExpectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& prefixes);

// A test of the program on a scenario folder of its own (on drive C:, where the folder browser reaches it):
// the program's settings are removed before and after it, the file type counts as offered already, and
// installers a failed run left behind are ended, so that they hold neither the test's files nor the next run.
class E2eTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring Path(const std::wstring& name) const { return folder_.WidePath() + L"\\" + name; }
    // A package that clicks the fixture wizard through to its end; the wizard logs to <name>.log beside it.
    std::wstring AddWizardPackage(const std::wstring& name, std::optional<std::wstring> text = {});
    // Starts the program (the build's, unless another is named) with the switches and waits for its main
    // window, which must list `packages` packages; nullptr, naming any message box shown instead, when none
    // comes, and naming what it lists when that differs.
    HWND StartMain(const std::wstring& switches = L"", std::size_t packages = 0,
                   const std::wstring& exe = L"");
    HWND WaitForOwn(const std::wstring& className, Deadline deadline = kWindowDeadline) const;
    // Waits for the program's message box, answers it with the button and hands back its text.
    std::wstring Answer(int button, const std::optional<std::wstring>& caption = std::nullopt) const;
    // Closes the main window as a person would and expects the program to end cleanly.
    void CloseMain();

    TempFolder folder_{L"C:\\"};
    std::optional<Process> process_;
    HWND main_ = nullptr;
};

}  // namespace velmora::e2e
