#pragma once
// Tells a window of this program when other programs' windows change: one is shown, or changes its caption
// or state (a button enabled). The player tries its step at once then,
// instead of on its next tick. The system calls back on this thread while it pumps messages (out of
// context, so no code of this program runs in the installers); the callbacks are gathered into one posted
// message, and the next one is posted only once the window has taken it.
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace velmora {

class Win32WindowEvents {
  public:
    // Posts `message` to `target` on changes; without a hook (the system refused it) nothing is posted and
    // the player's timers alone drive it.
    Win32WindowEvents(HWND target, UINT message);
    ~Win32WindowEvents();
    Win32WindowEvents(const Win32WindowEvents&) = delete;
    Win32WindowEvents& operator=(const Win32WindowEvents&) = delete;

    // The target has taken the posted message: the next change posts another.
    void Taken() { posted_ = false; }

  private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                 DWORD thread, DWORD time);

    HWND target_;
    UINT message_;
    bool posted_ = false;
    // One hook for each event, not for ranges: every event a hook takes is a round of messages between the
    // installer and this program, and the events between (windows made, moved) come by the dozen with every
    // page.
    unique_hwineventhook show_;
    unique_hwineventhook state_;
    unique_hwineventhook name_;
};

}  // namespace velmora
