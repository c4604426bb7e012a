#include "recording/win32/MouseHook.h"

#include <utility>

#include "ui/win32/Controls.h"

namespace velmora {
namespace {

MouseHook* active = nullptr;  // a hook procedure gets no context of its own

}  // namespace

bool MouseHook::Install() {
    if (hook_)
        return true;
    // The procedure reports to one hook only; a second would take the first one's events.
    if (active != nullptr)
        return false;
    hook_.reset(SetWindowsHookExW(WH_MOUSE_LL, &MouseHook::Procedure, GetModuleHandleW(nullptr), 0));
    if (hook_)
        active = this;
    return Installed();
}

void MouseHook::Remove() {
    hook_.reset();
    if (active == this)
        active = nullptr;
}

std::vector<HookedMouseEvent> MouseHook::TakeEvents() {
    posted_ = false;
    return std::exchange(events_, {});
}

LRESULT CALLBACK MouseHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && active != nullptr) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        // The cursor has not moved yet when the hook runs: the event's own point is where it happened.
        HookedMouseEvent event{kKindMove, kButtonLeft, {info->pt.x, info->pt.y}, 0};
        bool known = true;
        switch (wParam) {
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                event.kind = kKindPress;
                // Which window is pressed is only certain now; it reads no text and asks no other program.
                event.window = IdOf(WindowFromPoint(info->pt));
                break;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
            case WM_MBUTTONUP:
                event.kind = kKindRelease;
                break;
            case WM_MOUSEMOVE:
                break;
            default:
                known = false;  // the wheel and the extra buttons are not recorded
                break;
        }
        if (wParam == WM_RBUTTONDOWN || wParam == WM_RBUTTONUP)
            event.button = kButtonRight;
        else if (wParam == WM_MBUTTONDOWN || wParam == WM_MBUTTONUP)
            event.button = kButtonMiddle;
        if (known) {
            active->events_.push_back(event);
            if (!active->posted_)
                active->posted_ = PostMessageW(active->target_, active->message_, 0, 0) != FALSE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace velmora
