// Every window of the program follows its monitor's DPI. Wine's display stays at 96 DPI and never sends
// WM_DPICHANGED, so the test sends it: told of 144 DPI with a rectangle half as large again, each window must
// stand where Windows suggests, and its parts and their fonts must grow half again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>

#include "packages/win32/MainWindow.h"
#include "packages/win32/MainWindowIds.h"
#include "packages/win32/PackageDialog.h"
#include "packages/win32/PackageDialogIds.h"
#include "paths/win32/PathEditorIds.h"
#include "paths/win32/PathEditorWindow.h"
#include "discs/win32/DiscWizard.h"
#include "discs/win32/DiscWizardIds.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/WindowSystemWin32.h"
#include "playback/win32/ControlPanel.h"
#include "playback/win32/ControlPanelIds.h"
#include "playback/win32/StatisticsWindow.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "tests/win32/WindowTools.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/AboutWindowIds.h"
#include "ui/win32/NoticeWindowIds.h"
#include "ui/win32/NoticeWindows.h"
#include "ui/win32/ProgressWindow.h"

namespace velmora {
namespace {

// What grows with the DPI: the client area, the box around the window's controls and their font.
struct Look {
    SIZE client{};
    SIZE controls{};
    int fontHeight = 0;  // of the first control that has a font
};

Look LookOf(HWND window) {
    Look look;
    RECT client{};
    GetClientRect(window, &client);
    look.client = {client.right, client.bottom};
    RECT box{};
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        UnionRect(&box, &box, &r);
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (look.fontHeight == 0 && handle != nullptr && GetObjectW(handle, sizeof font, &font) != 0)
            look.fontHeight = std::abs(font.lfHeight);
    }
    look.controls = {box.right, box.bottom};
    return look;
}

double Ratio(LONG after, LONG before) {
    return before > 0 ? static_cast<double>(after) / before : 0.0;
}

void ExpectFollowsDpi(HWND window, const std::wstring& name) {
    SCOPED_TRACE(WideToUtf8(name));
    ASSERT_NE(window, nullptr);
    const Look before = LookOf(window);
    RECT r{};
    GetWindowRect(window, &r);
    const RECT suggested{r.left + 16, r.top + 16, r.left + 16 + (r.right - r.left) * 3 / 2,
                         r.top + 16 + (r.bottom - r.top) * 3 / 2};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    const Look after = LookOf(window);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, suggested.left);
    EXPECT_EQ(r.top, suggested.top);
    EXPECT_NEAR(Ratio(after.client.cx, before.client.cx), 1.5, 0.1);
    EXPECT_NEAR(Ratio(after.client.cy, before.client.cy), 1.5, 0.1);
    if (before.controls.cx > 0) {
        EXPECT_NEAR(Ratio(after.controls.cx, before.controls.cx), 1.5, 0.1);
        EXPECT_NEAR(Ratio(after.controls.cy, before.controls.cy), 1.5, 0.1);
    }
    if (before.fontHeight > 0) {
        EXPECT_NEAR(Ratio(after.fontHeight, before.fontHeight), 1.5, 0.16);
    }
    SaveScreenshot(window, L"dpi-144-" + name);
}

class WindowDpiTest : public ::testing::Test {
  protected:
    // A modal window: checked by a watcher while this thread is in the window's loop, then closed.
    void CheckModal(const wchar_t* className, const std::wstring& name, const std::function<void()>& show) {
        WindowWatcher watcher({.className = className, .processId = GetCurrentProcessId()}, [&](HWND window) {
            ExpectFollowsDpi(window, name);
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
        show();
        EXPECT_TRUE(watcher.Join()) << WideToUtf8(name);
    }

    // The control panel recording (and so showing its options), closed again.
    void CheckRecordPanel() {
        PanelCallbacks callbacks;
        bool closed = false;
        callbacks.closed = [&](int) { closed = true; };
        ASSERT_TRUE(OpenRecordPanel({windows, shell, dialogs, clock, files, system, settings, language,
                                     pathVars, scenario, step, state, stats},
                                    std::move(callbacks)));
        HWND panel = FindWindowW(panel_window::kClassName, nullptr);
        ExpectFollowsDpi(panel, L"control-panel");
        PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            return closed;
        }));
    }

    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
    MemorySettingsStore settings;
    MemoryRegistry registry;
    FakeClock clock;
    FakeShell shell;
    FakeSystemInfo system;
    std::set<std::string> heldNames;
    FakeInstanceLock instanceLock{heldNames};
    PathVariables pathVars{files};
    Win32Codec codec;
    WindowSystemWin32 windows;
    SharedState state;
    ScenarioImage scenario{codec, pathVars};
    StepState step;
    Statistics stats{clock};
};

TEST_F(WindowDpiTest, EveryWindowTakesTheSuggestedPlaceAndGrowsWithItsFonts) {
    MainWindow main({instanceLock,
                     system,
                     files,
                     settings,
                     registry,
                     dialogs,
                     shell,
                     clock,
                     codec,
                     windows,
                     state,
                     pathVars,
                     language,
                     profile,
                     {},
                     {}},
                    FrameTexts{});
    ASSERT_TRUE(main.Show(SW_SHOWNORMAL));
    HWND owner = main.Window();
    ExpectFollowsDpi(owner, L"main-window");

    ProgressWindow progress(owner, language);
    ASSERT_TRUE(progress.Show());
    ExpectFollowsDpi(progress.Window(), L"progress-window");
    progress.Close();

    CheckModal(package_dialog::kClassName, L"package-dialog", [&] {
        ShowPackageDialog(owner, {files, settings, dialogs, codec, language, pathVars, state},
                          PackageDialogMode::NewPackage, {});
    });
    CheckModal(path_editor::kClassName, L"path-editor", [&] {
        ShowPathEditor(owner, {files, codec, pathVars, settings, dialogs, language, state});
    });
    dialogs.answers.push_back(MsgResult::Yes);  // the wizard asks whether to give up
    CheckModal(disc_wizard::kClassName, L"disc-wizard", [&] {
        ShowDiscWizard(owner, {files, profile, settings, dialogs, language, "C:\\Tools", "C:\\Setups"});
    });
    CheckModal(statistics_window::kClassName, L"statistics-window",
               [&] { ShowStatistics(owner, stats, language, false); });
    CheckModal(about_window::kClassName, L"about-window", [&] { ShowAbout(owner, language); });
    CheckModal(notice_window::kClassName, L"recording-hint", [&] { ShowRecordingHint(language, settings); });

    CheckRecordPanel();

    DestroyWindow(owner);
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the main window ends the program's loop
}

}  // namespace
}  // namespace velmora
