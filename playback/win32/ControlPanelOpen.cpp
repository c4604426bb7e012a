// The panel's openings: playing, recording, and a direct run, which the panel carries until it closes.
#include "playback/win32/ControlPanel.h"
#include "playback/win32/ControlPanelWindow.h"

namespace velmora {

bool OpenPlayPanel(const PanelContext& context, PanelCallbacks callbacks) {
    auto panel = std::make_unique<panel_window::ControlPanelWindow>(context, std::move(callbacks), false);
    if (!panel->Create())
        return false;
    panel.release();  // deleted when its window is destroyed
    return true;
}

bool OpenRecordPanel(const PanelContext& context, PanelCallbacks callbacks) {
    auto panel = std::make_unique<panel_window::ControlPanelWindow>(context, std::move(callbacks), true);
    if (!panel->Create())
        return false;
    panel.release();
    return true;
}

int PlayDirectRun(const PanelContext& context) {
    PanelCallbacks callbacks;
    callbacks.closed = [](int exitCode) { PostQuitMessage(exitCode); };
    // An unattended run without statistics is over once the report holds its end and the exit code is known:
    // the process ends there, without the teardown of its windows, which under Wine can take seconds.
    // Nothing is left to release that the end of the process does not release: the installers run on
    // outside their jobs, which do not end them when closed.
    if (context.shared.noStatistics)
        callbacks.ended = [](int exitCode) {
            TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
        };
    if (!OpenPlayPanel(context, std::move(callbacks)))
        return 2;
    MSG message;
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 2;
}

}  // namespace velmora
