#include "platform/win32/Win32WindowSystem.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/ComApartment.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/contract/WindowSystemContract.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/WindowTools.h"

#include <wincodec.h>

namespace velmora {
namespace {

HWND H(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

WindowId Id(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

void EnsureClass(const std::wstring& name, WNDPROC proc = DefWindowProcW, HBRUSH background = nullptr) {
    // A class that exists already stays as it is.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = background ? background : GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
}

// Real windows of this process; top-level ones are popups, so GetParent answers their owner.
class Win32World {
  public:
    WindowSystem& System() { return system_; }

    WindowId AddTopLevel(const std::string& className, const std::string& caption, Point origin, Size size,
                         WindowId owner = 0) {
        return Create(className, caption, WS_POPUP, origin, size, H(owner));
    }
    WindowId AddChild(WindowId parent, const std::string& className, const std::string& caption, Point origin,
                      Size size) {
        return Create(className, caption, WS_CHILD, origin, size, H(parent));
    }
    bool IsTopMost(WindowId window) { return (GetWindowLongW(H(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    int ScreenDpi() { return static_cast<int>(GetDpiForSystem()); }
    SystemProcessId OwnProcess() { return GetCurrentProcessId(); }

  private:
    WindowId Create(const std::string& className, const std::string& caption, DWORD style, Point origin,
                    Size size, HWND parent) {
        std::wstring wideClass = Utf8ToWide(className);
        EnsureClass(wideClass);
        HWND window =
            CreateWindowExW(0, wideClass.c_str(), Utf8ToWide(caption).c_str(), style, origin.x, origin.y,
                            size.width, size.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        if (!(style & WS_CHILD))
            created_.emplace_back(window);
        return Id(window);
    }

    Win32WindowSystem system_;
    std::vector<unique_hwnd> created_;  // children go with their parent
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowSystemContract, Win32World);
}  // namespace contract

namespace {

TEST(Win32WindowSystem, PumpDispatchesWaitingMessagesAndLeavesTheQuitRequest) {
    static int seen = 0;
    EnsureClass(L"VelmoraPumpTarget", [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        seen += m == WM_APP ? 1 : 0;
        return DefWindowProcW(w, m, wp, lp);
    });
    unique_hwnd target(CreateWindowExW(0, L"VelmoraPumpTarget", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
    PostMessageW(target.get(), WM_APP, 0, 0);
    PostMessageW(target.get(), WM_APP, 0, 0);
    PostQuitMessage(5);
    Win32WindowSystem{}.PumpMessages();
    EXPECT_EQ(seen, 2);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
}

// A PNG file's size and the blue, green and red of one pixel, read back with the system's decoder.
struct PngPixel {
    UINT width = 0, height = 0;
    BYTE bgr[3] = {};
};

std::optional<PngPixel> ReadPngPixel(const std::string& path, POINT at) {
    ComApartment com;
    unique_com<IWICImagingFactory> factory;
    unique_com<IWICBitmapDecoder> decoder;
    unique_com<IWICBitmapFrameDecode> frame;
    PngPixel pixel;
    WICPixelFormatGUID format{};
    WICRect one{at.x, at.y, 1, 1};
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory.get()->CreateDecoderFromFilename(Utf8ToWide(path).c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())) ||
        FAILED(frame.get()->GetSize(&pixel.width, &pixel.height)) ||
        FAILED(frame.get()->GetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) ||
        FAILED(frame.get()->CopyPixels(&one, 3, 3, pixel.bgr)))
        return std::nullopt;
    return pixel;
}

TEST(Win32WindowSystem, ScreenshotIsAPngOfTheWholeScreenOrNoFileAtAll) {
    static HBRUSH green = CreateSolidBrush(RGB(0x20, 0xC0, 0x60));  // the class uses it for the whole run
    EnsureClass(L"VelmoraSolidGreen", DefWindowProcW, green);
    unique_hwnd window(CreateWindowExW(WS_EX_TOPMOST, L"VelmoraSolidGreen", L"", WS_POPUP | WS_VISIBLE, 300,
                                       200, 160, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    Win32WindowSystem windows;
    ASSERT_TRUE(WaitUntil([&] {
        windows.PumpMessages();
        Picture centre = Capture(RECT{370, 250, 390, 270});
        return centre.Count(0x20, 0xC0, 0x60) == 400;
    }));

    TempFolder folder;
    const std::string path = folder.Path() + "\\screen.png";
    ASSERT_TRUE(windows.SaveScreenshot(path));
    EXPECT_EQ("\x89PNG\r\n\x1a\n", Win32FileSystem{}.ReadAll(path).value_or("").substr(0, 8));
    std::optional<PngPixel> pixel = ReadPngPixel(
        path, POINT{380 - GetSystemMetrics(SM_XVIRTUALSCREEN), 260 - GetSystemMetrics(SM_YVIRTUALSCREEN)});
    ASSERT_TRUE(pixel.has_value());
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), static_cast<int>(pixel->width));
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), static_cast<int>(pixel->height));
    EXPECT_EQ((std::vector<int>{0x60, 0xC0, 0x20}),
              (std::vector<int>{pixel->bgr[0], pixel->bgr[1], pixel->bgr[2]}));

    EXPECT_FALSE(windows.SaveScreenshot(folder.Path() + "\\missing\\screen.png"));
    EXPECT_EQ(std::vector<std::string>{"screen.png"}, Win32FileSystem{}.ListFiles(folder.Path(), "*"));
}

// Where no screen shows the desktop (a window station of a run's own, a service's), the picture is made of
// the desktop's windows, each drawing itself: the green window is there, the screen's pixels are not.
TEST(Win32WindowSystem, ScreenshotOfADesktopNoScreenShowsIsMadeOfItsWindows) {
    HWINSTA shown = GetProcessWindowStation();
    unique_any<NullIsEmpty<HWINSTA, &CloseWindowStation>> station(
        CreateWindowStationW(L"VelmoraShots", 0, WINSTA_ALL_ACCESS, nullptr));
    ASSERT_TRUE(station && SetProcessWindowStation(station.get()));
    unique_any<NullIsEmpty<HDESK, &CloseDesktop>> desktop(
        CreateDesktopW(L"Shots", nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    TempFolder folder;
    const std::string path = folder.Path() + "\\hidden.png";
    bool saved = false;
    std::thread([&] {
        if (!desktop || !SetThreadDesktop(desktop.get()))
            return;
        static HBRUSH green = CreateSolidBrush(RGB(0x20, 0xC0, 0x60));
        EnsureClass(L"VelmoraHiddenGreen", DefWindowProcW, green);
        unique_hwnd window(CreateWindowExW(0, L"VelmoraHiddenGreen", L"", WS_POPUP | WS_VISIBLE, 300, 200,
                                           160, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        Win32WindowSystem windows;
        windows.PumpMessages();
        saved = window && windows.SaveScreenshot(path);
    }).join();
    SetProcessWindowStation(shown);
    ASSERT_TRUE(saved);
    std::optional<PngPixel> pixel = ReadPngPixel(
        path, POINT{380 - GetSystemMetrics(SM_XVIRTUALSCREEN), 260 - GetSystemMetrics(SM_YVIRTUALSCREEN)});
    ASSERT_TRUE(pixel.has_value());
    EXPECT_EQ((std::vector<int>{0x60, 0xC0, 0x20}),
              (std::vector<int>{pixel->bgr[0], pixel->bgr[1], pixel->bgr[2]}));
}

}  // namespace
}  // namespace velmora
