#pragma once
// One move-only owner for every kind of system handle, keyed on the function that closes it. A copy would
// close the handle twice, so there is none.
#include <utility>

#include "platform/win32/Win32.h"

namespace velmora {

// Traits: the empty value and how to close a non-empty one.
template <typename T, auto CloseFn>
struct NullIsEmpty {
    using pointer = T;
    static T Empty() noexcept { return T{}; }
    static void Close(T value) noexcept { CloseFn(value); }
};

template <auto CloseFn>
struct InvalidIsEmpty {
    using pointer = HANDLE;
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE value) noexcept { CloseFn(value); }
};

template <typename Traits>
class unique_any {
  public:
    using pointer = typename Traits::pointer;

    unique_any() noexcept = default;
    explicit unique_any(pointer value) noexcept : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    pointer get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Empty(); }
    explicit operator bool() const noexcept { return valid(); }

    // Closes what is held and takes the new value.
    void reset(pointer value = Traits::Empty()) noexcept {
        pointer old = std::exchange(value_, value);
        if (old != Traits::Empty())
            Traits::Close(old);
    }
    // Gives up ownership without closing.
    pointer release() noexcept { return std::exchange(value_, Traits::Empty()); }
    // Closes what is held and returns the storage for a function that fills in a new handle.
    pointer* put() noexcept {
        reset();
        return &value_;
    }

  private:
    pointer value_ = Traits::Empty();
};

namespace detail {
inline void DeleteGdiObject(HGDIOBJ object) noexcept {
    DeleteObject(object);
}
template <typename T>
void ReleaseCom(T* object) noexcept {
    object->Release();
}
}  // namespace detail

using unique_handle = unique_any<NullIsEmpty<HANDLE, &CloseHandle>>;
using unique_hfile = unique_any<InvalidIsEmpty<&CloseHandle>>;
using unique_hfind = unique_any<InvalidIsEmpty<&FindClose>>;
using unique_hkey = unique_any<NullIsEmpty<HKEY, &RegCloseKey>>;
using unique_hbrush = unique_any<NullIsEmpty<HBRUSH, &detail::DeleteGdiObject>>;
using unique_hpen = unique_any<NullIsEmpty<HPEN, &detail::DeleteGdiObject>>;
using unique_hfont = unique_any<NullIsEmpty<HFONT, &detail::DeleteGdiObject>>;
using unique_hbitmap = unique_any<NullIsEmpty<HBITMAP, &detail::DeleteGdiObject>>;
using unique_hrgn = unique_any<NullIsEmpty<HRGN, &detail::DeleteGdiObject>>;
// A memory device context from CreateCompatibleDC; a window's DC from GetDC needs unique_hdc_window.
using unique_hdc = unique_any<NullIsEmpty<HDC, &DeleteDC>>;
using unique_hhook = unique_any<NullIsEmpty<HHOOK, &UnhookWindowsHookEx>>;
using unique_hwineventhook = unique_any<NullIsEmpty<HWINEVENTHOOK, &UnhookWinEvent>>;
using unique_hicon = unique_any<NullIsEmpty<HICON, &DestroyIcon>>;
using unique_hmenu = unique_any<NullIsEmpty<HMENU, &DestroyMenu>>;
using unique_haccel = unique_any<NullIsEmpty<HACCEL, &DestroyAcceleratorTable>>;
using unique_hwnd = unique_any<NullIsEmpty<HWND, &DestroyWindow>>;
using unique_hmodule = unique_any<NullIsEmpty<HMODULE, &FreeLibrary>>;
// A COM interface pointer, released once; put() takes what a creating function hands out (IID_PPV_ARGS).
template <typename T>
using unique_com = unique_any<NullIsEmpty<T*, &detail::ReleaseCom<T>>>;

// The device context of a window (GetDC), handed back with ReleaseDC to the same window.
class unique_hdc_window {
  public:
    unique_hdc_window() noexcept = default;
    explicit unique_hdc_window(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    unique_hdc_window(const unique_hdc_window&) = delete;
    unique_hdc_window& operator=(const unique_hdc_window&) = delete;
    unique_hdc_window(unique_hdc_window&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    unique_hdc_window& operator=(unique_hdc_window&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    ~unique_hdc_window() { reset(); }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

  private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint and the EndPaint that must follow it, for a window's WM_PAINT.
class unique_hdc_paint {
  public:
    explicit unique_hdc_paint(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    unique_hdc_paint(const unique_hdc_paint&) = delete;
    unique_hdc_paint& operator=(const unique_hdc_paint&) = delete;
    ~unique_hdc_paint() {
        if (dc_ != nullptr)
            EndPaint(window_, &paint_);
    }

    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return paint_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context; the object it replaced is selected again when this goes, so
// the caller's object can be deleted and the context is left as it was found.
class unique_select_object {
  public:
    unique_select_object(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    unique_select_object(const unique_select_object&) = delete;
    unique_select_object& operator=(const unique_select_object&) = delete;
    ~unique_select_object() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace velmora
