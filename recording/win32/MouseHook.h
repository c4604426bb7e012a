#pragma once
// The recorder's ear on the mouse: a low-level mouse hook (journal hooks are refused on current Windows). The
// hook procedure only notes the event and returns, so a slow installer can never make Windows remove the hook
// in the middle of a recording; the recorder's work happens when the target window handles the posted
// message.
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "recording/Recorder.h"

namespace velmora {

class MouseHook {
  public:
    // Posts `message` to `target` when events are waiting. The hook runs on this thread, which must pump
    // messages; one hook at a time.
    MouseHook(HWND target, UINT message) : target_(target), message_(message) {}
    ~MouseHook() { Remove(); }
    MouseHook(const MouseHook&) = delete;
    MouseHook& operator=(const MouseHook&) = delete;

    // False when Windows refuses the hook, or another MouseHook is installed: then nothing is noted.
    bool Install();
    void Remove();
    bool Installed() const { return static_cast<bool>(hook_); }
    // The events noted since the last call, oldest first.
    std::vector<HookedMouseEvent> TakeEvents();

  private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

    HWND target_;
    UINT message_;
    unique_hhook hook_;
    std::vector<HookedMouseEvent> events_;
    bool posted_ = false;
};

}  // namespace velmora
