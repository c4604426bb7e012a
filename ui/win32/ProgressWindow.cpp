#include "ui/win32/ProgressWindow.h"

#include <algorithm>

#include "platform/win32/WideText.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {
namespace {

// The window's parts in twips, 1440 to the inch, as the window was first laid out.
constexpr int kWindowWidth = 4215;
constexpr int kWindowHeight = 855;
constexpr int kLabelTop = 120;
constexpr int kLabelHeight = 255;
constexpr int kBarLeft = 240;
constexpr int kBarTop = 360;
constexpr int kBarWidth = 3735;
constexpr int kBarHeight = 255;

constexpr COLORREF kFillColour = RGB(128, 128, 128);
constexpr COLORREF kBackgroundColour = RGB(130, 130, 180);
constexpr COLORREF kPercentColour = RGB(255, 255, 0);

// More than any burst of input or painting; a window that keeps posting to itself cannot hold the caller.
constexpr int kMaxPumpedMessages = 500;

void PumpPendingMessages() {
    MSG message;
    for (int i = 0; i < kMaxPumpedMessages && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that owns the thread
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

ProgressWindow::ProgressWindow(HWND owner, const Language& language)
    : owner_(owner), label_(language.LangText("Чтение информации", "Progress", 1)) {}

ProgressWindow::~ProgressWindow() {
    Close();
}

bool ProgressWindow::Show() {
    if (Window() != nullptr)
        return true;
    dpi_ = owner_ != nullptr ? GetDpiForWindow(owner_) : GetDpiForSystem();
    if (dpi_ == 0)
        dpi_ = USER_DEFAULT_SCREEN_DPI;
    const int width = Scale(kWindowWidth);
    const int height = Scale(kWindowHeight);
    labelRect_ = {0, Scale(kLabelTop), width, Scale(kLabelTop + kLabelHeight)};
    barRect_ = {Scale(kBarLeft), Scale(kBarTop), Scale(kBarLeft + kBarWidth), Scale(kBarTop + kBarHeight)};

    const LOGFONTW message = MessageFont(dpi_);
    font_.reset(CreateFontIndirectW(&message));
    fillBrush_.reset(CreateSolidBrush(kFillColour));
    backgroundBrush_.reset(CreateSolidBrush(kBackgroundColour));

    const POINT origin = CentredOrigin(owner_, width, height);
    if (!CreateWindowOfClass(WS_EX_TOOLWINDOW, Utf8ToWide(label_).c_str(), WS_POPUP, origin.x, origin.y,
                             width, height, owner_)) {
        return false;
    }
    if (owner_ != nullptr && IsWindowEnabled(owner_)) {
        EnableWindow(owner_, FALSE);
        ownerDisabled_ = true;
    }
    ShowWindow(Window(), SW_SHOW);
    UpdateWindow(Window());
    return true;
}

void ProgressWindow::SetValue(int value) {
    bar_.SetValue(value);
    if (Window() == nullptr || !bar_.Update(barRect_.right - barRect_.left))
        return;
    InvalidateRect(Window(), &barRect_, FALSE);
    UpdateWindow(Window());
    PumpPendingMessages();
}

void ProgressWindow::Close() {
    // The owner gets its input back before the window goes, so activation returns to it and not to another
    // program.
    if (ownerDisabled_) {
        EnableWindow(owner_, TRUE);
        ownerDisabled_ = false;
    }
    if (Window() != nullptr)
        DestroyWindow(Window());
}

LRESULT ProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Window(), &paint);
            Paint(dc);
            EndPaint(Window(), &paint);
            return 0;
        }
        case WM_CLOSE:
            // Only the owner ends the window, when its work is done.
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void ProgressWindow::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Window(), &client);
    // The frame around the whole window, as wide as one pixel is at 96 DPI.
    const int frameWidth = std::max(1, MulDiv(1, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI));
    for (int i = 0; i < frameWidth; ++i) {
        FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&client, -1, -1);
    }

    const int saved = SaveDC(dc);
    SelectObject(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT label = labelRect_;
    const std::wstring text = Utf8ToWide(label_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    RestoreDC(dc, saved);

    // The bar shows nothing until a value fills at least one pixel.
    if (const auto& picture = bar_.Picture())
        PaintBar(dc, *picture);
}

void ProgressWindow::PaintBar(HDC dc, const ProgressPicture& picture) const {
    const int width = barRect_.right - barRect_.left;
    const int height = barRect_.bottom - barRect_.top;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, barRect_.left, barRect_.top, barRect_.right, barRect_.bottom);
    SetViewportOrgEx(dc, barRect_.left, barRect_.top, nullptr);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, font_.get());

    if (picture.filled > 0) {
        SelectObject(dc, fillBrush_.get());
        Rectangle(dc, 0, 0, picture.filled, height);
    }
    // One pixel to the left, so the two parts share their dividing line.
    SelectObject(dc, backgroundBrush_.get());
    Rectangle(dc, picture.filled - 1, 0, width, height);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPercentColour);
    RECT line{};
    DrawTextW(dc, L"1", 1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int lineHeight = line.bottom - line.top;
    RECT textRect{0, (height - lineHeight) / 2 + 1, width, 0};
    textRect.bottom = textRect.top + lineHeight;
    const std::wstring percent = Utf8ToWide(picture.percent);
    DrawTextW(dc, percent.c_str(), static_cast<int>(percent.size()), &textRect,
              DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    RestoreDC(dc, saved);
}

}  // namespace velmora
