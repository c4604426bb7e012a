#include "startup/FrameTexts.h"

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
    texts.commandText = state.g_CommandSwitches;
    texts.commandVisible = !state.g_CommandSwitches.empty();
    texts.statusText = state.g_IniStatus;
    return texts;
}

}  // namespace velmora
