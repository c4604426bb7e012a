#pragma once
// The base of the program's window classes (the pattern of Microsoft's Win32 samples). The window keeps a
// pointer to its object in GWLP_USERDATA from WM_NCCREATE on, and every message from then on reaches the
// derived class's HandleMessage. The derived class supplies:
//   static const wchar_t* ClassName();
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// and may hide DescribeClass to set the class's icon, cursor or background, and OnFinalMessage, which runs
// once the window is gone and may delete an object that lives as long as its window.
#include "platform/win32/Win32.h"

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

  protected:
    static void DescribeClass(WNDCLASSEXW&) {}
    void OnFinalMessage() {}

    // Registers the class on first use and creates the window; false when either fails.
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
        CreateWindowExW(exStyle, Derived::ClassName(), caption, style, x, y, width, height, parent, menu,
                        instance, static_cast<Derived*>(this));
        return window_ != nullptr;
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after a detach have no object to go to.
        if (self == nullptr) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            self->OnFinalMessage();
        }
        return result;
    }

    HWND window_ = nullptr;
};

}  // namespace velmora
