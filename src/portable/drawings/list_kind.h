#pragma once
// The kind of the drawing list, decided by the first drop that holds
// drawings, and the look at a drop that the decision needs.
#include <functional>
#include <string>
#include <vector>

#include "drawings/drawing_kind.h"
#include "drawings/walk_problem.h"
#include "platform/file_system.h"

namespace tovimo {

enum class ListKind { None, Dwg, Dxf };

// Which kinds of drawing a drop shows.
struct DrawingsSeen {
    bool dwg = false;
    bool dxf = false;
};

// Looks at the given paths themselves and at every entry of the given
// folders (every level with withSubFolders, the sub-folders' own names
// included; else the first level only). Each counts by the lower-cased
// extension of its name, folders like files. The walk ends as soon as both
// kinds have been seen, unless problems is given: then it goes on to the end
// and hands back everything it could not reach (folders, and DWG and DXF
// drawings whose names code page 932 cannot write), in the order met.
DrawingsSeen LookForDrawings(FileSystem& files, const std::vector<std::string>& paths,
                             bool withSubFolders, std::vector<WalkProblem>* problems = nullptr);

struct KindDecision {
    // The list's kind after the drop.
    ListKind kind = ListKind::None;
    // The message for the user when the drop is refused; empty when taken.
    std::string message;
};

// The kind after a drop. A list without drawings has no kind any more.
// askFileType is asked only when a list without kind gets both kinds at
// once; the kind it answers is taken, the other one left out.
KindDecision DecideListKind(ListKind current, int drawingCount, DrawingsSeen seen,
                            const std::function<DrawingKind()>& askFileType);

// The extension of files that a list of this kind takes; empty for None.
std::string_view ListExtension(ListKind kind);

}  // namespace tovimo
