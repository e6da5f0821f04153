#pragma once
// The command line of TovimoCmd:
//   TovimoCmd dxf|dwg [/s] [/o FOLDER] [/k|/-k] [/y|/n|/u] [/j N] [/shard K/N] [/ini FILE] [/f FILE] [/log FILE] PATH...
// A PATH "@FILE" stands for the paths listed in FILE (path_arguments.h).
//   TovimoCmd /?
#include <optional>
#include <string>
#include <vector>

#include "console/run_shard.h"

namespace tovimo {

enum class ConvertDirection { ToDxf, ToDwg };

struct CommandArguments {
    bool usage = false;  // /?: print the usage and do nothing else
    ConvertDirection direction = ConvertDirection::ToDxf;
    std::vector<std::string> paths;  // as given, "@FILE" lists not yet read
    // Overrides of the settings file, for this run only.
    std::optional<bool> childFolders;    // /s: GetChildFolder
    std::optional<std::string> saveDir;  // /o: SaveSameDir off, SaveDir
    std::optional<bool> saveChildDir;    // /k, /-k: SaveChildDir
    std::optional<bool> rewrite;         // /y, /n: Rewite
    bool update = false;                 // /u: pass over up-to-date results, overwrite the rest
    std::optional<std::string> iniFile;  // /ini: instead of tovimo.ini beside the program
    std::optional<std::string> failedList;  // /f: where to write the drawings not converted
    std::optional<std::string> runLog;      // /log: the run log to make
    std::optional<std::string> acadCount;   // /j: AcadCount, as given (checked with the settings)
    std::optional<RunShard> shard;          // /shard: only this part of the drawings
};

struct ParsedArguments {
    std::optional<CommandArguments> arguments;
    std::string error;  // why the command line was refused, in Japanese
};

ParsedArguments ParseCommandArguments(const std::vector<std::string>& args);

// The text /? prints.
const char* UsageText();

}  // namespace tovimo
