#pragma once
// The control panel's window, whose playing and recording live in two files.
#include <array>
#include <optional>
#include <string>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32WindowEvents.h"
#include "playback/win32/ControlPanel.h"
#include "playback/win32/ControlPanelIds.h"
#include "recording/Recorder.h"
#include "recording/win32/MouseHook.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"

namespace velmora::panel_window {

inline constexpr UINT kCloseMessage = WM_APP + 1;
inline constexpr UINT kMouseHookMessage = WM_APP + 2;       // the recorder's mouse hook has events waiting
inline constexpr UINT kWindowsChangedMessage = WM_APP + 3;  // other programs' windows changed
inline constexpr UINT kEndedEarlyMessage = WM_APP + 4;      // the run ended before the window was made

// While a run is in progress the machine must not fall asleep under the installers, nor the display go off:
// the idle timer that turns it off would also lock the session, and a locked session takes no press.
class KeepAwake {
  public:
    KeepAwake() { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED); }
    ~KeepAwake() { SetThreadExecutionState(ES_CONTINUOUS); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;
};

// Tells the log-off screen why the panel refuses to end the session, where the system offers that. Loaded
// by name because it may be missing, and it is a failing stub under Wine. Its Query companion aborts the
// process under Wine, so it is never called.
class ShutdownBlock {
  public:
    void Create(HWND window, const std::wstring& reason) {
        using CreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
        auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonCreate")));
        if (create && create(window, reason.c_str()))
            window_ = window;
    }
    ~ShutdownBlock() { Destroy(); }
    void Destroy() {
        if (!window_)
            return;
        using DestroyFn = BOOL(WINAPI*)(HWND);
        auto destroy = reinterpret_cast<DestroyFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonDestroy")));
        if (destroy)
            destroy(window_);
        window_ = nullptr;
    }

  private:
    HWND window_ = nullptr;
};

class ControlPanelWindow : public BaseWindow<ControlPanelWindow>, public PlayerHost {
  public:
    ControlPanelWindow(const PanelContext& context, PanelCallbacks callbacks, bool recording)
        : c_(context),
          callbacks_(std::move(callbacks)),
          model_(context.language),
          report_(RunReportPorts{context.files, context.clock, context.system, context.language}),
          restart_(RunRestartPorts{context.files, context.system, context.clock, context.settings,
                                   context.logonTasks, context.restart, context.shared, context.stats,
                                   report_, context.vault, context.scenario, context.pathVars}),
          player_(PlayerPorts{context.windows, context.shell, context.files, context.system, context.settings,
                              context.language, context.pathVars, context.scenario, context.step,
                              context.shared, context.stats, report_, model_, *this, context.desktop,
                              &restart_}),
          recorder_(RecorderPorts{context.windows, context.files, context.dialogs, context.clock,
                                  context.language, context.pathVars, context.scenario, context.step,
                                  context.shared}),
          recording_(recording) {}

    bool Create();

    static const wchar_t* ClassName() { return kClassName; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

    // --- PlayerHost ---
    void SetStepTimer(bool enabled, int intervalMs) override { SetOrKill(kStepTimer, enabled, intervalMs); }
    void SetNextPackageTimer(bool enabled, int intervalMs) override {
        SetOrKill(kNextPackageTimer, enabled, intervalMs);
    }
    void SetQuickTryTimer(bool enabled, int intervalMs) override {
        SetOrKill(kQuickTryTimer, enabled, intervalMs);
    }
    void SetTopMost(bool topMost) override {
        if (Window() != nullptr)
            c_.windows.SetTopMost(IdOf(Window()), topMost);
    }
    bool IsOwnWindow(WindowId window) override;
    void PanelChanged() override {
        if (Window() != nullptr)
            Render();
    }
    void RunEnded(bool stopped) override;

  private:
    void OnCreate();
    void AddControls();
    void AddTips();
    // Fonts, pictures, the window's region and the controls that keep their place, for the window's DPI.
    void ApplyDpi();
    void OnDpiChanged() override {
        ApplyDpi();
        Render();
    }
    // Places the control at a place of the panel's layout, which is in pixels as drawn at 96 DPI.
    void Place(int id, const PanelRect& place);
    void Show(int id, bool visible);
    RECT ScaledRect(const PanelRect& place) const;
    void Render();
    void Paint();
    void SetOrKill(UINT_PTR id, bool enabled, int intervalMs);
    HWND Item(int id) const { return GetDlgItem(Window(), id); }
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void OnCommand(int id, int code);
    void OnClick(int id);
    void ShowStatusTip(HWND over);

    // Recording.
    void StartRecording();
    // Says that the mouse cannot be followed, so nothing would be recorded.
    void ReportHookFailure();
    // Installs the hook and shows the recording; false when the hook cannot be installed.
    bool ContinueRecording();
    void TakeHookedEvents();
    void PauseRecording();
    void ResumeRecording(bool keepText);
    void StopRecording();
    void EndRecording();
    void ShowCaptureNote();
    void OnCapturedTextChanged();
    void OnFilterClicked();
    void ShowPasteMenu(int button);
    void Paste(int command);
    void InsertCapturedText(const std::string& text);

    PanelContext c_;
    PanelCallbacks callbacks_;
    PanelModel model_;
    RunReport report_;
    RunRestart restart_;
    Player player_;
    Recorder recorder_;
    bool recording_;
    std::optional<MouseHook> hook_;
    std::optional<Win32WindowEvents> windowEvents_;  // while playing
    bool settingText_ = false;  // the captured-text box changes because the recorder's text did
    HWND tooltip_ = nullptr;
    unique_hfont font_;
    unique_hfont captionFont_;
    unique_hicon logo_;
    std::array<unique_hbitmap, 4> bitmaps_;
    std::optional<KeepAwake> awake_;
    ShutdownBlock shutdownBlock_;
    int exitCode_ = 1;
    bool created_ = false;  // from then on the window owns this object
    // What the player asked before the window was made: the periods of its timers (0: not running), by id
    // from kStepTimer on, and the end of a run that ended at once.
    std::array<int, 3> earlyTimers_{};
    std::optional<bool> endedEarly_;
};

}  // namespace velmora::panel_window
