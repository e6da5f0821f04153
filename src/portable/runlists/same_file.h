#pragma once
// Paths of one run that name the same file: the same drawing given twice,
// and results that two drawings would both be saved to.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tovimo {

// For each path, whether an earlier path of the list names the same file
// (compared as the file system compares names).
std::vector<bool> NamedEarlier(FileSystem& files, const std::vector<std::string>& paths);

}  // namespace tovimo
