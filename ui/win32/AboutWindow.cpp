#include "ui/win32/AboutWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/AboutTexts.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/AboutWindowIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ModalLoop.h"

namespace velmora {
namespace {

// Layout at 96 DPI, client pixels.
constexpr int kClientWidth = 440;
constexpr int kMargin = 20;
constexpr int kLogoSize = 48;
constexpr int kTextLeft = kMargin + kLogoSize + 16;
constexpr int kSectionGap = 14;
constexpr int kLineGap = 3;

constexpr COLORREF kGradientTop = RGB(255, 255, 255);
constexpr COLORREF kGradientBottom = RGB(221, 233, 248);
constexpr COLORREF kSeparatorColour = RGB(190, 205, 226);
constexpr COLORREF kTextColour = RGB(30, 30, 30);
constexpr COLORREF kQuietColour = RGB(92, 98, 110);
constexpr COLORREF kProductColour = RGB(22, 62, 120);
constexpr COLORREF kLinkColour = RGB(0, 84, 166);

TRIVERTEX Vertex(int x, int y, COLORREF colour) {
    return {x,
            y,
            static_cast<COLOR16>(GetRValue(colour) << 8),
            static_cast<COLOR16>(GetGValue(colour) << 8),
            static_cast<COLOR16>(GetBValue(colour) << 8),
            0};
}

class AboutWindow : public BaseWindow<AboutWindow> {
  public:
    static const wchar_t* ClassName() { return about_window::kClassName; }
    AboutWindow(const Language& language, HINSTANCE resources)
        : texts_(MakeAboutTexts(language)), resources_(resources ? resources : GetModuleHandleW(nullptr)) {}

    void Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    struct Link {
        int id;
        std::string target;
    };

    void OnCreate();
    // Fonts and the logo for the window's DPI, and the texts laid out for it (made again, since each is as
    // large as its text in its font); answers the client height they need.
    int ApplyDpi();
    void OnDpiChanged() override;
    // Lays the texts out from top to bottom and answers the client height they need.
    int LayOut();
    SIZE Measure(const std::string& text, HFONT font, int width, bool wrap) const;
    // A text at (x, y) at most `width` wide; answers its height. Only links take clicks themselves (notify);
    // a click on any other text falls through to the window, which closes.
    int AddText(int id, const std::string& text, int x, int y, int width, HFONT font, bool wrap,
                bool notify = false);
    int AddLink(int id, const AboutLink& link, int x, int y, int width);
    void Paint(HDC dc) const;
    COLORREF ColourOf(int id) const;
    void Open(int id) const;

