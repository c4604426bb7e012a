#pragma once
#include "discs/DiscWizardModel.h"
#include "platform/win32/Win32.h"

namespace velmora {

// Shows the disc creation wizard modally: the owner is disabled until it closes. A successful copy has then
// stored its "Folder SCN" as the scenario folder setting.
void ShowDiscWizard(HWND owner, const DiscWizardPorts& ports);

}  // namespace velmora
