#pragma once
// The two hints of a recording. Each is modal for the whole program (every other window of the thread takes
// no input while it is up), has no owner and stays above other windows, so the control panel and the
// installer cannot cover it. Only its button stores the "do not show again" check box; closing it any other
// way stores nothing. The callers test the setting first:
//     if (HintWanted(settings, kSettingPauseTip))
//         ShowPauseHint(language, settings);
#include "base/Language.h"
#include "platform/SettingsStore.h"
#include "platform/win32/Win32.h"

namespace velmora {

// The hint before a new package is recorded; its button stores "View"/"FirstTip". The pictures come from
// `resources`, the program's own module when null.
void ShowRecordingHint(const Language& language, SettingsStore& settings, HINSTANCE resources = nullptr);
// The hint when a recording pauses; its button stores "View"/"PauseTip".
void ShowPauseHint(const Language& language, SettingsStore& settings, HINSTANCE resources = nullptr);

}  // namespace velmora
