#include "drawings/drawing_collection.h"

#include "drawings/path_parts.h"

namespace tovimo {

bool DrawingCollector::FolderEntered(const std::string&, std::string_view caption) {
    subDir_.Enter(caption);
    return true;
}

bool DrawingCollector::FolderLeft() {
    subDir_.Leave();
    return true;
}

bool DrawingCollector::FileFound(const std::string& folderPath, std::string_view name) {
    if (!HasLowerCaseExtension(name, extension_)) return true;
    TFileName& drawing = result_.drawings.emplace_back();
    drawing.FullPath.reserve(folderPath.size() + 1 + name.size());
    drawing.FullPath += folderPath;
    drawing.FullPath += '\\';
    drawing.FullPath += name;
    drawing.SubDir = subDir_.Text();
    return true;
}

bool DrawingCollector::FileGiven(const std::string& path) {
    if (HasLowerCaseExtension(path, extension_)) {
        result_.drawings.push_back({path, std::string()});
    } else {
        result_.passedOverFiles.push_back(path);
    }
    return true;
}

bool DrawingCollector::MissingGiven(const std::string& path) {
    result_.missingPaths.push_back(path);
    return true;
}

bool DrawingCollector::Unreachable(const std::string& path, WalkProblemKind kind, bool isFolder) {
    // Files of other kinds would not have been taken anyway.
    if (isFolder || HasLowerCaseExtension(path, extension_))
        result_.unreachable.push_back({path, kind});
    return true;
}

DrawingCollection CollectDrawings(FileSystem& files, const TextOrder& order,
                                  std::vector<std::string> paths, bool withSubFolders,
                                  DrawingKind kind) {
    for (std::string& path : paths) path = files.FullPathName(path);
    SortPaths(paths, order);
    DrawingCollector collector(kind);
    WalkGivenPaths(files, paths, withSubFolders, collector);
    return std::move(collector.Result());
}

}  // namespace tovimo
