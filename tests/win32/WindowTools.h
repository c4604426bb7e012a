#pragma once
// Finding, reading and pressing windows, of this process or another one, for the Win32 and end-to-end tests.
// Every wait has a deadline and polls its condition; nothing sleeps for a fixed time.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace velmora {

using Deadline = std::chrono::milliseconds;
inline constexpr Deadline kWindowDeadline{30000};

// Polls the condition until it holds or the deadline passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Deadline deadline = kWindowDeadline);
// The same, handling this thread's messages meanwhile, so its own windows go on working.
bool PumpUntil(const std::function<bool()>& condition, Deadline deadline = Deadline{10000});

struct WindowQuery {
    std::optional<std::wstring> className = std::nullopt;
    std::optional<std::wstring> caption = std::nullopt;
    DWORD processId = 0;  // 0: any process
    bool visibleOnly = true;
    HWND except = nullptr;
};

// A dialog (class "#32770") of this process, with the caption when one is given.
WindowQuery OwnDialog(std::optional<std::wstring> caption = std::nullopt);

std::vector<HWND> TopLevelWindows(const WindowQuery& query);
HWND FindTopLevelWindow(const WindowQuery& query);
// The windows at any depth below the parent that match the query.
std::vector<HWND> ChildWindows(HWND parent, const WindowQuery& query);
HWND WaitForWindow(const WindowQuery& query, Deadline deadline = kWindowDeadline);

// Texts through messages with a timeout, which also reach windows of other threads and processes.
std::wstring WindowText(HWND window);
std::vector<std::wstring> ListBoxLines(HWND list);
// A message box's text is its static control that carries text.
std::wstring MessageBoxText(HWND box);
// Posts the button's click to the dialog, which works whether or not it is active; false when the dialog
// has no such button.
bool PressButton(HWND dialog, int id);
// The middle of the window on the screen.
POINT Centre(HWND window);

// The build's velmora.exe, loaded for its icons and bitmaps only.
unique_hmodule LoadProgramResources();

// A screen area as 32-bit 0xAARRGGBB pixels in top-down rows.
struct Picture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    bool operator==(const Picture&) const = default;
    int Count(BYTE red, BYTE green, BYTE blue) const;
};
Picture Capture(const RECT& area);

// Saves what the screen shows of the window (the whole screen for nullptr) once it has stayed the same for a
// moment, as screenshots/<name>.bmp in the build folder; after the run ImageMagick turns it into <name>.png.
// This thread's messages are handled meanwhile, so its own windows paint.
Picture SaveScreenshot(HWND window, const std::wstring& name);

// Acts on a window that this process opens while the test thread is inside a modal loop: a second thread
// waits for a window that matches and hands it to the action. When none comes in time, it closes every
// window this process shows, so a test fails instead of hanging.
class WindowWatcher {
  public:
    WindowWatcher(WindowQuery query, std::function<void(HWND)> act, Deadline deadline = Deadline{10000});
    ~WindowWatcher() { Join(); }
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // Waits for the action to finish; true when the window was found.
    bool Join();

  private:
    bool found_ = false;
    std::thread thread_;
};

// Windows runs the Task Scheduler always; Wine starts its service only when asked, and in a new prefix
// refuses to for a while, or starts it only for it to stop again, until its other services have settled.
// True once it answers.
bool StartTaskScheduler();

}  // namespace velmora
