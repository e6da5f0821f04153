#include "mainwindow/drawing_list.h"

#include "drawings/folder_walk.h"
#include "drawings/path_parts.h"

namespace tovimo {

// Builds the nodes of one dropped folder as the walk meets its entries.
class DrawingList::FolderFill : public FolderVisitor {
public:
    explicit FolderFill(DrawingList& list) : list_(list) {}

    bool FolderEntered(const std::string&, std::string_view caption) override {
        // The dropped folder's own node is added before the walk.
        if (parents_.empty()) {
            parents_.push_back(list_.tree_.Selected());
        } else {
            parents_.push_back(list_.AddTreeNode(parents_.back(), std::string(caption), true));
        }
        return true;
    }
    bool FolderLeft() override {
        parents_.pop_back();
        return true;
    }
    bool FileFound(const std::string& folderPath, std::string_view name) override {
        std::string path;
        path.reserve(folderPath.size() + 1 + name.size());
        path += folderPath;
        path += '\\';
        path += name;
        list_.AddTreeNode(parents_.back(), path, false);
        return true;
    }
    bool FileGiven(const std::string&) override { return true; }
    bool MissingGiven(const std::string&) override { return true; }
    // What the walk cannot reach is told to the user after the drop: a
    // folder, or a file that would be a drawing of the list's kind.
    bool Unreachable(const std::string& path, WalkProblemKind kind, bool isFolder) override {
        if (isFolder || HasLowerCaseExtension(path, list_.SelectedExt))
            list_.problems_.push_back({path, kind});
        return true;
    }

private:
    DrawingList& list_;
    std::vector<NodeId> parents_;
};

DrawingList::DrawingList(FileSystem& files, const TextOrder& order, DrawingListHost& host,
                         ControlStates& controls)
    : files_(files), order_(order), host_(host), controls_(controls) {}

void DrawingList::TakeDrop(std::vector<std::string> paths, std::vector<std::string> unnamed) {
    DropList = std::move(paths);
    unnamed_ = std::move(unnamed);
    SortPaths(DropList, order_);
    ScanDropList();
    // Also after a drop that ended with a message.
    if (DxfSelected) {
        controls_.ToDwgBitBtn = true;
    } else if (DwgSelected) {
        controls_.ToDxfBitBtn = true;
    }
    CountDrawings();
    UpdateButtons();
}

void DrawingList::ScanDropList() {
    problems_.clear();
    for (const std::string& path : unnamed_) problems_.push_back({path, WalkProblemKind::NoCp932Name});
    unnamed_.clear();
    BuildFromDropList();
    if (!problems_.empty()) host_.ShowMessage(WalkProblemsMessage(problems_), DropMessageCaption);
}

void DrawingList::BuildFromDropList() {
    const bool withSubFolders = host_.GetChildFolderChecked();
    const DrawingsSeen seen = LookForDrawings(files_, DropList, withSubFolders);
    const KindDecision decision =
        DecideListKind(Kind(), DwgCount, seen, [this] { return host_.AskFileType(); });
    DwgSelected = decision.kind == ListKind::Dwg;
    DxfSelected = decision.kind == ListKind::Dxf;
    if (!decision.message.empty()) {
        host_.ShowMessage(decision.message, DropMessageCaption);
        // What could not be looked at may be why nothing was found.
        LookForDrawings(files_, DropList, withSubFolders, &problems_);
        return;
    }
    SelectedExt = std::string(ListExtension(decision.kind));

    for (const std::string& path : DropList) {
        if (files_.GetPathKind(path) == PathKind::Folder) {
            const NodeId folderNode = AddTreeNode(NoNode, path, true);
            AddFolder(path);
            tree_.Select(folderNode);
        } else {
            AddTreeNode(NoNode, path, false);
        }
    }
}

void DrawingList::AddFolder(const std::string& folder) {
    FolderFill fill(*this);
    WalkGivenFolder(files_, folder, host_.GetChildFolderChecked(), fill);
}

NodeId DrawingList::AddTreeNode(NodeId parent, const std::string& path, bool isFolder) {
    if (!isFolder && !HasLowerCaseExtension(path, SelectedExt)) return parent;
    std::unique_ptr<TFileName> record;
    if (!isFolder) {
        record = std::make_unique<TFileName>();
        record->FullPath = path;
        for (const TreeNode* node = tree_.Find(parent); node; node = tree_.Find(node->parent))
            record->SubDir.insert(0, "\\" + node->caption);
    }
    // A dropped folder is captioned by FolderCaption, so that a drive root
    // gets its letter rather than no caption at all.
    std::string caption = isFolder && parent == NoNode ? FolderCaption(path)
                                                       : std::string(FileNameOf(path));
    const int image = isFolder ? 0 : GetFileIcon(path);
    const NodeId node = tree_.Add(parent, std::move(caption), image, std::move(record));
    tree_.Select(node);
    return node;
}

int DrawingList::GetFileIcon(const std::string& path) {
    if (FileIconIndex != -1) return FileIconIndex;
    FileIconIndex = host_.AddFileIcon(path);
    return FileIconIndex;
}

void DrawingList::CountDrawings() { DwgCount = tree_.CountDrawings(); }

void DrawingList::UpdateButtons() {
    if (DwgCount <= 0) {
        DisableButtons();
    } else {
        EnableButtons();
    }
}

void DrawingList::DisableButtons() {
    if (DwgCount == 0) controls_.ToDxfBitBtn = controls_.ToDwgBitBtn = false;
    // A tree that holds only folder nodes keeps its list buttons.
    if (tree_.Empty()) {
        controls_.ClearBitBtn = controls_.AllDeletePop = controls_.DeletePop = false;
        controls_.CancelBitBtn = false;
    }
}

void DrawingList::EnableButtons() {
    controls_.ClearBitBtn = controls_.AllDeletePop = controls_.DeletePop = true;
}

void DrawingList::DeletePopClick() {
    // From the node selected last to the first; a node already gone with a
    // deleted node above it is passed over by Delete.
    const std::vector<NodeId> selection = tree_.Selection();
    for (auto it = selection.rbegin(); it != selection.rend(); ++it) tree_.Delete(*it);
    CountDrawings();
    UpdateButtons();
    if (DwgCount == 0) FileIconIndex = -1;
}

void DrawingList::AllDeletePopClick() {
    tree_.Clear();
    DwgCount = 0;
    DisableButtons();
    DwgSelected = DxfSelected = false;
    FileIconIndex = -1;
}

void DrawingList::PopupMenu1Popup() { controls_.DeletePop = !tree_.Empty(); }

std::vector<TFileName> DrawingList::Drawings() const {
    std::vector<TFileName> drawings;
    for (NodeId id : tree_.FlatOrder())
        if (const TreeNode* node = tree_.Find(id); node->record) drawings.push_back(*node->record);
    return drawings;
}

ListKind DrawingList::Kind() const {
    if (DwgSelected) return ListKind::Dwg;
    if (DxfSelected) return ListKind::Dxf;
    return ListKind::None;
}

}  // namespace tovimo
