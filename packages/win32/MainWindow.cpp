#include "packages/win32/MainWindow.h"

#include "packages/win32/MainWindowIds.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"

namespace velmora {

namespace {

// Sizes in pixels at 96 DPI; they grow with the window's monitor.
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 380;
constexpr int kMargin = 8;
constexpr int kCommandWidth = 180;
constexpr int kLineHeight = 16;
constexpr int kStatusHeight = 22;

HICON LoadProgramIcon(int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LOGO), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
}

HWND CreateLabel(HWND parent, int id, DWORD style, DWORD exStyle, const std::string& text) {
    return CreateWindowExW(exStyle, L"STATIC", Utf8ToWide(text).c_str(), WS_CHILD | SS_NOPREFIX | style, 0, 0,
                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

const wchar_t* MainWindow::ClassName() {
    return kMainWindowClass;
}

void MainWindow::DescribeClass(WNDCLASSEXW& wc) {
    wc.hIcon = LoadProgramIcon(SM_CXICON, SM_CYICON);
    wc.hIconSm = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
}

bool MainWindow::Show(int showCommand) {
    if (!CreateWindowOfClass(0, Utf8ToWide(caption_).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth, kClientHeight)) {
        return false;
    }
    // The window's monitor is known only now; size the client area for it.
    RECT r{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectExForDpi(&r, WS_OVERLAPPEDWINDOW, FALSE, 0, dpi_);
    SetWindowPos(Window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Window(), showCommand);
    UpdateWindow(Window());
    return true;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    dpi_ = GetDpiForWindow(Window());
    switchesLine_ = CreateLabel(Window(), kIdSwitchesLine, SS_RIGHT | SS_ENDELLIPSIS, 0, texts_.commandText);
    separator_ = CreateLabel(Window(), -1, SS_ETCHEDHORZ, 0, "");
    statusLine_ =
        CreateLabel(Window(), kIdStatusLine, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0, texts_.statusText);
    // The switch label is hidden while there is nothing to show; the status line always has its place.
    ShowWindow(switchesLine_, texts_.commandVisible ? SW_SHOWNA : SW_HIDE);
    ShowWindow(separator_, SW_SHOWNA);
    ShowWindow(statusLine_, SW_SHOWNA);
    ApplyFont();
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    ApplyFont();
    SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The default GUI font is made for 96 DPI; a copy of it is scaled for the window's monitor.
void MainWindow::ApplyFont() {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
    unique_hfont font(CreateFontIndirectW(&lf));
    for (HWND label : {switchesLine_, statusLine_}) {
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);
}

void MainWindow::Layout() {
    RECT client{};
    GetClientRect(Window(), &client);
    const int margin = Scale(kMargin);
    const int commandWidth = Scale(kCommandWidth);
    MoveWindow(switchesLine_, client.right - margin - commandWidth, margin, commandWidth, Scale(kLineHeight),
               TRUE);
    // The status line runs along the bottom under an etched rule.
    const int statusTop = client.bottom - Scale(kStatusHeight);
    MoveWindow(separator_, 0, statusTop, client.right, Scale(2), TRUE);
    MoveWindow(statusLine_, margin, statusTop + Scale(2), client.right - 2 * margin, Scale(kStatusHeight - 2),
               TRUE);
}

void MainWindow::OnDestroy() {
    instanceLock_.Release();
    PostQuitMessage(0);
}

int MainWindow::Scale(int value) const {
    return MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
}

}  // namespace velmora
