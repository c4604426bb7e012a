#pragma once
// Joins the calling thread to a single-threaded COM apartment for a scope, as the shell's dialogs and
// ShellExecute expect; leaves it only if it was this object that joined.
#include "platform/win32/Win32.h"

#include <objbase.h>

namespace velmora {

class ComApartment {
  public:
    ComApartment()
        : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (joined_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool joined_;
};

}  // namespace velmora
