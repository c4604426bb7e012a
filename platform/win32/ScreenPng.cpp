#include "platform/win32/ScreenPng.h"

#include "platform/win32/ComApartment.h"
#include "platform/win32/UniqueHandle.h"

#include <wincodec.h>

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
std::optional<ScreenPixels> CaptureVirtualScreen() {
    ScreenPixels pixels;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    pixels.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    pixels.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (pixels.width <= 0 || pixels.height <= 0)
        return std::nullopt;
    pixels.stride = (static_cast<UINT>(pixels.width) * 3 + 3) & ~3u;

    unique_hdc_window screen(nullptr);
    if (!screen)
        return std::nullopt;
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top-down, as PNG rows go
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    pixels.bitmap.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !pixels.bitmap || bits == nullptr)
        return std::nullopt;
    bool copied = false;
    {
        unique_select_object selected(memory.get(), pixels.bitmap.get());
        // Without CAPTUREBLT layered (translucent) windows would be missing from the picture.
        copied = BitBlt(memory.get(), 0, 0, pixels.width, pixels.height, screen.get(), left, top,
                        SRCCOPY | CAPTUREBLT) != FALSE;
    }
    GdiFlush();
    if (!copied)
        return std::nullopt;
    pixels.bits = static_cast<BYTE*>(bits);
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
    std::optional<ScreenPixels> pixels = CaptureVirtualScreen();
    if (!pixels)
        return std::nullopt;
    ComApartment com;
    return EncodePng(*pixels);
}

}  // namespace velmora
