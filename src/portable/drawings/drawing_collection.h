#pragma once
// The drawings of a set of given files and folders, each with its SubDir, in
// the order in which they are converted: the given paths sorted, each folder
// walked in the file system's order.
#include <string>
#include <vector>

#include "drawings/drawing_kind.h"
#include "drawings/drawing_record.h"
#include "drawings/folder_walk.h"
#include "drawings/sub_dir_path.h"
#include "drawings/text_order.h"
#include "drawings/walk_problem.h"
#include "platform/file_system.h"

namespace tovimo {

struct DrawingCollection {
    std::vector<TFileName> drawings;
    // Given paths that name nothing, in sorted order.
    std::vector<std::string> missingPaths;
    // Files given by themselves whose extension is not the kind's.
    std::vector<std::string> passedOverFiles;
    // What the walk could not reach, in the order met: folders it could not
    // read or enter, and drawings of the kind whose names it cannot write.
    std::vector<WalkProblem> unreachable;
};

// Gathers the drawings of one kind that a walk reports: files whose
// lower-cased extension is the kind's, found in the walked folders or given
// by themselves.
class DrawingCollector : public FolderVisitor {
public:
    explicit DrawingCollector(DrawingKind kind) : extension_(DrawingExtension(kind)) {}

    bool FolderEntered(const std::string& path, std::string_view caption) override;
    bool FolderLeft() override;
    bool FileFound(const std::string& folderPath, std::string_view name) override;
    bool FileGiven(const std::string& path) override;
    bool MissingGiven(const std::string& path) override;
    bool Unreachable(const std::string& path, WalkProblemKind kind, bool isFolder) override;

    DrawingCollection& Result() { return result_; }

private:
    std::string_view extension_;
    SubDirPath subDir_;
    DrawingCollection result_;
};

// The drawings of the kind among paths, as a drop of those paths would list
// them. Each path is first made a full path (against the current directory),
// since AutoCAD, which opens the drawings, has a current directory of its
// own; then the paths are sorted by order and walked.
DrawingCollection CollectDrawings(FileSystem& files, const TextOrder& order,
                                  std::vector<std::string> paths, bool withSubFolders,
                                  DrawingKind kind);

}  // namespace tovimo
