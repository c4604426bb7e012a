#include "platform/win32/Win32WindowEvents.h"

namespace velmora {
namespace {

// The callback carries no context of its own. There is one panel, and so one source, at a time; a second
// one would only take the place of the first.
Win32WindowEvents* current = nullptr;

}  // namespace

Win32WindowEvents::Win32WindowEvents(HWND target, UINT message) : target_(target), message_(message) {
    current = this;
    constexpr DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    show_.reset(SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, &OnEvent, 0, 0, flags));
    state_.reset(
        SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, &OnEvent, 0, 0, flags));
    name_.reset(
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, &OnEvent, 0, 0, flags));
}

Win32WindowEvents::~Win32WindowEvents() {
    show_.reset();
    state_.reset();
    name_.reset();
    if (current == this)
        current = nullptr;
}

void CALLBACK Win32WindowEvents::OnEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    // Only windows themselves: a caret or cursor that moves, a list's items that change, say nothing of
    // whether a step's window is there.
    if (current == nullptr || window == nullptr || object != OBJID_WINDOW || current->posted_)
        return;
    current->posted_ = PostMessageW(current->target_, current->message_, 0, 0) != 0;
}

}  // namespace velmora
