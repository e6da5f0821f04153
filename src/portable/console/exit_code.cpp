#include "console/exit_code.h"

namespace tovimo {

ExitCode ExitCodeOf(const RunOutcome& outcome) {
    switch (outcome.result) {
        case ConvertStartFailed: return outcome.canceled ? ExitCanceled : ExitAcadStartFailed;
        case ConvertOtherAcadRunning: return ExitOtherAcad;
        case ConvertRefused: return ExitRefused;
        case ConvertCarriedOut: break;
    }
    if (outcome.canceled) return ExitCanceled;
    if (outcome.skipped > 0 || outcome.acadLost) return ExitSomeSkipped;
    return ExitAllConverted;
}

}  // namespace tovimo
