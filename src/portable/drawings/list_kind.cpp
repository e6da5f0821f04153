#include "drawings/list_kind.h"

#include "drawings/folder_walk.h"
#include "drawings/path_parts.h"

namespace tovimo {

namespace {

constexpr const char* NoDwgMessage = "DwgデータがDropされていません。";
constexpr const char* NoDxfMessage = "DxfデータがDropされていません。";
constexpr const char* NoDrawingMessage = "DwgまたはDxfデータがDropされていません。";

class DrawingLookout : public FolderVisitor {
public:
    explicit DrawingLookout(std::vector<WalkProblem>* problems) : problems_(problems) {}

    // A folder counts by the extension of its name, as a file does.
    bool FolderEntered(const std::string&, std::string_view caption) override {
        return Look(caption);
    }
    bool FolderLeft() override { return true; }
    bool FileFound(const std::string&, std::string_view name) override { return Look(name); }
    bool FileGiven(const std::string& path) override { return Look(path); }
    bool MissingGiven(const std::string& path) override { return Look(path); }
    bool Unreachable(const std::string& path, WalkProblemKind kind, bool isFolder) override {
        if (!problems_) return true;
        if (isFolder || IsDrawing(path)) problems_->push_back({path, kind});
        return true;
    }

    DrawingsSeen seen;

private:
    static bool IsDrawing(std::string_view name) {
        return HasLowerCaseExtension(name, DrawingExtension(DrawingKind::Dwg)) ||
               HasLowerCaseExtension(name, DrawingExtension(DrawingKind::Dxf));
    }

    // False, to end the walk, once both kinds are seen and no problems are
    // wanted.
    bool Look(std::string_view name) {
        if (HasLowerCaseExtension(name, DrawingExtension(DrawingKind::Dwg))) {
            seen.dwg = true;
        } else if (HasLowerCaseExtension(name, DrawingExtension(DrawingKind::Dxf))) {
            seen.dxf = true;
        }
        return problems_ || !(seen.dwg && seen.dxf);
    }

    std::vector<WalkProblem>* problems_;
};

}  // namespace

DrawingsSeen LookForDrawings(FileSystem& files, const std::vector<std::string>& paths,
                             bool withSubFolders, std::vector<WalkProblem>* problems) {
    DrawingLookout lookout(problems);
    WalkGivenPaths(files, paths, withSubFolders, lookout);
    return lookout.seen;
}

KindDecision DecideListKind(ListKind current, int drawingCount, DrawingsSeen seen,
                            const std::function<DrawingKind()>& askFileType) {
    // A list without drawings has no kind any more.
    if (drawingCount <= 0) current = ListKind::None;
    if (current == ListKind::Dwg && !seen.dwg) return {current, NoDwgMessage};
    if (current == ListKind::Dxf && !seen.dxf) return {current, NoDxfMessage};
    if (current == ListKind::None) {
        if (seen.dwg && seen.dxf) {
            if (askFileType() == DrawingKind::Dwg) {
                seen.dxf = false;
            } else {
                seen.dwg = false;
            }
        }
        if (seen.dwg && !seen.dxf) current = ListKind::Dwg;
        if (seen.dxf && !seen.dwg) current = ListKind::Dxf;
    }
    if (current == ListKind::None) return {current, NoDrawingMessage};
    return {current, std::string()};
}

std::string_view ListExtension(ListKind kind) {
    switch (kind) {
        case ListKind::Dwg: return DrawingExtension(DrawingKind::Dwg);
        case ListKind::Dxf: return DrawingExtension(DrawingKind::Dxf);
        case ListKind::None: break;
    }
    return {};
}

}  // namespace tovimo
