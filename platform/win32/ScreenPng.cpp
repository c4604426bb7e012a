#include "platform/win32/ScreenPng.h"

#include "platform/win32/ComApartment.h"
#include "platform/win32/UniqueHandle.h"

#include <wincodec.h>

#include <vector>

namespace velmora {
namespace {

// Screen pixels in rows of three bytes (blue, green, red), top row first, each row padded to four bytes.
struct ScreenPixels {
    unique_hbitmap bitmap;
    BYTE* bits = nullptr;
    int width = 0, height = 0;
    UINT stride = 0;
};

// 24 bits rather than 32: what BitBlt leaves in a fourth byte is undefined, and the PNG would read it as
// transparency.
std::optional<ScreenPixels> NewPixels(int width, int height) {
    ScreenPixels pixels;
    pixels.width = width;
    pixels.height = height;
    if (width <= 0 || height <= 0)
        return std::nullopt;
    pixels.stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as PNG rows go
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    pixels.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!pixels.bitmap || bits == nullptr)
        return std::nullopt;
    pixels.bits = static_cast<BYTE*>(bits);
    return pixels;
}

RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::optional<ScreenPixels> CaptureVirtualScreen() {
    const RECT area = VirtualScreen();
    std::optional<ScreenPixels> pixels = NewPixels(area.right - area.left, area.bottom - area.top);
    unique_hdc_window screen(nullptr);
    if (!pixels || !screen)
        return std::nullopt;
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    if (!memory)
        return std::nullopt;
    bool copied = false;
    {
        unique_select_object selected(memory.get(), pixels->bitmap.get());
        // Without CAPTUREBLT layered (translucent) windows would be missing from the picture.
        copied = BitBlt(memory.get(), 0, 0, pixels->width, pixels->height, screen.get(), area.left, area.top,
                        SRCCOPY | CAPTUREBLT) != FALSE;
    }
    GdiFlush();
    return copied ? std::move(pixels) : std::nullopt;
}

// Whether a screen shows this thread's desktop: its window station is visible and its desktop takes the
// input. Elsewhere (a station of a service or of a run's own, a locked session) the screen holds other
// pixels, or none.
bool DesktopOnScreen() {
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed) &&
        (flags.dwFlags & WSF_VISIBLE) == 0)
        return false;
    const auto name = [](HDESK desktop) {
        wchar_t text[256] = {};
        DWORD length = 0;
        return GetUserObjectInformationW(desktop, UOI_NAME, text, sizeof text - sizeof text[0], &length)
                   ? std::wstring(text)
                   : std::wstring();
    };
    HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (input == nullptr)
        return false;
    const bool same = name(input) == name(GetThreadDesktop(GetCurrentThreadId()));
    CloseDesktop(input);
    return same;
}

BOOL CALLBACK AddShownWindow(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && !IsIconic(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The picture the screen would show of this thread's desktop: each visible top-level window drawn by itself
// (PrintWindow asks the window to paint into the bitmap, which works where nothing is on a screen), from the
// bottom of the z-order to its top, over the desktop's background colour.
std::optional<ScreenPixels> ComposeDesktopWindows() {
    const RECT area = VirtualScreen();
    std::optional<ScreenPixels> pixels = NewPixels(area.right - area.left, area.bottom - area.top);
    unique_hdc memory(CreateCompatibleDC(nullptr)), window(CreateCompatibleDC(nullptr));
    if (!pixels || !memory || !window)
        return std::nullopt;
    std::vector<HWND> shown;  // topmost first, as the system lists them
    EnumDesktopWindows(GetThreadDesktop(GetCurrentThreadId()), AddShownWindow,
                       reinterpret_cast<LPARAM>(&shown));
    unique_select_object selected(memory.get(), pixels->bitmap.get());
    const RECT all{0, 0, pixels->width, pixels->height};
    FillRect(memory.get(), &all, GetSysColorBrush(COLOR_DESKTOP));
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        RECT place{};
        if (!GetWindowRect(*it, &place))
            continue;
        std::optional<ScreenPixels> own = NewPixels(place.right - place.left, place.bottom - place.top);
        if (!own)
            continue;
        unique_select_object drawn(window.get(), own->bitmap.get());
        if (PrintWindow(*it, window.get(), PW_RENDERFULLCONTENT))
            BitBlt(memory.get(), place.left - area.left, place.top - area.top, own->width, own->height,
                   window.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    return pixels;
}

std::optional<std::string> EncodePng(const ScreenPixels& pixels) {
    unique_com<IWICImagingFactory> factory;
    unique_com<IStream> stream;
    unique_com<IWICBitmapEncoder> encoder;
    unique_com<IWICBitmapFrameEncode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.put()))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
        FAILED(factory.get()->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder.get()->CreateNewFrame(frame.put(), nullptr)) ||
        FAILED(frame.get()->Initialize(nullptr)) ||
        FAILED(frame.get()->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height))))
        return std::nullopt;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    // The encoder may answer with another format it prefers; the rows are only right in this one.
    if (FAILED(frame.get()->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return std::nullopt;
    const UINT size = pixels.stride * static_cast<UINT>(pixels.height);
    if (FAILED(
            frame.get()->WritePixels(static_cast<UINT>(pixels.height), pixels.stride, size, pixels.bits)) ||
        FAILED(frame.get()->Commit()) || FAILED(encoder.get()->Commit()))
        return std::nullopt;

    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream.get()->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(stream.get(), &memory)))
        return std::nullopt;
    const void* locked = GlobalLock(memory);
    if (locked == nullptr)
        return std::nullopt;
    std::string bytes(static_cast<const char*>(locked), static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return bytes;
}

}  // namespace

std::optional<std::string> CaptureScreenAsPng() {
    std::optional<ScreenPixels> pixels = DesktopOnScreen() ? CaptureVirtualScreen() : ComposeDesktopWindows();
    if (!pixels)
        return std::nullopt;
    ComApartment com;
    return EncodePng(*pixels);
}

}  // namespace velmora
