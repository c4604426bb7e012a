#include "startup/win32/RunDirect.h"

#include "engine/win32/frmStels.h"
#include "scenario/ScenarioImage.h"
#include "ui/main/Statistics.h"

namespace velmora {

int RunDirect(Program& program) {
    // The run's own state: the scenario being played, its current step and the statistics of the run.
    ScenarioImage scenario(program.codec, program.pathVars);
    StepState step;
    Statistics stats(program.clock);
    const PanelContext context{program.windows,
                               program.shell,
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
