#pragma once
// TreeView1: the tree control that shows the drawing tree. It mirrors the
// tree's nodes and selection, and turns plain, Ctrl- and Shift-clicks into
// the tree's selection (the control has no multi-selection of its own).
#include <unordered_map>
#include <vector>

#include "mainwindow/drawing_tree.h"
#include "platform/win32_api.h"

#include <commctrl.h>

namespace tovimo::win32 {

class DrawingTreeView : public TreeObserver {
public:
    DrawingTreeView(DrawingTree& tree) : tree_(tree) {}
    ~DrawingTreeView() override;

    // Creates the control in parent with its images.
    HWND Create(HWND parent, int id, HIMAGELIST images, int indent);
    HWND Handle() const { return handle_; }
    void SetIndent(int indent);

    // While a drop fills the tree: nothing is redrawn and the selection is
    // shown once at the end.
    void BeginFill();
    void EndFill();

    // The tree's notifications that concern the view; true when handled,
    // with the result in result.
    bool Notify(const NMHDR& header, LRESULT& result);
    // Whether a caption may be edited in place (not during a run).
    void AllowLabelEditing(bool allowed) { labelEditing_ = allowed; }

    NodeId NodeOf(HTREEITEM item) const;
    HTREEITEM ItemOf(NodeId id) const;
    // The nodes in the order the screen shows them (expanded parents only).
    std::vector<NodeId> VisibleOrder() const;

    void NodeAdded(const TreeNode& node) override;
    void NodeDeleting(const TreeNode& node) override;
    void SelectionChanged() override;

private:
    static LRESULT CALLBACK TreeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data);
    bool MouseDown(LPARAM lParam, WPARAM keys);
    void ShowSelection();
    void Forget(const TreeNode& node);

    DrawingTree& tree_;
    HWND handle_ = nullptr;
    std::unordered_map<NodeId, HTREEITEM> items_;
    std::vector<HTREEITEM> highlighted_;
    std::vector<HTREEITEM> foldersToOpen_;  // folders added during a fill
    bool filling_ = false;
    bool selectionDirty_ = false;
    bool showingSelection_ = false;
    bool labelEditing_ = true;
};

}  // namespace tovimo::win32
