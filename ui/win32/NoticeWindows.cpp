#include "ui/win32/NoticeWindows.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/NoticeTexts.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/NoticeWindowIds.h"

namespace velmora {
namespace {

// Layout at 96 DPI, client pixels.
constexpr int kClientWidth = 420;
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kPictureSize = 27;  // the control panel's buttons
constexpr int kGap = 8;
constexpr int kFrameTop = 20;  // room for the frame's caption
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

// One hint: its texts, its setting and its pictures.
struct NoticeContent {
    NoticeTexts texts;
    SettingKey setting;
    int windowIcon;
    int introIcon;              // 0: no line beside an icon
    std::vector<int> pictures;  // per line: a bitmap id, or 0
};

// The other windows of the thread take no input while the hint is up, as with a task-modal message box.
class ThreadWindowsDisabled {
  public:
    ThreadWindowsDisabled() {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM list) {
                if (IsWindowVisible(window) && IsWindowEnabled(window)) {
                    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                    EnableWindow(window, FALSE);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&disabled_));
    }
    ~ThreadWindowsDisabled() {
        for (HWND window : disabled_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

  private:
    std::vector<HWND> disabled_;
};

class NoticeWindow : public BaseWindow<NoticeWindow> {
  public:
    static const wchar_t* ClassName() { return notice_window::kClassName; }
    NoticeWindow(NoticeContent content, SettingsStore& settings, HINSTANCE resources)
        : content_(std::move(content)),
          settings_(settings),
          resources_(resources ? resources : GetModuleHandleW(nullptr)) {}

    void Run();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    HWND Add(const wchar_t* className, int id, DWORD style, const std::string& text = {}) {
        return AddControl(Window(), className, id, style, text);
    }
    void OnCreate();
    // Fonts and pictures for the window's DPI, then every part placed; answers the client height.
    int ApplyDpi();
    void OnDpiChanged() override { ResizeClient(Scale(kClientWidth), ApplyDpi()); }
    // The intro beside its icon, the frame with its lines and the buttons, each from y down; each answers
    // where the next part begins.
    int PlaceIntro(int y);
    int PlaceFrame(int y);
    int PlaceButtons(int y);
    int PlaceText(HWND control, int x, int y, int width) const;

    NoticeContent content_;
    SettingsStore& settings_;
    HINSTANCE resources_;
    unique_hfont font_;
    unique_hicon introIcon_;
    std::vector<unique_hbitmap> pictureBitmaps_;
    HWND introIconControl_ = nullptr, intro_ = nullptr, frame_ = nullptr, heading_ = nullptr;
    HWND showAgain_ = nullptr, close_ = nullptr;
    std::vector<HWND> pictures_, lines_;
    bool done_ = false;
};

void NoticeWindow::OnCreate() {
    using namespace notice_window;
    const NoticeTexts& t = content_.texts;
    SetText(Window(), t.title);
    SetIcons(content_.windowIcon, resources_);
    if (content_.introIcon != 0) {
        introIconControl_ = Add(L"STATIC", -1, SS_ICON | SS_REALSIZECONTROL);
        intro_ = Add(L"STATIC", kIntro, SS_LEFT | SS_NOPREFIX, t.intro);
    }
    frame_ = Add(L"BUTTON", kFrame, BS_GROUPBOX, t.frame);
    if (!t.heading.empty())
        heading_ = Add(L"STATIC", kHeading, SS_LEFT | SS_NOPREFIX, t.heading);
    for (std::size_t i = 0; i < t.lines.size(); ++i) {
        const bool picture = i < content_.pictures.size() && content_.pictures[i] != 0;
        pictures_.push_back(picture ? Add(L"STATIC", -1, SS_BITMAP) : nullptr);
        lines_.push_back(Add(L"STATIC", kFirstLine + static_cast<int>(i), SS_LEFT | SS_NOPREFIX, t.lines[i]));
    }
    showAgain_ = Add(L"BUTTON", kShowAgain, WS_TABSTOP | BS_AUTOCHECKBOX, t.showAgain);
    close_ = Add(L"BUTTON", kClose, WS_TABSTOP | BS_DEFPUSHBUTTON, "OK");
    PlaceOnOwner(Scale(kClientWidth), ApplyDpi());
}

int NoticeWindow::PlaceText(HWND control, int x, int y, int width) const {
    unique_hdc_window dc(control);
    unique_select_object font(dc.get(), font_.get());
    const std::wstring text = Utf8ToWide(TextOf(control));
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    MoveWindow(control, x, y, width, r.bottom, TRUE);
    return r.bottom;
}

int NoticeWindow::ApplyDpi() {
    font_ = CreateMessageFont(Dpi());
    SetChildFonts(Window(), font_.get());
    int y = Scale(kMargin);
    if (intro_ != nullptr)
        y = PlaceIntro(y);
    return PlaceButtons(PlaceFrame(y));
}

int NoticeWindow::PlaceIntro(int y) {
    const int margin = Scale(kMargin);
    const int right = Scale(kClientWidth) - margin;
    const int iconSize = Scale(kIconSize);
    introIcon_ = LoadIconSized(content_.introIcon, iconSize, resources_);
    SendMessageW(introIconControl_, STM_SETICON, reinterpret_cast<WPARAM>(introIcon_.get()), 0);
    MoveWindow(introIconControl_, margin, y, iconSize, iconSize, TRUE);
    const int left = margin + iconSize + Scale(kMargin);
    const int height = PlaceText(intro_, left, y, right - left);
    if (height < iconSize)  // a short line stands in the middle of the icon
        MoveWindow(intro_, left, y + (iconSize - height) / 2, right - left, height, TRUE);
    return y + std::max(height, iconSize) + Scale(kGap);
}

int NoticeWindow::PlaceFrame(int frameTop) {
    const int margin = Scale(kMargin);
    const int gap = Scale(kGap);
    const int right = Scale(kClientWidth) - margin;
    const int inner = margin + Scale(kMargin);
    int y = frameTop + Scale(kFrameTop);
    if (heading_ != nullptr)
        y += PlaceText(heading_, inner, y, right - Scale(kMargin) - inner) + gap;
    pictureBitmaps_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        int left = inner;
        int pictureHeight = 0;
        if (pictures_[i] != nullptr) {
            pictureBitmaps_.push_back(LoadFaceBitmap(content_.pictures[i], Dpi(), resources_));
            SendMessageW(pictures_[i], STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(pictureBitmaps_.back().get()));
            pictureHeight = Scale(kPictureSize);
            MoveWindow(pictures_[i], inner, y, pictureHeight, pictureHeight, TRUE);
            left += pictureHeight + gap;
        }
        const int width = right - Scale(kMargin) - left;
        const int height = PlaceText(lines_[i], left, y, width);
        if (height < pictureHeight)
            MoveWindow(lines_[i], left, y + (pictureHeight - height) / 2, width, height, TRUE);
        y += std::max(height, pictureHeight) + gap;
    }
    y += Scale(kMargin) - gap;
    MoveWindow(frame_, margin, frameTop, right - margin, y - frameTop, TRUE);
    return y + gap;
}

int NoticeWindow::PlaceButtons(int y) {
    const int margin = Scale(kMargin);
    const int right = Scale(kClientWidth) - margin;
    const int buttonWidth = Scale(kButtonWidth);
    const int buttonHeight = Scale(kButtonHeight);
    MoveWindow(close_, right - buttonWidth, y, buttonWidth, buttonHeight, TRUE);
    MoveWindow(showAgain_, margin, y, right - buttonWidth - Scale(kGap) - margin, buttonHeight, TRUE);
    return y + buttonHeight + margin;
}

LRESULT NoticeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == notice_window::kClose) {
                StoreHintChoice(settings_, content_.setting,
                                SendMessageW(showAgain_, BM_GETCHECK, 0, 0) == BST_CHECKED);
                done_ = true;
            } else if (LOWORD(wParam) == IDCANCEL) {
                done_ = true;  // Escape closes without storing, as the window's close box does
            }
            return 0;
        case WM_CLOSE:
            done_ = true;
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void NoticeWindow::Run() {
    auto others = std::make_optional<ThreadWindowsDisabled>();
    if (!CreateWindowOfClass(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100))
        return;
    ShowWindow(Window(), SW_SHOW);
    SetForegroundWindow(Window());
    SetFocus(close_);
    RunModalLoop(Window(), done_, true);
    // The others take input again before the hint goes, so activation returns to one of them.
    others.reset();
    DestroyWindow(Window());
}

}  // namespace

void ShowRecordingHint(const Language& language, SettingsStore& settings, HINSTANCE resources) {
    NoticeWindow window({RecordingHintTexts(language),
                         kSettingFirstTip,
                         IDI_LOGO,
                         IDI_NOTICE,
                         {IDB_PANEL_PAUSE, IDB_PANEL_STOP}},
                        settings, resources);
    window.Run();
}

void ShowPauseHint(const Language& language, SettingsStore& settings, HINSTANCE resources) {
    NoticeWindow window({PauseHintTexts(language), kSettingPauseTip, IDI_NOTICE, 0, {}}, settings, resources);
    window.Run();
}

}  // namespace velmora
