#pragma once
// What the program's windows share in laying themselves out: the DPI of a window, the fonts as they are drawn
// at a DPI (windows take them for their monitor and again when they move to another) and where a new window
// goes.
#include <algorithm>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace velmora {

// The DPI of the window's monitor; the system's for no window.
inline UINT DpiOf(HWND window) {
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : GetDpiForSystem();
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// Where a window of this size goes: centred on its owner while the owner shows, on the work area of the
// owner's monitor (the primary one without an owner) otherwise, and kept inside that work area.
inline POINT CentredOrigin(HWND owner, int width, int height) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    RECT around = work;
    if (owner != nullptr && IsWindowVisible(owner))
        GetWindowRect(owner, &around);
    const LONG x = around.left + ((around.right - around.left) - width) / 2;
    const LONG y = around.top + ((around.bottom - around.top) - height) / 2;
    return {std::clamp<LONG>(x, work.left, std::max<LONG>(work.left, work.right - width)),
            std::clamp<LONG>(y, work.top, std::max<LONG>(work.top, work.bottom - height))};
}

// The system's message font as it is drawn at the DPI.
inline LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    return metrics.lfMessageFont;
}

inline unique_hfont CreateMessageFont(UINT dpi, LONG weight = FW_NORMAL) {
    LOGFONTW font = MessageFont(dpi);
    font.lfWeight = weight;
    return unique_hfont(CreateFontIndirectW(&font));
}

// The stock GUI font's face at 8 points, as it is drawn at the DPI (the stock font itself is made for one
// DPI only). The control panel and the statistics window write in it.
inline unique_hfont CreateGuiFont(UINT dpi) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
    font.lfWidth = 0;
    return unique_hfont(CreateFontIndirectW(&font));
}

// Gives every child window of the window the font, redrawing it.
inline void SetChildFonts(HWND window, HFONT font) {
    EnumChildWindows(
        window,
        [](HWND child, LPARAM f) {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(f), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

}  // namespace velmora
