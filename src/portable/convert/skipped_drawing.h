#pragma once
#include <string>

namespace tovimo {

// Why a drawing of a run was not converted.
enum class SkipReason {
    ResultExists,  // the result exists and overwriting is off
    OpenFailed,    // AutoCAD could not open the drawing
    TimeLimit,     // AutoCAD did not answer within the wait limit
    PathTooLong,   // a command text for it would pass 255 bytes
    AcadGone,      // AutoCAD's main window went away during the run
    ResultNotWritten,  // the macro named the target, but no result was written there
    AcadNotAnswering,  // AutoCAD stopped taking command text during the run
    NoUnicodeForm,     // a command text for it has no UTF-16 form for a Unicode AutoCAD
    TargetTaken,       // an earlier drawing of the run is saved to the same result
    AcadRestartFailed, // AutoCAD was lost and could not be started again
};

struct SkippedDrawing {
    std::string name;  // the skip name: the file name, trimmed
    std::string path;  // the full source path
    SkipReason reason;
    std::string acadShown{};  // what AutoCAD last showed about it; may be empty
};

// A short Japanese text for the reason, for the front ends.
const char* SkipReasonText(SkipReason reason);

}  // namespace tovimo
