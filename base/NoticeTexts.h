#pragma once
// What the two hints of a recording say, in the current language, and the "do not show again" settings that
// suppress them. The recording hint comes before a new package is recorded, the pause hint when a recording
// pauses.
#include <string>
#include <vector>

#include "base/Language.h"
#include "base/Settings.h"
#include "platform/SettingsStore.h"

namespace velmora {

struct NoticeTexts {
    std::string title;
    std::string showAgain;  // the check box
    std::string intro;      // the recording hint's line beside its icon; empty for the pause hint
    std::string frame;      // the caption of the box around the rest
    std::string heading;    // the pause hint's first line in the box; empty for the recording hint
    // The lines in the box, top to bottom. The recording hint's stand beside the pause and the stop button.
    std::vector<std::string> lines;
};

NoticeTexts RecordingHintTexts(const Language& language);
NoticeTexts PauseHintTexts(const Language& language);

// A hint is shown unless its setting, read as a number, is 1 (kSettingFirstTip, kSettingPauseTip).
bool HintWanted(SettingsStore& settings, const SettingKey& setting);
// The hint was closed with its button: "1" when "do not show again" is ticked, "0" otherwise.
void StoreHintChoice(SettingsStore& settings, const SettingKey& setting, bool doNotShowAgain);

}  // namespace velmora