    AboutTexts texts_;
    HINSTANCE resources_;
    unique_hfont textFont_;
    unique_hfont productFont_;
    unique_hfont linkFont_;
    unique_hicon logo_;
    std::vector<Link> links_;
    std::vector<int> separators_;  // client y of the lines between the window's parts
    bool pressed_ = false;
    bool done_ = false;
};

SIZE AboutWindow::Measure(const std::string& text, HFONT font, int width, bool wrap) const {
    unique_hdc_window dc(Window());
    unique_select_object selected(dc.get(), font);
    const std::wstring wide = Utf8ToWide(text);
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    return {std::min<LONG>(r.right - r.left, width), r.bottom - r.top};
}

int AboutWindow::AddText(int id, const std::string& text, int x, int y, int width, HFONT font, bool wrap,
                         bool notify) {
    const SIZE size = Measure(text, font, width, wrap);
    const DWORD style =
        SS_NOPREFIX | (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS) | (notify ? SS_NOTIFY : 0);
    HWND control = AddControl(Window(), L"STATIC", id, style, text, 0, font);
    MoveWindow(control, x, y, wrap ? width : size.cx, size.cy, FALSE);
    return size.cy;
}

int AboutWindow::AddLink(int id, const AboutLink& link, int x, int y, int width) {
    if (link.target.empty())
        return AddText(id, link.text, x, y, width, textFont_.get(), false);
    links_.push_back({id, link.target});
    return AddText(id, link.text, x, y, width, linkFont_.get(), false, true);
}

int AboutWindow::LayOut() {
    using namespace about_window;
    const int right = Scale(kClientWidth - kMargin);
    const int left = Scale(kMargin);
    const int textLeft = Scale(kTextLeft);
    const int sectionGap = Scale(kSectionGap);
    const int lineGap = Scale(kLineGap);

    int y = Scale(kMargin) - Scale(4);
    y += AddText(kProduct, texts_.product, textLeft, y, right - textLeft, productFont_.get(), false);
    y += AddText(kVersion, texts_.version, textLeft, y, right - textLeft, textFont_.get(), false);
    y = std::max(y, Scale(kMargin + kLogoSize)) + sectionGap;
    separators_.push_back(y);
    y += sectionGap;

    y += AddText(kDescription, texts_.description, left, y, right - left, textFont_.get(), true);
    if (!texts_.suggestions.empty())
        y += sectionGap + AddText(kSuggestions, texts_.suggestions, left, y + sectionGap, right - left,
                                  textFont_.get(), true);
    for (const auto& [id, link] : {std::pair{kMail, &texts_.mail}, std::pair{kSite, &texts_.site},
                                   std::pair{kGuestBook, &texts_.guestBook}}) {
        if (!link->target.empty())
            y += lineGap + AddLink(id, *link, left, y + lineGap, right - left);
    }
    y += sectionGap;
    separators_.push_back(y);
    y += sectionGap;

    // Each caption with its value beside it.
    const int space = Measure(" ", textFont_.get(), right - left, false).cx;
    auto captioned = [&](int captionId, const std::string& caption, int valueId, const AboutLink& value) {
        const int captionWidth = Measure(caption, textFont_.get(), right - left, false).cx;
        const int height = AddText(captionId, caption, left, y, captionWidth, textFont_.get(), false);
        const int valueLeft = left + captionWidth + space;
        y +=
            std::max(height, AddLink(valueId, value, valueLeft, y, std::max(right - valueLeft, 0))) + lineGap;
    };
    captioned(kRightsCaption, texts_.rightsCaption, kRights, AboutLink{texts_.rights, ""});
    captioned(kTranslatorCaption, texts_.translatorCaption, kTranslator, texts_.translator);
    return y - lineGap + Scale(kMargin);
}

void AboutWindow::OnCreate() {
    SetIcons(IDI_NOTICE, resources_);
    SetText(Window(), texts_.title);
    PlaceOnOwner(Scale(kClientWidth), ApplyDpi());
}

int AboutWindow::ApplyDpi() {
    const LOGFONTW message = MessageFont(Dpi());
    LOGFONTW font = message;
    textFont_.reset(CreateFontIndirectW(&font));
    font.lfUnderline = TRUE;
    linkFont_.reset(CreateFontIndirectW(&font));
    font = message;
    font.lfHeight = font.lfHeight * 2;
    font.lfWeight = FW_BOLD;
    productFont_.reset(CreateFontIndirectW(&font));
    logo_ = LoadIconSized(IDI_LOGO, Scale(kLogoSize), resources_);
    return LayOut();
}

void AboutWindow::OnDpiChanged() {
    for (HWND child = GetWindow(Window(), GW_CHILD); child != nullptr; child = GetWindow(Window(), GW_CHILD))
        DestroyWindow(child);
    links_.clear();
    separators_.clear();
    ResizeClient(Scale(kClientWidth), ApplyDpi());
    InvalidateRect(Window(), nullptr, TRUE);
}

void AboutWindow::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Window(), &client);
    TRIVERTEX corners[2] = {Vertex(0, 0, kGradientTop), Vertex(client.right, client.bottom, kGradientBottom)};
    GRADIENT_RECT span{0, 1};
    GdiGradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_V);

    unique_hbrush separator(CreateSolidBrush(kSeparatorColour));
    for (int y : separators_) {
        RECT line{Scale(kMargin), y, Scale(kClientWidth - kMargin), y + std::max(1, Scale(1))};
        FillRect(dc, &line, separator.get());
    }
    if (logo_)
        DrawIconEx(dc, Scale(kMargin), Scale(kMargin), logo_.get(), Scale(kLogoSize), Scale(kLogoSize), 0,
                   nullptr, DI_NORMAL);
}

COLORREF AboutWindow::ColourOf(int id) const {
    using namespace about_window;
    if (std::any_of(links_.begin(), links_.end(), [id](const Link& link) { return link.id == id; }))
        return kLinkColour;
    switch (id) {
        case kProduct:
            return kProductColour;
        case kVersion:
        case kRightsCaption:
        case kTranslatorCaption:
            return kQuietColour;
        default:
            return kTextColour;
    }
}

void AboutWindow::Open(int id) const {
    for (const Link& link : links_) {
        if (link.id == id)
            ShellExecuteW(Window(), L"open", Utf8ToWide(link.target).c_str(), nullptr, nullptr,
                          SW_SHOWNORMAL);
    }
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the gradient covers everything in WM_PAINT
        case WM_PAINT: {
            unique_hdc_paint paint(Window());
            Paint(paint.get());
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ColourOf(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        case WM_SETCURSOR: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
            if (std::any_of(links_.begin(), links_.end(), [id](const Link& link) { return link.id == id; })) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == STN_CLICKED)
                Open(LOWORD(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            pressed_ = true;
            return 0;
        case WM_LBUTTONUP:
            // Only a click made in the window: the release of a press that opened it elsewhere does not
            // count.
            done_ = pressed_;
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE || wParam == VK_RETURN)
                done_ = true;
            return 0;
        case WM_CLOSE:
            done_ = true;
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void AboutWindow::Run(HWND owner) {
    OwnerDisabled ownerDisabled(owner);
    if (CreateWindowOfClass(WS_EX_DLGMODALFRAME, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                            CW_USEDEFAULT, 100, 100, owner)) {
        ShowWindow(Window(), SW_SHOW);
        SetForegroundWindow(Window());
        SetFocus(Window());
        RunModalLoop(Window(), done_, false);
    }
    ownerDisabled.Release();
    if (Window() != nullptr)
        DestroyWindow(Window());
}

}  // namespace

void ShowAbout(HWND owner, const Language& language, HINSTANCE resources) {
    AboutWindow window(language, resources);
    window.Run(owner);
}

}  // namespace velmora
