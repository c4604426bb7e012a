#pragma once
// The ".scn" file type registered with the shell: its verb "Open" adds the file's folder to the main window
// ("/add"), its verb "Install" plays the file at once ("/inst").
#include <string>

#include "base/Language.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/SystemInfo.h"
#include "platform/Types.h"

namespace velmora {

// The file type's key and the program's own ProgId under the class root.
inline constexpr const char* kScnTypeKey = ".scn";
inline constexpr const char* kScnProgId = "velmora";

struct AssociationContext {
    Registry& registry;
    Dialogs& dialogs;
    SettingsStore& settings;
    SystemInfo& system;
    const Language& language;
};

// "<program folder>\velmora.exe", whatever the running file is called.
std::string AssociatedExePath(const std::string& programFolder);
// The commands of the verbs "Open" and "Install" for the program at exePath.
std::string ScnOpenCommand(const std::string& exePath);
std::string ScnInstallCommand(const std::string& exePath);

// Registers the file type and its verbs under the class root. Without force, a type that another program
// owns is taken over only when the user agrees; when the user declines, nothing is written. False when a key
// could not be written (every key is still tried, so one refused key leaves the others right).
bool AssociateScnFiles(const AssociationContext& context, bool force, WindowId owner);

// For the main window's start: the first time the program runs from a fixed disk, registers the type (asking
// before taking it from another program) and remembers that it did, so it never asks again. A start from a
// CD-ROM or removable drive registers nothing. A registration that failed is tried again at the next start.
void CheckAssociationOnce(const AssociationContext& context, WindowId owner);

// For the main window's association command: takes the type over without asking, and says so when Windows
// refused a key.
void AssociateFromMenu(const AssociationContext& context, WindowId owner);

}  // namespace velmora
