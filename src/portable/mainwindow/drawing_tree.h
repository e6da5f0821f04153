#pragma once
// The tree of the drawing list without any window: folder nodes and drawing
// nodes, each drawing node owning its TFileName record, and the selection
// the user made with plain, Ctrl- and Shift-clicks. The tree view on the
// screen mirrors it through a TreeObserver.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "drawings/drawing_record.h"

namespace tovimo {

using NodeId = int;  // 0: no node
constexpr NodeId NoNode = 0;

struct TreeNode {
    NodeId id = NoNode;
    NodeId parent = NoNode;
    std::vector<NodeId> children;
    std::string caption;
    int image = 0;  // the selected image is always the same
    std::unique_ptr<TFileName> record;  // drawing nodes only
};

class TreeObserver {
public:
    virtual ~TreeObserver() = default;
    // A node was added as the last child of its parent (or the last top-level node).
    virtual void NodeAdded(const TreeNode& node) = 0;
    // The node is about to go, with everything below it.
    virtual void NodeDeleting(const TreeNode& node) = 0;
    // The nodes that show as selected changed.
    virtual void SelectionChanged() = 0;
};

class DrawingTree {
public:
    DrawingTree();
    ~DrawingTree();
    DrawingTree(const DrawingTree&) = delete;
    DrawingTree& operator=(const DrawingTree&) = delete;

    void SetObserver(TreeObserver* observer) { observer_ = observer; }

    // Adds a node as the last child of parent (NoNode: last top-level node).
    NodeId Add(NodeId parent, std::string caption, int image, std::unique_ptr<TFileName> record);
    // Deletes the node and everything below it; their records go with them.
    // A node that is gone already is passed over.
    void Delete(NodeId id);
    void Clear();

    const TreeNode* Find(NodeId id) const;
    bool Empty() const { return roots_.empty(); }
    std::size_t NodeCount() const { return nodes_.size(); }
    const std::vector<NodeId>& Roots() const { return roots_; }
    // Every node, each before its children: the order of the run.
    std::vector<NodeId> FlatOrder() const;
    // The nodes that carry a record.
    int CountDrawings() const;
    // A caption edited in place; the records keep what they were made with.
    void Rename(NodeId id, std::string caption);

    // The selection, in the order the nodes were selected; Selected() is the
    // node selected last (NoNode when none).
    const std::vector<NodeId>& Selection() const { return selection_; }
    NodeId Selected() const { return selection_.empty() ? NoNode : selection_.back(); }
    bool IsSelected(NodeId id) const;
    // A plain click, or the program selecting a node: it alone is selected.
    void Select(NodeId id);
    // Ctrl-click: the node joins the selection, or leaves it when it was in it.
    void ToggleSelect(NodeId id);
    // Shift-click: the nodes from the anchor (the last node clicked without
    // Shift) to id, in the order on the screen, which visibleOrder gives.
    void RangeSelect(NodeId id, const std::vector<NodeId>& visibleOrder);
    void ClearSelection();

private:
    void Forget(NodeId id);
    void Notify();

    // Ids are never used twice, so a stale id finds nothing.
    std::unordered_map<NodeId, std::unique_ptr<TreeNode>> nodes_;
    std::vector<NodeId> roots_;
    std::vector<NodeId> selection_;
    NodeId anchor_ = NoNode;
    NodeId lastId_ = NoNode;
    TreeObserver* observer_ = nullptr;
};

}  // namespace tovimo
