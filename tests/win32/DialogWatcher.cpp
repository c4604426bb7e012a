#include "tests/win32/DialogWatcher.h"

#include <vector>

namespace velmora {
namespace {

struct Search {
    const WindowMatch* match;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && (*search->match)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool IsDialog(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770";
}

}  // namespace

WindowMatch DialogTitled(const std::wstring& caption) {
    return [caption](HWND window) { return IsDialog(window) && WindowText(window) == caption; };
}

WindowMatch AnyDialogExcept(HWND except) {
    return [except](HWND window) { return window != except && IsDialog(window); };
}

HWND WaitForWindow(const WindowMatch& match, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Search search{&match, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(20);  // a polling interval, not a wait for something to have happened
    }
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item == nullptr ? L"<no item>" : WindowText(item);
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogWatcher::DialogWatcher(WindowMatch match, std::function<void(HWND)> act)
    : thread_([this, match = std::move(match), act = std::move(act)] {
          HWND window = WaitForWindow(match);
          found_ = window != nullptr;
          if (found_) {
              act(window);
              return;
          }
          // Nothing matched: end any dialog of ours so the modal loop on the test thread returns.
          if (HWND stray = WaitForWindow(AnyDialogExcept(), 2000)) {
              PressButton(stray, IDCANCEL);
              PressButton(stray, IDNO);
              PressButton(stray, IDOK);
          }
      }) {}

DialogWatcher::~DialogWatcher() {
    Join();
}

bool DialogWatcher::Join() {
    if (thread_.joinable())
        thread_.join();
    return found_;
}

}  // namespace velmora
