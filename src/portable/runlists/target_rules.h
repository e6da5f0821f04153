#pragma once
// Where the results of a run are saved.
#include <string>

namespace tovimo {

struct TargetRules {
    // Each result beside its drawing; the other two are then not looked at.
    bool SaveSameDir = true;
    // The output folder.
    std::string SaveDir;
    // Reproduce the drawings' SubDir folders under SaveDir.
    bool SaveChildDir = true;
};

}  // namespace tovimo
