#pragma once
// Finding the window a step is aimed at. The recorder stores a chain of windows from the outermost down, each
// by class, caption and its place among the siblings that match; the player follows the chain again on every
// tick until the window is there.
#include <string>
#include <vector>

#include "platform/Types.h"
#include "platform/WindowSystem.h"
#include "playback/CaptionMatch.h"
#include "scenario/ScenarioTypes.h"

namespace velmora {

// A link that was followed to a window whose caption differs from the stored one in version tokens only.
struct NearCaption {
    std::string stored;
    std::string shown;
    bool operator==(const NearCaption&) const = default;
};

struct ChainMatch {
    WindowId window = 0;  // 0: the chain cannot be followed (yet)
    std::vector<NearCaption> nearCaptions;
    // What the package has learned, with the substitutions this chain's near captions made: the player keeps
    // them once the step is played.
    VersionSubstitutions substitutions;
    // A top-level window of the chain is not one of the installer's processes (another program, an earlier
    // package's installer left running), or the installer's processes are not known.
    bool outsideInstaller = false;
};

// The window the chain leads to. An empty chain names nothing to click and leads nowhere. A link's
// matchIndex is 0 for the first top-level match, n >= 1 for the n-th match under the window of the link
// before, -1 for the desktop. A blank caption, or a lone NUL, matches any caption; one trailing NUL, as the
// recorder's fixed buffers sometimes left it, is not part of a name. A huge matchIndex from a damaged file
// costs no more searches than there are windows.
//
// A top-level link is looked for among the top-level windows of installerProcesses first, where a window
// whose caption differs only in version tokens (the installer's next version, see VersionDistance) is taken
// too, and among other programs' windows only after that and only by its exact caption: a leftover installer
// of an earlier package, a second copy or any program's "Setup" window must not take the press. A child link
// is looked for among the parent's children, its exact caption first. The nearest caption wins; two
// different captions equally near are no match, and neither is a caption that contradicts what `learned`
// says of the package's versions. A chain of a single window (an installer that draws its own controls)
// names nothing inside the window that would tell its pages apart, so it is only ever taken by its exact
// caption.
ChainMatch FindChainWindow(WindowSystem& windows, const std::vector<WindowRef>& chain,
                           const std::vector<SystemProcessId>& installerProcesses = {},
                           const VersionSubstitutions& learned = {});

// The chain as people read it, outermost first: `#32770 "Setup" > Button "&Next >"`. A blank caption is
// left out, and so is an edit field's, which may hold what a user typed.
std::string ChainText(const std::vector<WindowRef>& chain);

}  // namespace velmora
