#include "packages/win32/PackageDialog.h"

#include <commctrl.h>

#include <algorithm>

#include "packages/win32/PackageDialogIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {
namespace {

using namespace package_dialog;

// Layout at 96 DPI, client pixels: labels above their boxes, one column.
constexpr int kClientWidth = 460;
constexpr int kMargin = 12;
constexpr int kLabelHeight = 16;
constexpr int kBoxHeight = 22;
constexpr int kBrowseWidth = 28;
constexpr int kCheckHeight = 20;
constexpr int kCounterWidth = 40;
constexpr int kDescriptionHeight = 64;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kGap = 6;
constexpr int kSectionGap = 10;

WindowId IdOf(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

std::string TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

class PackageDialog : public BaseWindow<PackageDialog> {
  public:
    static const wchar_t* ClassName() { return kClassName; }
    PackageDialog(const PackageDialogPorts& ports, PackageDialogMode mode,
                  std::vector<std::string> listedNames, const std::string& listedName)
        : model_(ports, mode, std::move(listedNames), listedName) {}

    std::optional<std::string> Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }
    HWND Add(const wchar_t* className, int id, DWORD style, DWORD exStyle = 0, const std::string& text = {});
    void AddTip(HWND control, const std::string& text);
    void OnCreate();
    void ApplyDpi();
    // The window's size for its DPI, centred on the owner or at the place Windows suggests.
    void Place(const RECT* suggested);
    // The counter and the labels' colours; with boxes, also the boxes' texts after the model changed them.
    void Render(bool boxes = true);
    void OnCommand(int id, int code);
    void TakeBoxes();
    void Ok();
    HWND Box(PackageField field) const;

    PackageDialogModel model_;
    HWND owner_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    unique_hfont font_;
    int clientHeight_ = 0;
    HWND tooltip_ = nullptr;
    bool rendering_ = false;  // field changes made while rendering are the model's own
    bool done_ = false;
    std::optional<std::string> result_;
};

HWND PackageDialog::Add(const wchar_t* className, int id, DWORD style, DWORD exStyle,
                        const std::string& text) {
    return CreateWindowExW(exStyle, className, Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void PackageDialog::AddTip(HWND control, const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND PackageDialog::Box(PackageField field) const {
    return GetDlgItem(Window(), kName + static_cast<int>(field));
}

void PackageDialog::OnCreate() {
    const PackageDialogTexts& t = model_.texts;
    model_.owner = IdOf(Window());
    SetWindowTextW(Window(), Utf8ToWide(t.caption).c_str());
    // Created in tab order.
    const DWORD label = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    Add(L"STATIC", kNameLabel, label, 0, t.nameLabel);
    const HWND name = Add(WC_EDITW, kName, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    Add(L"STATIC", kPathLabel, label, 0, t.pathLabel);
    const HWND path = Add(WC_EDITW, kPath, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    const HWND browse = Add(L"BUTTON", kBrowse, WS_TABSTOP | BS_PUSHBUTTON, 0, "...");
    const HWND autoReplace =
        Add(L"BUTTON", kAutoReplace, WS_TABSTOP | BS_AUTOCHECKBOX, 0, t.autoReplaceCaption);
    Add(L"STATIC", kCommandLineLabel, label, 0, t.commandLineLabel);
    Add(WC_EDITW, kCommandLine, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    Add(L"STATIC", kDescriptionLabel, label, 0, t.descriptionLabel);
    const HWND counter = Add(L"STATIC", kCounter, SS_RIGHT | SS_NOPREFIX | SS_NOTIFY);
    // Enter in the description presses OK, as in every other box; Ctrl+Enter starts a new line.
    const HWND description = Add(WC_EDITW, kDescription,
                                 WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE);
    SendMessageW(description, EM_LIMITTEXT, kDescriptionLimit, 0);
    Add(L"BUTTON", kOk, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, t.ok);
    Add(L"BUTTON", kCancel, WS_TABSTOP | BS_PUSHBUTTON, 0, t.cancel);

    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    AddTip(name, t.nameTip);
    AddTip(path, t.pathTip);
    AddTip(browse, t.browseTip);
    AddTip(autoReplace, t.autoReplaceTip);
    AddTip(description, t.descriptionTip);
    AddTip(counter, t.counterTip);

    dpi_ = GetDpiForWindow(Window());
    ApplyDpi();
    Render();
}

// The message font is made for 96 DPI; a copy of it is scaled for the window's monitor.
void PackageDialog::ApplyDpi() {
    const LOGFONTW message = MessageFont(dpi_);
    unique_hfont font(CreateFontIndirectW(&message));
    SetChildFonts(Window(), font.get());
    font_ = std::move(font);

    const int margin = Scale(kMargin);
    const int width = Scale(kClientWidth) - 2 * margin;
    const int labelHeight = Scale(kLabelHeight);
    const int boxHeight = Scale(kBoxHeight);
    const int gap = Scale(kGap);
    const int sectionGap = Scale(kSectionGap);
    auto move = [&](int id, int x, int y, int w, int h) {
        MoveWindow(GetDlgItem(Window(), id), x, y, w, h, TRUE);
    };
    int y = margin;
    auto labelled = [&](int labelId, int boxId, int boxWidth) {
        move(labelId, margin, y, width, labelHeight);
        y += labelHeight + Scale(2);
        move(boxId, margin, y, boxWidth, boxHeight);
        y += boxHeight;
    };
    labelled(kNameLabel, kName, width);
    y += sectionGap;
    const int browseWidth = Scale(kBrowseWidth);
    labelled(kPathLabel, kPath, width - browseWidth - gap);
    move(kBrowse, margin + width - browseWidth, y - boxHeight, browseWidth, boxHeight);
    y += Scale(2);
    move(kAutoReplace, margin, y, width, Scale(kCheckHeight));
    y += Scale(kCheckHeight) + sectionGap - Scale(4);
    labelled(kCommandLineLabel, kCommandLine, width);
    y += sectionGap;
    const int counterWidth = Scale(kCounterWidth);
    move(kDescriptionLabel, margin, y, width - counterWidth, labelHeight);
    move(kCounter, margin + width - counterWidth, y, counterWidth, labelHeight);
    y += labelHeight + Scale(2);
    move(kDescription, margin, y, width, Scale(kDescriptionHeight));
    y += Scale(kDescriptionHeight) + sectionGap + Scale(4);
    const int buttonWidth = Scale(kButtonWidth);
    const int buttonHeight = Scale(kButtonHeight);
    move(kCancel, margin + width - buttonWidth, y, buttonWidth, buttonHeight);
    move(kOk, margin + width - 2 * buttonWidth - gap, y, buttonWidth, buttonHeight);
    clientHeight_ = y + buttonHeight + margin;
}

void PackageDialog::Render(bool boxes) {
    rendering_ = true;
    for (PackageField field :
         {PackageField::Name, PackageField::Path, PackageField::CommandLine, PackageField::Description}) {
        if (boxes && TextOf(Box(field)) != model_.Field(field))
            SetWindowTextW(Box(field), Utf8ToWide(model_.Field(field)).c_str());
    }
    CheckDlgButton(Window(), kAutoReplace, model_.AutoReplace() ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(Window(), kCounter, std::to_wstring(model_.DescriptionLeft()).c_str());
    InvalidateRect(GetDlgItem(Window(), kNameLabel), nullptr, TRUE);
    InvalidateRect(GetDlgItem(Window(), kPathLabel), nullptr, TRUE);
    rendering_ = false;
}

void PackageDialog::Place(const RECT* suggested) {
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Window(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(Window(), GWL_EXSTYLE));
    RECT frame{0, 0, Scale(kClientWidth), clientHeight_};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (suggested != nullptr) {
        SetWindowPos(Window(), nullptr, suggested->left, suggested->top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const POINT origin = CentredOrigin(owner_, width, height);
    SetWindowPos(Window(), nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A multi-line box reports no change for text set by WM_SETTEXT, so the model takes what the boxes hold
// before it acts on them.
void PackageDialog::TakeBoxes() {
    for (PackageField field :
         {PackageField::Name, PackageField::Path, PackageField::CommandLine, PackageField::Description})
        model_.SetField(field, TextOf(Box(field)));
}

void PackageDialog::Ok() {
    TakeBoxes();
    const OkVerdict verdict = model_.Ok();
    Render(false);
    if (verdict.close) {
        result_ = model_.Mode() == PackageDialogMode::NewPackage ? model_.Field(PackageField::Name)
                                                                 : model_.NewName();
        done_ = true;
        return;
    }
    HWND box = Box(verdict.focus);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, verdict.selectAll ? 0 : static_cast<WPARAM>(-1), verdict.selectAll ? -1 : 0);
}

void PackageDialog::OnCommand(int id, int code) {
    switch (id) {
        case kName:
        case kPath:
        case kCommandLine:
        case kDescription:
            if (code == EN_CHANGE && !rendering_) {
                const auto field = static_cast<PackageField>(id - kName);
                model_.SetField(field, TextOf(Box(field)));
                Render(false);
            }
            return;
        case kBrowse:
            TakeBoxes();
            model_.Browse();
            Render();
            return;
        case kAutoReplace:
            if (code == BN_CLICKED) {
                TakeBoxes();
                model_.SetAutoReplace(IsDlgButtonChecked(Window(), kAutoReplace) == BST_CHECKED);
                Render();
            }
            return;
        case kOk:
            Ok();
            return;
        case kCancel:
            model_.Cancel();
            done_ = true;
            return;
        default:
            return;
    }
}

LRESULT PackageDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != kNameLabel && id != kPathLabel)
                break;
            const std::optional<LabelColour> colour =
                id == kNameLabel ? model_.NameColour() : model_.PathColour();
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc,
                         colour ? RGB(colour->red, colour->green, colour->blue) : GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CLOSE:
            OnCommand(kCancel, BN_CLICKED);
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            ApplyDpi();
            Place(reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

std::optional<std::string> PackageDialog::Run(HWND owner) {
    owner_ = owner;
    OwnerDisabled ownerDisabled(owner);
    if (CreateWindowOfClass(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                            owner)) {
        Place(nullptr);
        ShowWindow(Window(), SW_SHOW);
        SetForegroundWindow(Window());
        SetFocus(GetDlgItem(Window(), kName));
        RunModalLoop(Window(), done_, true);
    }
    ownerDisabled.Release();
    if (Window() != nullptr)
        DestroyWindow(Window());
    return result_;
}

}  // namespace

std::optional<std::string> ShowPackageDialog(HWND owner, const PackageDialogPorts& ports,
                                             PackageDialogMode mode, std::vector<std::string> listedNames,
                                             const std::string& listedName) {
    PackageDialog dialog(ports, mode, std::move(listedNames), listedName);
    return dialog.Run(owner);
}

}  // namespace velmora
