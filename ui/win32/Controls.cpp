#include "ui/win32/Controls.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"

namespace velmora {

namespace {

HINSTANCE ModuleOr(HINSTANCE module) {
    return module != nullptr ? module : GetModuleHandleW(nullptr);
}

}  // namespace

std::string TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

void SetText(HWND control, const std::string& text) {
    SetWindowTextW(control, Utf8ToWide(text).c_str());
}

bool SetTextIfChanged(HWND control, const std::string& text) {
    if (TextOf(control) == text)
        return false;
    SetText(control, text);
    return true;
}

HWND AddControl(HWND parent, const wchar_t* className, int id, DWORD style, const std::string& text,
                DWORD exStyle, HFONT font) {
    HWND control = CreateWindowExW(
        exStyle, className, Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control != nullptr && font != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND AddTooltips(HWND owner, DWORD style) {
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void SetTip(HWND tooltips, HWND owner, HWND control, const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    SendMessageW(tooltips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

unique_hicon LoadIconSized(int id, int size, HINSTANCE module) {
    return unique_hicon(
        static_cast<HICON>(LoadImageW(ModuleOr(module), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

unique_hbitmap LoadFaceBitmap(int id, UINT dpi, HINSTANCE module) {
    unique_hbitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(ModuleOr(module), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    BITMAP size{};
    if (!bitmap || dpi == USER_DEFAULT_SCREEN_DPI || GetObjectW(bitmap.get(), sizeof size, &size) == 0)
        return bitmap;
    const int width = MulDiv(size.bmWidth, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    const int height = MulDiv(size.bmHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    return unique_hbitmap(static_cast<HBITMAP>(
        LoadImageW(ModuleOr(module), MAKEINTRESOURCEW(id), IMAGE_BITMAP, width, height, LR_LOADMAP3DCOLORS)));
}

}  // namespace velmora
