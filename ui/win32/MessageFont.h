#pragma once
// The system's message font as it is drawn at a DPI: windows take it, or a bold or larger copy of it, for
// their monitor and take it again when they move to another.
#include "platform/win32/Win32.h"

namespace velmora {

inline LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    return metrics.lfMessageFont;
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
