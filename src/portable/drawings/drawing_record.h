#pragma once
// What is kept of every drawing in the list.
#include <string>

namespace tovimo {

struct TFileName {
    // The drawing file: as given, or the walked folder + "\" + file name.
    std::string FullPath;
    // The drawing's folder below the given folder, as the folder names from
    // the given folder down to the drawing's own, each preceded by "\"
    // (\Plans\Floor1); empty for a drawing given by itself.
    std::string SubDir;

    bool operator==(const TFileName&) const = default;
};

}  // namespace tovimo
