#pragma once
// Acts on a window that this process opens while the test thread is inside a modal loop: a second thread
// waits (with a deadline) for a visible top-level window that matches, then hands it to the action. When
// nothing matches in time it closes whatever dialog the process shows, so a test fails instead of hanging.
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/Win32.h"

namespace velmora {

using WindowMatch = std::function<bool(HWND)>;

// A dialog (class "#32770") of this process whose caption is exactly the given text.
WindowMatch DialogTitled(const std::wstring& caption);
// Any dialog of this process other than `except`.
WindowMatch AnyDialogExcept(HWND except = nullptr);

// Waits until a visible top-level window of this process matches; nullptr after the deadline.
HWND WaitForWindow(const WindowMatch& match, DWORD timeoutMs = 10000);

std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
// Presses a dialog button by its id as a click would.
void PressButton(HWND dialog, int id);

class DialogWatcher {
  public:
    DialogWatcher(WindowMatch match, std::function<void(HWND)> act);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Waits for the action to finish; true when the window was found.
    bool Join();

  private:
    std::thread thread_;
    bool found_ = false;
};

}  // namespace velmora
