#include "app/win32/RunDirect.h"

#include "app/UnattendedRun.h"
#include "base/Settings.h"
#include "base/Utilities.h"
#include "playback/Statistics.h"
#include "playback/win32/ControlPanel.h"
#include "scenario/ScenarioImage.h"

namespace velmora {
namespace {

int Play(Program& program) {
    // The run's own state: the scenario being played, its current step and the statistics of the run.
    ScenarioImage scenario(program.codec, program.pathVars);
    StepState step;
    Statistics stats(program.clock);
    const PanelContext context{program.windows,
                               program.shell,
                               program.dialogs,
                               program.clock,
                               program.files,
                               program.system,
                               program.settings,
                               program.language,
                               program.pathVars,
                               scenario,
                               step,
                               program.state,
                               stats,
                               program.logonTasks,
                               program.restart,
                               program.vault,
                               program.desktop};
    return PlayDirectRun(context);
}

}  // namespace

int RunDirect(Program& program) {
    const DesktopFacts facts = program.desktop.Facts();
    const std::optional<NoDesktop> why = WhyNoDesktop(facts);
    // Window messages reach an installer where no click can land, unless the mouse alone was asked for.
    if (why && !ChooseDelivery(facts, GetInputChoice(program.settings))) {
        RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
        return RefuseRun(report, program.state,
                         program.pathVars.ExpandPathVars(GetSetting(program.settings, kSettingReportFolder)),
                         NoDesktopText(*why, facts, program.language));
    }
    return Play(program);
}

int RunResume(Program& program) {
    const ResumePorts ports{program.vault, program.files,      program.system,
                            program.clock, program.logonTasks, program.desktop};
    RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
    // Nobody may be there to answer a message at an unattended logon: what is refused, the report says.
    const ResumeStart start = StartResumedRun(ports, program.language, program.state, report,
                                              [](int ms) { Sleep(static_cast<DWORD>(ms)); });
    return start.exitCode ? *start.exitCode : Play(program);
}

int RefuseHeldRun(Program& program) {
    // A resumed run's task names its report on the command line ("/resume /LOG=..."), which gave reportLog.
    SharedState& state = program.state;
    RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
    return RefuseRun(report, state,
                     program.pathVars.ExpandPathVars(GetSetting(program.settings, kSettingReportFolder)),
                     InstanceHeldText(program.language), kInstanceHeldExitCode);
}

}  // namespace velmora
