#pragma once
// What every window of the program does with its child controls: adding them, reading and setting their
// texts, their tips, and the icons and pictures it shows.
#include <string>

#include "platform/WindowSystem.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace velmora {

// The window as the ports name it, for the message boxes and dialogs a window owns.
inline WindowId IdOf(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

std::string TextOf(HWND control);
void SetText(HWND control, const std::string& text);
// Sets the text only when it differs: an unchanged control is not redrawn (no flicker), and an edit box
// keeps its caret and selection. True when the text changed.
bool SetTextIfChanged(HWND control, const std::string& text);

// A visible child control of the parent with its id (-1 for one that is never looked up), text and font,
// created without a place: the window lays it out.
HWND AddControl(HWND parent, const wchar_t* className, int id, DWORD style, const std::string& text = {},
                DWORD exStyle = 0, HFONT font = nullptr);

// The tip window of a window; SetTip gives it its tips.
HWND AddTooltips(HWND owner, DWORD style = 0);
// Shows the text when the mouse rests over the control (a child of owner), instead of any tip before.
void SetTip(HWND tooltips, HWND owner, HWND control, const std::string& text);

// The icon `id` of the module (the program's own when null), drawn at size x size pixels.
unique_hicon LoadIconSized(int id, int size, HINSTANCE module = nullptr);
// The bitmap `id` of the module (the program's own when null), drawn on the classic face grey, which is
// mapped to the system's face colour; its size drawn at 96 DPI, scaled to the DPI.
unique_hbitmap LoadFaceBitmap(int id, UINT dpi, HINSTANCE module = nullptr);

}  // namespace velmora
