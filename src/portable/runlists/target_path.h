#pragma once
// The paths that results are saved to. A target path never carries an
// extension: AutoCAD adds the one of the format it writes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runlists/target_rules.h"

namespace tovimo {

// The output folder as it is joined to the rest of a target: without a "\"
// at its end, so that a folder chosen as D:\ or typed as E:\Out\ does not
// give doubled separators.
std::string_view OutputFolderBase(std::string_view saveDir);

// The folder that a drawing's result goes to when the sub-folders are
// reproduced: the output folder followed directly by the SubDir.
std::string TargetFolder(std::string_view saveDir, std::string_view subDir);

// folder + "\" + the file name of source without its extension.
std::string TargetInFolder(std::string_view folder, std::string_view source);

// The target path of drawing i of a run, the first rule that applies:
// 1. SaveSameDir: the source without its extension, beside the source;
// 2. SaveChildDir: targets[i] as the run lists formed it;
// 3. else: the output folder, "\", the source's file name without extension.
// A targets list without entry i (which the run lists never give) is not
// read: rule 3 applies then.
std::string SaveFileTarget(const TargetRules& rules, const std::string& source, std::size_t i,
                           const std::vector<std::string>& targets);

}  // namespace tovimo
