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
                               program.restart};
    return PlayDirectRun(context);
}

}  // namespace

int RunDirect(Program& program) {
    const DesktopFacts facts = program.desktop.Facts();
    if (const std::optional<NoDesktop> why = WhyNoDesktop(facts)) {
        RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
        return RefuseRun(report, program.state,
                         program.pathVars.ExpandPathVars(GetSetting(program.settings, kSettingReportFolder)),
                         NoDesktopText(*why, facts, program.language));
    }
    return Play(program);
}

int RunResume(Program& program) {
    const ResumePorts ports{program.files, program.system, program.clock, program.logonTasks};
    const ResumeStart start =
        StartResumedRun(ports, program.desktop.Facts(), program.language, program.state);
    if (!start.message.empty())
        program.dialogs.Message(0, start.message, kProgramTitle, MsgButtons::Ok, MsgIcon::Exclamation,
                                MsgDefault::First);
    return start.exitCode ? *start.exitCode : Play(program);
}

int RefuseHeldRun(Program& program) {
    SharedState& state = program.state;
    if (state.resumeRun) {
        if (const std::optional<ResumeRecord> record =
                ReadResumeRecord(program.files, program.system, program.clock).record)
            state.reportLog = record->report;
    }
    RunReport report(RunReportPorts{program.files, program.clock, program.system, program.language});
    return RefuseRun(report, state,
                     program.pathVars.ExpandPathVars(GetSetting(program.settings, kSettingReportFolder)),
                     InstanceHeldText(program.language), kInstanceHeldExitCode);
}

}  // namespace velmora
