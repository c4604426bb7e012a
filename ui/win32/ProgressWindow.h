#pragma once
// The small borderless window that shows how far the owner has got with a long job ("Reading
// information"): a label at the top and a bar with the percentage below it. The owner shows it, feeds it
// values while it works and destroys it when done:
//     ProgressWindow progress(owner, language);
//     progress.Show();
//     progress.SetRange(0, n);
//     progress.SetValue(i);
#include <string>

#include "base/Language.h"
#include "base/ProgressBar.h"
#include "platform/win32/UniqueHandle.h"
#include "ui/win32/BaseWindow.h"

namespace velmora {

class ProgressWindow : public BaseWindow<ProgressWindow> {
  public:
    ProgressWindow(HWND owner, const Language& language);
    ~ProgressWindow() override;

    // Creates the window centred on its owner and shows it. The owner takes no input while the window is
    // shown, since the messages pumped during SetValue would otherwise let the user start other work in it.
    bool Show();
    // Takes effect with the next SetValue.
    void SetRange(int min, int max) { bar_.SetRange(min, max); }
    // Draws the bar again when the value fills a different width, then lets the pending messages through
    // once, so the program's windows repaint while the caller goes on working.
    void SetValue(int value);
    // Destroys the window and gives the owner its input back; the destructor does the same.
    void Close();

    static const wchar_t* ClassName() { return L"VelmoraProgress"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    // The font and the parts' places for the window's DPI.
    void ApplyDpi();
    void OnDpiChanged() override;
    void Paint(HDC dc) const;
    void PaintBar(HDC dc, const ProgressPicture& picture) const;

    HWND owner_;
    std::string label_;
    ProgressBar bar_;
    RECT labelRect_{};
    RECT barRect_{};
    unique_hfont font_;
    unique_hbrush fillBrush_;
    unique_hbrush backgroundBrush_;
    bool ownerDisabled_ = false;
};

}  // namespace velmora
