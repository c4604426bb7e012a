#pragma once
// The program's pictures, each drawn at the size asked for. Icons come in 16, 32 and 48 pixels; bitmaps have
// the one size their buttons need.
#include "Canvas.h"

namespace art {

// The face grey of classic 3D controls. Loaded with LR_LOADMAP3DCOLORS it turns into the system's button
// face, so the bitmaps blend into whatever button or window shows them.
inline constexpr std::uint32_t kFaceGrey = 0xC0C0C0;

Canvas LogoIcon(int size);        // the program: control panel logo and package path editor
Canvas NoticeIcon(int size);      // notice and about windows
Canvas WizardIcon(int size);      // disc creation wizard
Canvas StatisticsIcon(int size);  // statistics window

enum class Chevron { Down, Up };
Canvas MoveBitmap(Chevron direction);  // 16 x 17

enum class PanelSymbol { Play, Pause, Stop, Next };
Canvas PanelButtonBitmap(PanelSymbol symbol);  // 27 x 27

}  // namespace art
