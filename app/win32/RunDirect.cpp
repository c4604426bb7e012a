#include "app/win32/RunDirect.h"

#include "playback/Statistics.h"
#include "playback/win32/ControlPanel.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

int RunDirect(Program& program) {
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
                               stats};
    return PlayDirectRun(context);
}

}  // namespace velmora
