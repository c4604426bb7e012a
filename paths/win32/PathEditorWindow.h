#pragma once
#include "base/Language.h"
#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/win32/Win32.h"

namespace velmora {

// The ports and the program's state the editor works with; they outlive the window.
struct PathEditorContext {
    FileSystem& files;
    Codec& codec;
    const PathVariables& pathVars;
    SettingsStore& settings;
    Dialogs& dialogs;
    const Language& language;
    SharedState& state;
};

// Shows the package path editor modally over its owner, which is disabled until it closes. The folder it
// leaves becomes the program's scenario folder (and the stored setting). True when it wrote any scenario.
bool ShowPathEditor(HWND owner, const PathEditorContext& context);

}  // namespace velmora
