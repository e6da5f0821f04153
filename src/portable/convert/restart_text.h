#pragma once
#include <string>

#include "convert/conversion_view.h"

namespace tovimo {

// What both programs tell the user when AutoCAD is started again during a
// run, the number-th time.
std::string RestartText(int number, RestartCause cause);
// What both programs tell the user when the AutoCAD of session (from 1) did
// not start and was ended, left AutoCADs going on (0: the run ends).
std::string UnstartedAcadText(int session, int left);

}  // namespace tovimo
