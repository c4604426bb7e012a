// velmora.exe: builds the ports and the shared state, runs start-up, and opens what start-up decided on.
// Decisions live in the core (app/Startup.h); this file only wires and acts.
#include "platform/win32/Win32.h"

#include "app/CommandLine.h"
#include "app/FileAssociation.h"
#include "app/Startup.h"
#include "app/win32/RunDirect.h"
#include "base/Program.h"
#include "packages/FrameTexts.h"
#include "packages/win32/MainWindow.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32DesktopInfo.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32InstanceLock.h"
#include "platform/win32/Win32LogonTasks.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32ProtectedFiles.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32RegistrySettingsStore.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32SystemRestart.h"
#include "platform/win32/Win32WindowSystem.h"

namespace {

int RunMessageLoop(velmora::MainWindow& main) {
    MSG msg{};
    BOOL got = 0;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (main.TranslateShortcut(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got < 0 ? 1 : static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    using namespace velmora;
    // First of all: every DLL loaded from now on, a system DLL's own included, comes from System32 and never
    // from the program's folder (a Downloads folder, a share), which the image's dependent-load flags already
    // ask of its imports (app/win32/LoadConfig.cpp).
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    Win32InstanceLock instanceLock;
    Win32SystemInfo system;
    Win32FileSystem files;
    Win32ProfileFile profile;
    Win32RegistrySettingsStore settings;
    Win32Registry registry;
    Win32Dialogs dialogs;
    Win32Shell shell;
    Win32Clock clock;
    Win32Codec codec;
    Win32WindowSystem windows;
    Win32LogonTasks logonTasks;
    Win32SystemRestart restart;
    Win32DesktopInfo desktop;
    Win32ProtectedFiles vault;
    SharedState state;
    PathVariables pathVars(files);
    Language language(files, profile, dialogs);
    Program program{instanceLock, system,  files, profile,  settings, registry,   dialogs, shell,   clock,
                    codec,        windows, state, pathVars, language, logonTasks, restart, desktop, vault};

    StartupPorts ports{instanceLock, system, files, profile, settings, registry, dialogs};
    const auto folderScenarios = [&](const std::string& folder) {
        return FolderScenarioPaths(files, codec, folder);
    };
    switch (Main(ports, state, pathVars, language, folderScenarios)) {
        case StartupOutcome::SecondInstance:
            return 0;
        case StartupOutcome::InstanceHeld:
            return RefuseHeldRun(program);
        case StartupOutcome::DirectRun:
            // A run started by "/inst": the control panel carries the process; the main window never opens.
            return RunDirect(program);
        case StartupOutcome::Resume:
            return RunResume(program);
        case StartupOutcome::ShowMainWindow:
            break;
    }

    // The shell's dialogs expect the user-interface thread in a single-threaded apartment; a run joins one
    // only where it needs one (each use of the shell), since joining starts the display driver, which its
    // first installer should not wait for.
    ComApartment com;
    // DPI awareness comes from the manifest, before any window exists. A run's panel loads the controls
    // itself, once its first installer has started.
    InitCommonControls(ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES);
    const AssociationContext association{registry, dialogs, settings, system, language};
    MainWindowContext context{program, [&](WindowId owner) { CheckAssociationOnce(association, owner); },
                              [&](WindowId owner) { AssociateFromMenu(association, owner); }};
    MainWindow main(context, MakeFrameTexts(state));
    if (!main.Show(showCommand)) {
        return 1;
    }
    return RunMessageLoop(main);
}
