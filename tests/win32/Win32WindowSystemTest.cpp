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
    void SetShown(WindowId window, bool visible, bool enabled) {
        ShowWindow(H(window), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
        EnableWindow(H(window), enabled);
    }
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

// What a control is, it says itself: a button class of an installer's own (Inno Setup's TNewButton) is a
// button all the same.
TEST(Win32WindowSystem, AControlsKindIsWhatItAnswersNotWhatItsClassIsCalled) {
    WNDCLASSEXW button{};
    button.cbSize = sizeof button;
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"BUTTON", &button));
    static WNDPROC buttonProc = button.lpfnWndProc;
    button.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) {
        return CallWindowProcW(buttonProc, w, m, wp, lp);
    };
    button.hInstance = GetModuleHandleW(nullptr);
    button.lpszClassName = L"VelmoraOwnButton";
    RegisterClassExW(&button);
    EnsureClass(L"VelmoraKindFrame");
    unique_hwnd frame(CreateWindowExW(0, L"VelmoraKindFrame", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    const struct {
        const wchar_t* className;
        DWORD style;
        ControlKind kind;
    } cases[] = {{L"BUTTON", BS_PUSHBUTTON, ControlKind::PushButton},
                 {L"BUTTON", BS_DEFPUSHBUTTON, ControlKind::PushButton},
                 {L"BUTTON", BS_AUTOCHECKBOX, ControlKind::CheckBox},
                 {L"BUTTON", BS_3STATE, ControlKind::CheckBox},
                 {L"BUTTON", BS_AUTORADIOBUTTON, ControlKind::RadioButton},
                 {L"BUTTON", BS_GROUPBOX, ControlKind::Other},
                 {L"VelmoraOwnButton", BS_PUSHBUTTON, ControlKind::PushButton},
                 {L"VelmoraOwnButton", BS_AUTOCHECKBOX, ControlKind::CheckBox},
                 {L"EDIT", ES_AUTOHSCROLL, ControlKind::Other},
                 {L"STATIC", 0, ControlKind::Other}};
    Win32WindowSystem windows;
    for (const auto& c : cases) {
        HWND control = CreateWindowExW(0, c.className, L"x", WS_CHILD | c.style, 10, 10, 80, 25, frame.get(),
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_EQ(windows.KindOf(Id(control)), c.kind) << WideToUtf8(c.className) << " " << c.style;
        DestroyWindow(control);
    }
}

// By messages a button gets its own click, a window its mouse messages at client points with the buttons
// held, and a text field's parent the end of typing in it.
TEST(Win32WindowSystem, PostedClickMouseMessagesAndTheEndOfTypingReachTheirWindows) {
    static std::vector<std::vector<LPARAM>> seen;  // message, wParam, lParam
    seen.clear();
    EnsureClass(L"VelmoraPostedTarget", [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_COMMAND || m == WM_LBUTTONDOWN || m == WM_MOUSEMOVE || m == WM_LBUTTONUP)
            seen.push_back({static_cast<LPARAM>(m), static_cast<LPARAM>(wp), m == WM_COMMAND ? 0 : lp});
        return DefWindowProcW(w, m, wp, lp);
    });
    // A window shown under the pointer (where an earlier test left it) hears of it from the system.
    SetCursorPos(1200, 1000);
    unique_hwnd frame(CreateWindowExW(0, L"VelmoraPostedTarget", L"", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    HWND button =
        CreateWindowExW(0, L"BUTTON", L"Next", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 25,
                        frame.get(), reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 50, 200, 22, frame.get(),
                                reinterpret_cast<HMENU>(9), GetModuleHandleW(nullptr), nullptr);
    Win32WindowSystem windows;
    ASSERT_TRUE(windows.PostClick(Id(button)));
    ASSERT_TRUE(PumpUntil([] { return !seen.empty(); }));
    windows.EndTextEntry(Id(button));  // not a text field: its parent hears nothing
    windows.EndTextEntry(Id(edit));
    ASSERT_TRUE(windows.PostMouse(Id(frame.get()), kMessageLeftDown, {12, 34}, kKeyLeft));
    ASSERT_TRUE(windows.PostMouse(Id(frame.get()), kMessageMouseMove, {15, 36}, kKeyLeft));
    ASSERT_TRUE(windows.PostMouse(Id(frame.get()), kMessageLeftUp, {16, 37}, 0));
    ASSERT_TRUE(PumpUntil([] { return seen.size() >= 5; }));
    windows.PumpMessages();
    const std::vector<std::vector<LPARAM>> expected{{WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0},
                                                    {WM_COMMAND, MAKEWPARAM(9, EN_KILLFOCUS), 0},
                                                    {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34)},
                                                    {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(15, 36)},
                                                    {WM_LBUTTONUP, 0, MAKELPARAM(16, 37)}};
    // The edit field may tell its parent of other things (a change of focus): only these are looked for.
    std::erase_if(seen, [](const std::vector<LPARAM>& m) {
        return m[0] == WM_COMMAND && HIWORD(m[1]) != BN_CLICKED && HIWORD(m[1]) != EN_KILLFOCUS;
    });
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(windows.PostClick(0));
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
