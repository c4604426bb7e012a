#include "packages/FrameTexts.h"

#include "scenario/ScenarioImage.h"

#ifndef VELMORA_VERSION_BUILD
#define VELMORA_VERSION_BUILD 0
#endif

namespace velmora {

std::string MainWindowCaption() {
    return "Velmora Runwright (Build " + std::to_string(kProgramVersionMajor) + "." +
           std::to_string(kProgramVersionMinor) + "." + std::to_string(VELMORA_VERSION_BUILD) + ")";
}

FrameTexts MakeFrameTexts(const SharedState& state) {
    FrameTexts texts;
    texts.commandText = state.acceptedSwitches;
    texts.commandVisible = !state.acceptedSwitches.empty();
    texts.statusText = state.discSettingsStatus;
    return texts;
}

}  // namespace velmora
