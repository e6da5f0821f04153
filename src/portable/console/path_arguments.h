#pragma once
// The PATH arguments of TovimoCmd with every "@FILE" replaced by the paths
// that the list file FILE holds (see path_list.h).
#include <string>
#include <vector>

#include "platform/text_files.h"

namespace tovimo {

struct ExpandedPaths {
    std::vector<std::string> paths;
    std::string error;  // empty when every list could be read; else in Japanese
};

// A list's paths stand where its "@FILE" stood, in the file's order. Paths
// inside a list are taken as they are, even when they start with "@". A
// list that cannot be read refuses the whole command line.
ExpandedPaths ExpandPathArguments(const std::vector<std::string>& given, TextFiles& files);

// True for an argument of the form "@FILE".
bool IsPathListArgument(const std::string& arg);

}  // namespace tovimo
