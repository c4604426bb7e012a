#include "ui/win32/ProgressWindow.h"

#include <algorithm>

#include "platform/win32/WideText.h"

namespace velmora {
namespace {

// The window's parts in pixels at 96 DPI.
constexpr int kWindowWidth = 281;
constexpr int kWindowHeight = 57;
constexpr int kLabelTop = 8;
constexpr int kLabelHeight = 17;
constexpr int kBarLeft = 16;
constexpr int kBarTop = 24;
constexpr int kBarWidth = 249;
constexpr int kBarHeight = 17;

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
    fillBrush_.reset(CreateSolidBrush(kFillColour));
    backgroundBrush_.reset(CreateSolidBrush(kBackgroundColour));
    if (!CreateWindowOfClass(WS_EX_TOOLWINDOW, Utf8ToWide(label_).c_str(), WS_POPUP, CW_USEDEFAULT,
                             CW_USEDEFAULT, 1, 1, owner_)) {
        return false;
    }
    ApplyDpi();
    PlaceOnOwner(Scale(kWindowWidth), Scale(kWindowHeight));
    if (owner_ != nullptr && IsWindowEnabled(owner_)) {
        EnableWindow(owner_, FALSE);
        ownerDisabled_ = true;
    }
    ShowWindow(Window(), SW_SHOW);
    UpdateWindow(Window());
    return true;
}

void ProgressWindow::ApplyDpi() {
    labelRect_ = {0, Scale(kLabelTop), Scale(kWindowWidth), Scale(kLabelTop + kLabelHeight)};
    barRect_ = {Scale(kBarLeft), Scale(kBarTop), Scale(kBarLeft + kBarWidth), Scale(kBarTop + kBarHeight)};
    font_ = CreateMessageFont(Dpi());
}

void ProgressWindow::OnDpiChanged() {
    ApplyDpi();
    ResizeClient(Scale(kWindowWidth), Scale(kWindowHeight));
    // The bar is drawn again for its new width.
    bar_.Update(barRect_.right - barRect_.left);
    InvalidateRect(Window(), nullptr, TRUE);
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
            unique_hdc_paint paint(Window());
            Paint(paint.get());
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
    const int frameWidth = std::max(1, Scale(1));
    for (int i = 0; i < frameWidth; ++i) {
        FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&client, -1, -1);
    }

    {
        unique_select_object font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT label = labelRect_;
        const std::wstring text = Utf8ToWide(label_);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }

    // The bar shows nothing until a value fills at least one pixel.
    if (const auto& picture = bar_.Picture())
        PaintBar(dc, *picture);
}

// The last thing painted: the bar's clip stays with the paint's device context.
void ProgressWindow::PaintBar(HDC dc, const ProgressPicture& picture) const {
    const RECT& bar = barRect_;
    const int height = bar.bottom - bar.top;
    IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    unique_select_object pen(dc, GetStockObject(BLACK_PEN));
    unique_select_object font(dc, font_.get());
    if (picture.filled > 0) {
        unique_select_object fill(dc, fillBrush_.get());
        Rectangle(dc, bar.left, bar.top, bar.left + picture.filled, bar.bottom);
    }
    {
        // One pixel to the left, so the two parts share their dividing line.
        unique_select_object background(dc, backgroundBrush_.get());
        Rectangle(dc, bar.left + picture.filled - 1, bar.top, bar.right, bar.bottom);
    }

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPercentColour);
    RECT line{};
    DrawTextW(dc, L"1", 1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int lineHeight = line.bottom - line.top;
    RECT textRect{bar.left, bar.top + (height - lineHeight) / 2 + 1, bar.right, 0};
    textRect.bottom = textRect.top + lineHeight;
    const std::wstring percent = Utf8ToWide(picture.percent);
    DrawTextW(dc, percent.c_str(), static_cast<int>(percent.size()), &textRect,
              DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

}  // namespace velmora
