#pragma once
// Drives the real velmora.exe as a person would: starts it, waits for its windows, reads and presses
// message boxes, reads what it stored in the registry and saves screenshots for a person to look at.
// Every wait has a deadline and polls its condition; nothing sleeps for a fixed time.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace velmora::e2e {

using Deadline = std::chrono::milliseconds;
inline constexpr Deadline kWindowDeadline{30000};

// Polls the condition until it holds or the deadline passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Deadline deadline = kWindowDeadline);

// The build passes host paths; Wine shows the host's root as drive Z:.
std::wstring HostPathToWindows(const std::string& hostPath);
std::wstring VelmoraExePath();
std::wstring VelmoraFolder();

// A started program. The destructor ends it if it still runs, so a failed test leaves no instance behind
// to hold the single-instance marker for the next one.
class Process {
  public:
    // Starts `exe` with the arguments (the program path is put in front, quoted); nothing when it fails.
    static std::optional<Process> Start(const std::wstring& exe, const std::wstring& arguments);
    Process(Process&&) noexcept = default;
    // Ends the process held so far before taking the other one.
    Process& operator=(Process&& other) noexcept;
    ~Process();

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    bool Running() const;
    // The exit code, or nothing when the process still runs at the deadline.
    std::optional<DWORD> WaitExit(Deadline deadline = kWindowDeadline) const;
    void Terminate();

  private:
    Process(unique_handle process, DWORD id) : process_(std::move(process)), id_(id) {}
    unique_handle process_;
    DWORD id_ = 0;
};

std::optional<Process> StartVelmora(const std::wstring& arguments = L"");

struct WindowQuery {
    std::optional<std::wstring> className = std::nullopt;
    std::optional<std::wstring> caption = std::nullopt;
    DWORD processId = 0;  // 0: any process
    bool visibleOnly = true;
};

std::vector<HWND> TopLevelWindows(const WindowQuery& query);
HWND FindTopLevelWindow(const WindowQuery& query);
HWND WaitForWindow(const WindowQuery& query, Deadline deadline = kWindowDeadline);

// Window texts through WM_GETTEXT, which also reaches controls of another process.
std::wstring WindowText(HWND window);
std::wstring ClassNameOf(HWND window);
HWND Control(HWND dialog, int id);

// Message boxes are dialogs of the class "#32770"; their text is the static control that carries text.
HWND WaitForMessageBox(DWORD processId, Deadline deadline = kWindowDeadline);
std::wstring MessageBoxText(HWND box);
// Clicks the button with the id (IDOK, IDYES...); false when the box has no such button.
bool PressButton(HWND dialog, int id);

// Values under HKEY_CURRENT_USER; nothing when the key or value is missing or not a string.
std::optional<std::wstring> ReadUserString(const std::wstring& subkey, const std::wstring& name);
bool WriteUserString(const std::wstring& subkey, const std::wstring& name, const std::wstring& value);
// The program's per-user settings and the key under which they live.
inline constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Velmora";
std::optional<std::wstring> ReadSetting(const std::wstring& section, const std::wstring& key);
void RemoveProgramSettings();

// A folder of its own under the temporary folder, removed with everything in it on destruction.
class TempFolder {
  public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::wstring& Path() const { return path_; }
    // Creates a file with the bytes; false when it cannot be written.
    bool WriteFile(const std::wstring& name, const std::string& bytes) const;

  private:
    std::wstring path_;
};

// Saves what the screen shows of the window (the whole screen for nullptr) as screenshots/<name>.png in
// the build folder, once the window's program has drawn it. Returns the file's path, empty on failure.
std::wstring SaveScreenshot(HWND window, const std::wstring& name);

}  // namespace velmora::e2e
