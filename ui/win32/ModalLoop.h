#pragma once
// What the program's modal windows share: their owner takes no input while they are up, and a message loop
// that runs until the window says it is done.
#include <utility>

#include "platform/win32/Win32.h"

namespace velmora {

// Disables the owner while a modal window is up. Release enables it again before that window goes, so
// activation returns to the owner and not to another program.
class OwnerDisabled {
  public:
    explicit OwnerDisabled(HWND owner) : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
        if (owner_)
            EnableWindow(owner_, FALSE);
    }
    ~OwnerDisabled() { Release(); }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;

    void Release() {
        if (owner_)
            EnableWindow(std::exchange(owner_, nullptr), TRUE);
    }

  private:
    HWND owner_;
};

// Handles the thread's messages until `done` is set; with dialogKeys, Tab, Enter and Escape work in `window`
// as in a dialog. A quit request that arrives meanwhile ends the loop and is put back for the loop that owns
// the thread.
void RunModalLoop(HWND window, const bool& done, bool dialogKeys);

}  // namespace velmora
