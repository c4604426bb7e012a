#pragma once
// The base of the program's window classes (the pattern of Microsoft's Win32 samples). The window keeps a
// pointer to its object in GWLP_USERDATA from WM_NCCREATE on, and every message from then on reaches the
// derived class's HandleMessage. The derived class supplies:
//   static const wchar_t* ClassName();
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// and may hide DescribeClass to set the class's cursor or background, and OnFinalMessage, which runs once the
// window is gone and may delete an object that lives as long as its window.
//
// Every window lays itself out in code, in pixels as drawn at 96 DPI passed through Scale. The base keeps
// the window's DPI: the owner's (or the system's) until the window exists, then its monitor's, and on
// WM_DPICHANGED the new one. It then gives the window the rectangle Windows suggests, its icons at the new
// sizes, and calls OnDpiChanged, where the window makes its fonts again and lays itself out.
#include <utility>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "ui/win32/Controls.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {

template <class Derived>
class BaseWindow {
  public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    // A window that outlives its object is detached first, so its last messages never reach a half-destroyed
    // object.
    virtual ~BaseWindow() {
        if (window_ != nullptr) {
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            DestroyWindow(window_);
        }
    }

    HWND Window() const { return window_; }
    UINT Dpi() const { return dpi_; }
    // Pixels as drawn at 96 DPI, as many pixels at the window's DPI.
    int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

  protected:
    static void DescribeClass(WNDCLASSEXW&) {}
    void OnFinalMessage() {}
    // Fonts, pictures and layout for the new Dpi(); the window already has the rectangle Windows suggested
    // and may change its size (not its place) to fit what it shows.
    virtual void OnDpiChanged() {}

    // Registers the class on first use and creates the window; false when either fails. Until the window
    // exists, Dpi() is the parent's (the owner's), or the system's without one. A window with an owner and no
    // place of its own (CW_USEDEFAULT) is created centred on the owner, so it is born on the owner's monitor
    // with that monitor's DPI.
    bool CreateWindowOfClass(DWORD exStyle, const wchar_t* caption, DWORD style, int x, int y, int width,
                             int height, HWND parent = nullptr, HMENU menu = nullptr) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = Derived::ClassName();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        Derived::DescribeClass(wc);
        if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            return false;
        }
        dpi_ = DpiOf(parent);
        if (x == CW_USEDEFAULT && parent != nullptr) {
            const POINT origin = CentredOrigin(parent, width, height);
            x = origin.x;
            y = origin.y;
        }
        CreateWindowExW(exStyle, Derived::ClassName(), caption, style, x, y, width, height, parent, menu,
                        instance, static_cast<Derived*>(this));
        return window_ != nullptr;
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

    // The size of the whole window around a client area of this size (pixels at the window's DPI).
    SIZE FrameSize(int clientWidth, int clientHeight) const {
        RECT frame{0, 0, clientWidth, clientHeight};
        AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)),
                                 GetMenu(window_) != nullptr,
                                 static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)), dpi_);
        return {frame.right - frame.left, frame.bottom - frame.top};
    }
    // Gives the window a client area of this size, centred on its owner (see CentredOrigin).
    void PlaceOnOwner(int clientWidth, int clientHeight) {
        const SIZE size = FrameSize(clientWidth, clientHeight);
        const POINT origin = CentredOrigin(GetWindow(window_, GW_OWNER), size.cx, size.cy);
        SetWindowPos(window_, nullptr, origin.x, origin.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Gives the window a client area of this size where it stands.
    void ResizeClient(int clientWidth, int clientHeight) {
        const SIZE size = FrameSize(clientWidth, clientHeight);
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Shows the icon `id` of the module (the program's own when null) in the title bar and the task bar, at
    // the sizes of the window's DPI, now and after every DPI change.
    void SetIcons(int id, HINSTANCE module = nullptr) {
        iconId_ = id;
        iconModule_ = module;
        LoadIcons();
    }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            self->dpi_ = DpiOf(window);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after a detach have no object to go to.
        if (self == nullptr) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_DPICHANGED) {
            self->ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            self->OnFinalMessage();
        }
        return result;
    }

    void ChangeDpi(UINT dpi, const RECT& suggested) {
        dpi_ = dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
        SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        LoadIcons();
        OnDpiChanged();
        // Controls that grew over their old places (a group box around its old frame) do not erase what was
        // there; everything is drawn again.
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }

    void LoadIcons() {
        if (iconId_ == 0)
            return;
        unique_hicon big = LoadIconSized(iconId_, GetSystemMetricsForDpi(SM_CXICON, dpi_), iconModule_);
        unique_hicon little = LoadIconSized(iconId_, GetSystemMetricsForDpi(SM_CXSMICON, dpi_), iconModule_);
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little.get()));
        // The old icons go only now that the window no longer shows them.
        bigIcon_ = std::move(big);
        smallIcon_ = std::move(little);
    }

    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    int iconId_ = 0;
    HINSTANCE iconModule_ = nullptr;
    unique_hicon bigIcon_;
    unique_hicon smallIcon_;
};

}  // namespace velmora
