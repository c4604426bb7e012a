#include "app/win32/RunDirect.h"

#include <functional>

#include "app/OwnDesktop.h"
#include "app/UnattendedRun.h"
#include "app/win32/OwnDesktopRun.h"
#include "base/ProjectAddresses.h"
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

// Where nobody could ever watch the run (LocalSystem, session 0), it goes on as another process on a desktop
// of its own, whose exit code it answers; nothing when it plays here. Where that desktop cannot be made, the
// report says so and the run ends with kNoDesktopExitCode; `begin` starts the report.
std::optional<int> RunOnOwnDesktop(Program& program, const DesktopFacts& facts,
                                   const std::function<void(RunReport&)>& begin) {
    if (!NeedsOwnDesktop(facts, program.system.UserSid() == kLocalSystemSid, OnOwnDesktop()))
        return std::nullopt;
    // The run there takes the single-instance marker itself; another instance that takes it meanwhile holds
    // that run off, which says so in the report.
    program.instanceLock.Release();
    unsigned long error = 0;
    if (const std::optional<int> code = RunAgainOnOwnDesktop(error))
        return code;
    RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
    begin(report);
    report.Refused(OwnDesktopFailedText(error, program.language));
    report.End(kNoDesktopExitCode);
    return kNoDesktopExitCode;
}

}  // namespace

int RunDirect(Program& program) {
    const DesktopFacts facts = program.desktop.Facts();
    const std::string reportFolder =
        program.pathVars.ExpandPathVars(GetSetting(program.settings, kSettingReportFolder));
    if (const std::optional<NoDesktop> why = WhyRunRefused(facts, GetInputChoice(program.settings))) {
        RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
        return RefuseRun(report, program.state, reportFolder, NoDesktopText(*why, facts, program.language));
    }
    const auto begin = [&](RunReport& report) {
        report.Begin(program.state.reportLog, reportFolder, ProgramVersionText());
    };
    if (const std::optional<int> code = RunOnOwnDesktop(program, facts, begin))
        return *code;
    return Play(program);
}

int RunResume(Program& program) {
    const InputChoice choice = GetInputChoice(program.settings);
    // A run held to the mouse never plays on a desktop of its own: it waits below for one where a click
    // lands.
    const DesktopFacts facts = program.desktop.Facts();
    if (!WhyRunRefused(facts, choice)) {
        const auto resume = [&](RunReport& report) { report.Resume(program.state.reportLog); };
        if (const std::optional<int> code = RunOnOwnDesktop(program, facts, resume))
            return *code;
    }
    const ResumePorts ports{program.vault, program.files,      program.system,
                            program.clock, program.logonTasks, program.desktop};
    RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
    // Nobody may be there to answer a message at an unattended logon: what is refused, the report says.
    const ResumeStart start = StartResumedRun(ports, program.language, program.state, report, choice,
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
