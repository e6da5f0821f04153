#pragma once
// The window's run logs: one file per run in the folder "log" beside the
// settings file, in the format of TovimoCmd's /log, named by the run's start
// and direction (20261208-193005-dxf.csv); a further run in the same second
// adds "-2", "-3" ...
#include <optional>
#include <string>

#include "console/run_log.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/text_files.h"

namespace tovimo {

// settingsFolder ends in "\".
std::string RunLogFolder(const std::string& settingsFolder);

// number 1 for a second's first run, 2 for the next one ...
std::string RunLogFileName(const LocalTime& start, const std::string& direction, int number);

struct MadeRunLog {
    std::optional<RunLog> log;  // begun with its header; nothing when it could not be made
    std::string path;           // its path, or the one that could not be made
};

// Makes the folder when it is missing, and a new log in it under the first
// name that is not taken.
MadeRunLog MakeRunLog(FileSystem& files, TextFiles& texts, Clock& clock, const std::string& folder,
                      const LocalTime& start, const std::string& direction);

}  // namespace tovimo
