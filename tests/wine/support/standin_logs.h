#pragma once
// The logs of several stand-in AutoCADs started alike, each writing its own
// file: "/log:FOLDER\PREFIX{pid}.log".
#include <string>
#include <vector>

#include "standin_log_file.h"

namespace tovimo::wine_tests {

// The switch that gives each stand-in its own log in folder (with its "\").
std::string PerProcessLogSwitch(const std::string& folder, const std::string& prefix);
// The logs written so far, in no particular order.
std::vector<StandinLogFile> PerProcessLogs(const std::string& folder, const std::string& prefix);

}  // namespace tovimo::wine_tests
