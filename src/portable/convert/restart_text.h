#pragma once
#include <string>

#include "convert/conversion_view.h"

namespace tovimo {

// What both programs tell the user when AutoCAD is started again during a
// run, the number-th time.
std::string RestartText(int number, RestartCause cause);

}  // namespace tovimo
