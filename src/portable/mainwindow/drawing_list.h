#pragma once
// The drawing list of the main window without the window: what a drop of
// files and folders does to the tree and to the list's kind, the count of
// drawings, removing entries, and which list buttons take input.
#include <string>
#include <vector>

#include "drawings/drawing_kind.h"
#include "drawings/list_kind.h"
#include "drawings/text_order.h"
#include "drawings/walk_problem.h"
#include "mainwindow/control_states.h"
#include "mainwindow/drawing_tree.h"
#include "platform/file_system.h"

namespace tovimo {

// The caption of the messages about a drop (no blank before "メッセージ").
constexpr const char* DropMessageCaption = "Tovimoメッセージ";

// What the list needs of the window around it.
class DrawingListHost {
public:
    virtual ~DrawingListHost() = default;
    // The file-type question, asked when a list without kind gets both kinds.
    virtual DrawingKind AskFileType() = 0;
    // A message box with an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Appends the small icon of the file type of path (looked up by its name
    // alone) to the tree's images; gives its index.
    virtual int AddFileIcon(const std::string& path) = 0;
    // Whether "子ﾌｫﾙﾀﾞも選択" is ticked.
    virtual bool GetChildFolderChecked() = 0;
};

class DrawingList {
public:
    DrawingList(FileSystem& files, const TextOrder& order, DrawingListHost& host,
                ControlStates& controls);

    DrawingTree& Tree() { return tree_; }
    const DrawingTree& Tree() const { return tree_; }

    // A drop whose paths have been read: sorts them, scans them into the
    // tree, enables the run button of the list's kind, counts the drawings
    // and sets the list buttons. unnamed: dropped paths that code page 932
    // cannot write (shown with "?"), named in the message after the drop.
    void TakeDrop(std::vector<std::string> paths, std::vector<std::string> unnamed = {});
    // The kind decided and the tree built, after which the folders and
    // drawings the walk could not reach are named in one message.
    void ScanDropList();
    // Adds a folder node or, when path has the list's extension, a drawing
    // node under parent and selects it; gives the parent when nothing was added.
    NodeId AddTreeNode(NodeId parent, const std::string& path, bool isFolder);
    void AddFolder(const std::string& folder);
    int GetFileIcon(const std::string& path);

    void CountDrawings();
    void UpdateButtons();
    void DisableButtons();
    void EnableButtons();

    void DeletePopClick();
    void AllDeletePopClick();
    void PopupMenu1Popup();

    // The records of the drawing nodes in the tree's flat order.
    std::vector<TFileName> Drawings() const;
    ListKind Kind() const;

    std::vector<std::string> DropList;
    bool DwgSelected = false;
    bool DxfSelected = false;
    std::string SelectedExt;
    int FileIconIndex = -1;
    int DwgCount = 0;

private:
    class FolderFill;
    void BuildFromDropList();

    FileSystem& files_;
    const TextOrder& order_;
    DrawingListHost& host_;
    ControlStates& controls_;
    DrawingTree tree_;
    std::vector<WalkProblem> problems_;  // of the drop under way
    std::vector<std::string> unnamed_;    // of the drop under way
};

}  // namespace tovimo
