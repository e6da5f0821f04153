#pragma once
// The exit codes of TovimoCmd, for batch files to test.
#include <cstddef>

#include "convert/dwg_dxf.h"

namespace tovimo {

enum ExitCode : int {
    ExitAllConverted = 0,     // every drawing converted
    ExitSomeSkipped = 1,      // the run ended, some drawings were not converted
    ExitCanceled = 2,         // Ctrl+C
    ExitAcadStartFailed = 3,  // AutoCAD could not be started
    ExitOtherAcad = 4,        // another AutoCAD is running
    ExitRefused = 5,          // bad arguments or settings, no drawing, empty macro
};

struct RunOutcome {
    ConvertResult result = ConvertCarriedOut;
    bool canceled = false;        // Canceled was set when the run ended
    std::size_t skipped = 0;      // drawings not converted
    bool acadLost = false;        // AutoCAD went away during the run
};

// A cancel wins over skipped drawings, and over a start it cut short. A run that lost AutoCAD never counts
// as complete, even when every drawing had been dealt with: the system
// variables were not restored.
ExitCode ExitCodeOf(const RunOutcome& outcome);

}  // namespace tovimo
