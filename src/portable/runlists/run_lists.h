#pragma once
// The two lists a run converts from: the drawings' paths and, when results
// go to the output folder, one target path per drawing.
#include <string>
#include <string_view>
#include <vector>

#include "drawings/drawing_record.h"
#include "platform/file_system.h"
#include "runlists/target_rules.h"

namespace tovimo {

struct RunLists {
    std::vector<std::string> SourceList;
    // Entry i belongs to SourceList entry i; empty with SaveSameDir.
    std::vector<std::string> TargetList;
    // False when a target folder could not be created; the lists then hold
    // the drawings up to the one that needed it, and nothing may be typed.
    bool ok = true;
    std::string failedFolder;
};

// Forms the lists from the drawings in list order; a drawing whose path names
// the file of an earlier one (the same path, in any letter case) is left
// out, as it is the same drawing. With SaveSameDir nothing
// more; otherwise each target is SaveDir + SubDir + "\" + file name without
// extension, and with SaveChildDir every missing target folder level is
// created on the way, stopping at the first that cannot be.
RunLists BuildRunLists(FileSystem& files, const std::vector<TFileName>& drawings,
                       const TargetRules& rules);

// False when results are to go to the output folder but none was chosen:
// SaveDir still the program's folder (with its "\", compared exactly), which
// it is until the user picks one, or empty.
bool OutputFolderChosen(const TargetRules& rules, std::string_view programFolder);

}  // namespace tovimo
