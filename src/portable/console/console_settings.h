#pragma once
// The settings of a console run: the settings file read as the main window
// reads it, checked more strictly (a console run has nobody to correct a
// value on the way), with the command line's options laid over it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/command_arguments.h"
#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "settings/settings.h"

namespace tovimo {

struct ConsoleSettings {
    std::string file;           // the settings file, as a full path
    MainFormSettings settings;  // with the options applied
};

struct ConsoleSettingsResult {
    std::optional<ConsoleSettings> settings;
    // Why the settings cannot be used, one line each; empty when they can.
    std::vector<std::string> errors;
};

// /ini FILE made a full path (the profile functions would look for a bare
// name in the Windows folder), else "tovimo.ini" in the program's folder.
std::string ConsoleSettingsFile(FileSystem& files, const CommandArguments& arguments,
                                std::string_view programFolder);

// Refuses a settings file that is not there, a wait or end value that is
// set but no integer, a value outside its range, an output folder given with /o that
// does not exist, and results meant for an output folder when none was
// chosen. A key that is missing or empty takes its default, as in the window.
ConsoleSettingsResult ReadConsoleSettings(ProfileFile& profile, FileSystem& files,
                                          const CommandArguments& arguments,
                                          std::string_view programFolder);

}  // namespace tovimo
