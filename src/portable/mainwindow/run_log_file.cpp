#include "mainwindow/run_log_file.h"

#include <cstdio>

namespace tovimo {

namespace {
// More runs than this in one second are not logged.
constexpr int MaxLogsPerSecond = 100;
}  // namespace

std::string RunLogFolder(const std::string& settingsFolder) { return settingsFolder + "log"; }

std::string RunLogFileName(const LocalTime& start, const std::string& direction, int number) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", start.year, start.month,
                  start.day, start.hour, start.minute, start.second);
    std::string name = std::string(stamp) + "-" + direction;
    if (number > 1) name += "-" + std::to_string(number);
    return name + ".csv";
}

MadeRunLog MakeRunLog(FileSystem& files, TextFiles& texts, Clock& clock, const std::string& folder,
                      const LocalTime& start, const std::string& direction) {
    MadeRunLog made;
    if (!files.DirectoryExists(folder)) files.CreateDirectory(folder);
    for (int number = 1; number <= MaxLogsPerSecond; ++number) {
        made.path = folder + "\\" + RunLogFileName(start, direction, number);
        if (files.GetPathKind(made.path) == PathKind::Missing) break;
    }
    if (files.GetPathKind(made.path) != PathKind::Missing) return made;  // every name taken
    made.log.emplace(texts, clock, made.path);
    if (!made.log->Begin()) made.log.reset();
    return made;
}

}  // namespace tovimo
