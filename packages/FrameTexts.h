#pragma once
// The texts of the main window's frame that start-up decides: its caption, the line naming the accepted
// command-line switches and the status line.
#include <string>

#include "base/SharedState.h"

namespace velmora {

// "Velmora Runwright (Build 1.2.N)", N being the build number of this program.
std::string MainWindowCaption();

struct FrameTexts {
    std::string commandText;      // the accepted switches, such as "/nostat /speed/add"
    bool commandVisible = false;  // the switch line is hidden when no switch was accepted
    std::string statusText;       // why the disc settings were not read, or empty
};

FrameTexts MakeFrameTexts(const SharedState& state);

}  // namespace velmora
