#pragma once
// Drives the real velmora.exe as a person would: starts it, reads what it stored in the registry and saves
// screenshots for a person to look at. Finding, reading and pressing its windows is in WindowTools.h.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "packages/MainWindowModel.h"
#include "packages/win32/MainWindowIds.h"
#include "platform/win32/UniqueHandle.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/WindowTools.h"

namespace velmora::e2e {

// The folder of velmora.exe, where the build also puts scntool and the fixture installers.
std::wstring VelmoraFolder();

// A started program. The destructor ends it if it still runs, so a failed test leaves no instance behind
// to hold the single-instance marker for the next one.
class Process {
  public:
    // Starts `exe` with the arguments (the program path is put in front, quoted); nothing when it fails.
    static std::optional<Process> Start(const std::wstring& exe, const std::wstring& arguments);
    Process(Process&&) noexcept = default;
    Process& operator=(Process&&) = delete;
    ~Process();

    DWORD Id() const { return id_; }
    bool Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    // The exit code, or nothing when the process still runs at the deadline.
    std::optional<DWORD> WaitExit(Deadline deadline = kWindowDeadline) const;

  private:
    Process(unique_handle process, DWORD id) : process_(std::move(process)), id_(id) {}
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
std::vector<std::pair<std::wstring, bool>> ListItems(HWND list);
void Tick(HWND list, int index);
std::string ReadFile(const std::wstring& path);

// Real input through the X display, as a person gives it: xdotool with the arguments, which a shell reads
// (quote texts with single quotes); true once it has run.
bool Xdotool(const std::wstring& arguments);
// Presses and releases the left button at the screen point, at a person's pace.
bool ClickAt(POINT screen);
// Gives the main window one of its menu commands, as its menu or a shortcut does.
void Command(HWND main, MainCommand command);

// A scenario in the text form that clicks the fixture wizard at `installer` (as the scenario stores it, path
// variables and all) through to its end; the wizard writes what it saw to the file `result`.
std::string FixtureWizardScenario(const std::wstring& installer, const std::wstring& result);
// Builds a scenario file from its text form with the build's scntool; false when that fails.
bool BuildScenarioFile(const std::string& text, const std::wstring& scnPath);

}  // namespace velmora::e2e
