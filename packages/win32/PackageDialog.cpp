#include "packages/win32/PackageDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "packages/win32/PackageDialogIds.h"
#include "platform/win32/UniqueHandle.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"
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

class PackageDialog : public BaseWindow<PackageDialog> {
  public:
    static const wchar_t* ClassName() { return kClassName; }
    PackageDialog(const PackageDialogPorts& ports, PackageDialogMode mode,
                  std::vector<std::string> listedNames, const std::string& listedName)
        : model_(ports, mode, std::move(listedNames), listedName) {}

    std::optional<std::string> Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    HWND Add(const wchar_t* className, int id, DWORD style, const std::string& text = {}, DWORD exStyle = 0) {
        return AddControl(Window(), className, id, style, text, exStyle);
    }
    void OnCreate();
    void AddTips();
    // The font for the window's DPI and every control placed; sets clientHeight_.
    void ApplyDpi();
    void OnDpiChanged() override {
        ApplyDpi();
        ResizeClient(Scale(kClientWidth), clientHeight_);
    }
    // The counter and the labels' colours; with boxes, also the boxes' texts after the model changed them.
    void Render(bool boxes = true);
    void OnCommand(int id, int code);
    void TakeBoxes();
    void Ok();
    HWND Box(PackageField field) const;

    PackageDialogModel model_;
    unique_hfont font_;
    int clientHeight_ = 0;
    HWND tooltip_ = nullptr;
    bool rendering_ = false;  // field changes made while rendering are the model's own
    bool done_ = false;
    std::optional<std::string> result_;
};

HWND PackageDialog::Box(PackageField field) const {
    return GetDlgItem(Window(), kName + static_cast<int>(field));
}

void PackageDialog::OnCreate() {
    const PackageDialogTexts& t = model_.texts;
    model_.owner = IdOf(Window());
    SetText(Window(), t.caption);
    // Created in tab order.
    const DWORD label = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    Add(L"STATIC", kNameLabel, label, t.nameLabel);
    Add(WC_EDITW, kName, WS_TABSTOP | ES_AUTOHSCROLL, {}, WS_EX_CLIENTEDGE);
    Add(L"STATIC", kPathLabel, label, t.pathLabel);
    Add(WC_EDITW, kPath, WS_TABSTOP | ES_AUTOHSCROLL, {}, WS_EX_CLIENTEDGE);
    Add(L"BUTTON", kBrowse, WS_TABSTOP | BS_PUSHBUTTON, "...");
    Add(L"BUTTON", kAutoReplace, WS_TABSTOP | BS_AUTOCHECKBOX, t.autoReplaceCaption);
    Add(L"STATIC", kCommandLineLabel, label, t.commandLineLabel);
    Add(WC_EDITW, kCommandLine, WS_TABSTOP | ES_AUTOHSCROLL, {}, WS_EX_CLIENTEDGE);
    Add(L"STATIC", kDescriptionLabel, label, t.descriptionLabel);
    Add(L"STATIC", kCounter, SS_RIGHT | SS_NOPREFIX | SS_NOTIFY);
    // Enter in the description presses OK, as in every other box; Ctrl+Enter starts a new line.
    const HWND description =
        Add(WC_EDITW, kDescription, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, {},
            WS_EX_CLIENTEDGE);
    SendMessageW(description, EM_LIMITTEXT, kDescriptionLimit, 0);
    Add(L"BUTTON", kOk, WS_TABSTOP | BS_DEFPUSHBUTTON, t.ok);
    Add(L"BUTTON", kCancel, WS_TABSTOP | BS_PUSHBUTTON, t.cancel);
    AddTips();
    ApplyDpi();
    Render();
}

void PackageDialog::AddTips() {
    const PackageDialogTexts& t = model_.texts;
    tooltip_ = AddTooltips(Window());
    for (const auto& [id, text] :
         {std::pair{kName, &t.nameTip}, std::pair{kPath, &t.pathTip}, std::pair{kBrowse, &t.browseTip},
          std::pair{kAutoReplace, &t.autoReplaceTip}, std::pair{kDescription, &t.descriptionTip},
          std::pair{kCounter, &t.counterTip}})
        SetTip(tooltip_, Window(), GetDlgItem(Window(), id), *text);
}

void PackageDialog::ApplyDpi() {
    unique_hfont font = CreateMessageFont(Dpi());
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
        if (boxes)
            SetTextIfChanged(Box(field), model_.Field(field));
    }
    CheckDlgButton(Window(), kAutoReplace, model_.AutoReplace() ? BST_CHECKED : BST_UNCHECKED);
    SetText(GetDlgItem(Window(), kCounter), std::to_string(model_.DescriptionLeft()));
    InvalidateRect(GetDlgItem(Window(), kNameLabel), nullptr, TRUE);
    InvalidateRect(GetDlgItem(Window(), kPathLabel), nullptr, TRUE);
    rendering_ = false;
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
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

std::optional<std::string> PackageDialog::Run(HWND owner) {
    OwnerDisabled ownerDisabled(owner);
    if (CreateWindowOfClass(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                            owner)) {
        PlaceOnOwner(Scale(kClientWidth), clientHeight_);
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
