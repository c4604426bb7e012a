#include "platform/win32/Win32WindowSystem.h"

#include <algorithm>

#include <shellscalingapi.h>

#include "platform/win32/ScreenPng.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"

namespace velmora {

namespace {

HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

WindowId ToId(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

// A hung window must not hang the player: the text is then simply not delivered.
constexpr UINT kMessageTimeoutMs = 10000;
// Asking a control what it is waits less: a hung one is taken for no button.
constexpr UINT kQueryTimeoutMs = 2000;

LRESULT DialogCode(HWND window) {
    DWORD_PTR code = 0;
    if (!SendMessageTimeoutW(window, WM_GETDLGCODE, 0, 0, SMTO_ABORTIFHUNG, kQueryTimeoutMs, &code))
        return 0;
    return static_cast<LRESULT>(code);
}

ControlKind ButtonKind(LONG_PTR style) {
    switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return ControlKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ControlKind::RadioButton;
        case BS_GROUPBOX:
            return ControlKind::Other;
        default:
            // Push, default push, split and command-link buttons, and owner-drawn ones, are clicked.
            return ControlKind::PushButton;
    }
}

// Short: a step asks again at its next try.
constexpr UINT kReadyTimeoutMs = 50;

}  // namespace

WindowId Win32WindowSystem::Desktop() {
    return ToId(GetDesktopWindow());
}

WindowId Win32WindowSystem::FindWindowEx(WindowId parent, WindowId after,
                                         const std::optional<std::string>& className,
                                         const std::optional<std::string>& caption) {
    std::wstring wideClass = className ? Utf8ToWide(*className) : std::wstring{};
    std::wstring wideCaption = caption ? Utf8ToWide(*caption) : std::wstring{};
    return ToId(FindWindowExW(ToHwnd(parent), ToHwnd(after), className ? wideClass.c_str() : nullptr,
                              caption ? wideCaption.c_str() : nullptr));
}

WindowId Win32WindowSystem::Parent(WindowId window) {
    return ToId(GetParent(ToHwnd(window)));
}

std::string Win32WindowSystem::Text(WindowId window) {
    int length = GetWindowTextLengthW(ToHwnd(window));
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(ToHwnd(window), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return WideToUtf8(text);
}

std::string Win32WindowSystem::ReadText(WindowId window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &length) ||
        length == 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(ToHwnd(window), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
        return {};
    text.resize(std::min<std::size_t>(copied, text.size() - 1));
    return WideToUtf8(text);
}

bool Win32WindowSystem::SaveScreenshot(const std::string& pngPath) {
    std::optional<std::string> png = CaptureScreenAsPng();
    // Written beside the target and moved over it, so no half-written picture ever stands under its name.
    return png && Win32FileSystem{}.ReplaceFile(pngPath, *png);
}

std::string Win32WindowSystem::ClassName(WindowId window) {
    wchar_t name[257] = {};  // class names are at most 256 characters
    int copied = GetClassNameW(ToHwnd(window), name, 257);
    return WideToUtf8(std::wstring(name, static_cast<std::size_t>(copied > 0 ? copied : 0)));
}

WindowId Win32WindowSystem::FromPoint(Point screen) {
    return ToId(WindowFromPoint(POINT{screen.x, screen.y}));
}

Point Win32WindowSystem::ClientToScreen(WindowId window, Point client) {
    POINT point{client.x, client.y};
    ::ClientToScreen(ToHwnd(window), &point);
    return {point.x, point.y};
}

Point Win32WindowSystem::ScreenToClient(WindowId window, Point screen) {
    POINT point{screen.x, screen.y};
    ::ScreenToClient(ToHwnd(window), &point);
    return {point.x, point.y};
}

Size Win32WindowSystem::ClientSize(WindowId window) {
    RECT client{};
    if (!GetClientRect(ToHwnd(window), &client))
        return {};
    return {client.right - client.left, client.bottom - client.top};
}

int Win32WindowSystem::Dpi(WindowId window) {
    if (!IsWindow(ToHwnd(window)))
        return 0;
    static const auto dpiForMonitor =
        SystemFunction<decltype(GetDpiForMonitor)>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (dpiForMonitor != nullptr && dpiForMonitor(MonitorFromWindow(ToHwnd(window), MONITOR_DEFAULTTONEAREST),
                                                  MDT_EFFECTIVE_DPI, &x, &y) == S_OK)
        return static_cast<int>(x);
    return static_cast<int>(GetDpiForWindow(ToHwnd(window)));
}

SystemProcessId Win32WindowSystem::ProcessOf(WindowId window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(ToHwnd(window), &process) != 0 ? process : 0;
}

Point Win32WindowSystem::CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

bool Win32WindowSystem::SetCursorPos(Point screen) {
    return ::SetCursorPos(screen.x, screen.y) != FALSE;
}

// SendInput with the flags mouse_event takes: without the move flag the coordinates are ignored and the
// button acts where the cursor already is. It answers how many events it inserted: none while the session is
// locked or another desktop takes the input.
bool Win32WindowSystem::MouseEvent(unsigned flags, int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}

bool Win32WindowSystem::SetForeground(WindowId window) {
    return SetForegroundWindow(ToHwnd(window)) != FALSE;
}

void Win32WindowSystem::SetText(WindowId window, const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                        SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result);
}

void Win32WindowSystem::SetTopMost(WindowId window, bool topMost) {
    SetWindowPos(ToHwnd(window), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool Win32WindowSystem::ReadyForInput(WindowId window) {
    HWND hwnd = ToHwnd(window);
    // IsWindowVisible already asks the same of every parent.
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd))
        return false;
    for (HWND at = hwnd; at != nullptr && (GetWindowLongW(at, GWL_STYLE) & WS_CHILD) != 0;
         at = GetParent(at)) {
        if (!IsWindowEnabled(at))
            return false;
    }
    // A thread that is busy making a page answers only once it pumps messages again.
    DWORD_PTR answer = 0;
    return IsWindowEnabled(GetAncestor(hwnd, GA_ROOT)) &&
           SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kReadyTimeoutMs, &answer) != 0;
}

