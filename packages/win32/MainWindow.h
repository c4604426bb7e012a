#pragma once
// The main window. For now it is the program's frame: its caption, the accepted command-line switches and
// the status line; closing it ends the program.
#include <string>
#include <utility>

#include "packages/FrameTexts.h"
#include "platform/InstanceLock.h"
#include "platform/win32/UniqueHandle.h"
#include "ui/win32/BaseWindow.h"

namespace velmora {

class MainWindow : public BaseWindow<MainWindow> {
  public:
    MainWindow(std::string caption, FrameTexts texts, InstanceLock& instanceLock)
        : caption_(std::move(caption)), texts_(std::move(texts)), instanceLock_(instanceLock) {}

    // Creates the window and shows it with the show command the program was started with; false when the
    // window cannot be created.
    bool Show(int showCommand);

    static const wchar_t* ClassName();
    static void DescribeClass(WNDCLASSEXW& wc);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnCreate();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void ApplyFont();
    void Layout();
    void OnDestroy();
    int Scale(int value) const;

    std::string caption_;
    FrameTexts texts_;
    InstanceLock& instanceLock_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    unique_hfont font_;
    HWND switchesLine_ = nullptr;
    HWND statusLine_ = nullptr;
    HWND separator_ = nullptr;
};

}  // namespace velmora