ControlKind Win32WindowSystem::KindOf(WindowId window) {
    const LRESULT code = DialogCode(ToHwnd(window));
    if (code & DLGC_RADIOBUTTON)
        return ControlKind::RadioButton;
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
        return ControlKind::PushButton;
    if (code & DLGC_BUTTON)
        return ButtonKind(GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
    return ControlKind::Other;
}

WindowId Win32WindowSystem::ChildAt(WindowId window, Point client) {
    HWND at = ToHwnd(window);
    POINT point{client.x, client.y};
    // Disabled windows are not skipped: a disabled control under the point makes the step wait for it.
    for (int depth = 0; depth < 64; ++depth) {
        HWND child = ChildWindowFromPointEx(at, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (child == nullptr || child == at)
            break;
        MapWindowPoints(at, child, &point, 1);
        at = child;
    }
    return ToId(at);
}

// A window that is gone must not turn into no window: posted to none, a message goes to this thread's queue.
bool Win32WindowSystem::PostClick(WindowId window) {
    const HWND target = ToHwnd(window);
    return IsWindow(target) && PostMessageW(target, BM_CLICK, 0, 0) != FALSE;
}

bool Win32WindowSystem::PostMouse(WindowId window, unsigned message, Point client, unsigned keys) {
    const HWND target = ToHwnd(window);
    return IsWindow(target) &&
           PostMessageW(target, message, keys,
                        MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y))) != FALSE;
}

void Win32WindowSystem::EndTextEntry(WindowId window) {
    const HWND field = ToHwnd(window);
    const HWND parent = GetParent(field);
    // A text field says so by taking selections; the control id is only a child's.
    if (parent == nullptr || !(GetWindowLongPtrW(field, GWL_STYLE) & WS_CHILD) ||
        !(DialogCode(field) & DLGC_HASSETSEL))
        return;
    const int id = GetDlgCtrlID(field);
    PostMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(field));
}

void Win32WindowSystem::PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit request for the loop that owns the thread.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace velmora
