#include "mainwindow/drawing_tree.h"

#include <algorithm>

namespace tovimo {

DrawingTree::DrawingTree() = default;
DrawingTree::~DrawingTree() = default;

NodeId DrawingTree::Add(NodeId parent, std::string caption, int image,
                        std::unique_ptr<TFileName> record) {
    auto node = std::make_unique<TreeNode>();
    node->id = ++lastId_;
    TreeNode* parentNode = parent == NoNode ? nullptr : nodes_.at(parent).get();
    node->parent = parentNode ? parent : NoNode;
    node->caption = std::move(caption);
    node->image = image;
    node->record = std::move(record);
    const NodeId id = node->id;
    (parentNode ? parentNode->children : roots_).push_back(id);
    const TreeNode& added = *nodes_.emplace(id, std::move(node)).first->second;
    if (observer_) observer_->NodeAdded(added);
    return id;
}

void DrawingTree::Delete(NodeId id) {
    const TreeNode* node = Find(id);
    if (!node) return;
    if (observer_) observer_->NodeDeleting(*node);
    std::vector<NodeId>& siblings =
        node->parent == NoNode ? roots_ : nodes_.at(node->parent)->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), id));
    const std::size_t selected = selection_.size();
    Forget(id);
    if (selection_.size() != selected) Notify();
}

void DrawingTree::Forget(NodeId id) {
    auto found = nodes_.find(id);
    for (NodeId child : found->second->children) Forget(child);
    selection_.erase(std::remove(selection_.begin(), selection_.end(), id), selection_.end());
    if (anchor_ == id) anchor_ = NoNode;
    nodes_.erase(found);  // the record goes with the node
}

void DrawingTree::Clear() {
    while (!roots_.empty()) Delete(roots_.front());
}

const TreeNode* DrawingTree::Find(NodeId id) const {
    const auto found = nodes_.find(id);
    return found == nodes_.end() ? nullptr : found->second.get();
}

std::vector<NodeId> DrawingTree::FlatOrder() const {
    std::vector<NodeId> order;
    order.reserve(nodes_.size());
    std::vector<NodeId> pending(roots_.rbegin(), roots_.rend());
    while (!pending.empty()) {
        const NodeId id = pending.back();
        pending.pop_back();
        order.push_back(id);
        const std::vector<NodeId>& children = nodes_.at(id)->children;
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return order;
}

int DrawingTree::CountDrawings() const {
    int count = 0;
    for (const auto& [id, node] : nodes_)
        if (node->record) ++count;
    return count;
}

void DrawingTree::Rename(NodeId id, std::string caption) {
    if (auto found = nodes_.find(id); found != nodes_.end())
        found->second->caption = std::move(caption);
}

bool DrawingTree::IsSelected(NodeId id) const {
    return std::find(selection_.begin(), selection_.end(), id) != selection_.end();
}

void DrawingTree::Select(NodeId id) {
    selection_.clear();
    if (Find(id)) selection_.push_back(id);
    anchor_ = selection_.empty() ? NoNode : id;
    Notify();
}

void DrawingTree::ToggleSelect(NodeId id) {
    if (!Find(id)) return;
    const auto found = std::find(selection_.begin(), selection_.end(), id);
    if (found != selection_.end()) {
        selection_.erase(found);
    } else {
        selection_.push_back(id);
    }
    anchor_ = id;
    Notify();
}

void DrawingTree::RangeSelect(NodeId id, const std::vector<NodeId>& visibleOrder) {
    const auto to = std::find(visibleOrder.begin(), visibleOrder.end(), id);
    const auto from = std::find(visibleOrder.begin(), visibleOrder.end(), anchor_);
    if (to == visibleOrder.end() || !Find(id)) return;
    if (from == visibleOrder.end()) {
        const NodeId keep = id;
        Select(keep);
        return;
    }
    // From the anchor towards the clicked node, so that the clicked node is
    // the one selected last.
    selection_.clear();
    if (from <= to) {
        for (auto it = from; it <= to; ++it) selection_.push_back(*it);
    } else {
        for (auto it = from;; --it) {
            selection_.push_back(*it);
            if (it == to) break;
        }
    }
    Notify();
}

void DrawingTree::ClearSelection() {
    selection_.clear();
    anchor_ = NoNode;
    Notify();
}

void DrawingTree::Notify() {
    if (observer_) observer_->SelectionChanged();
}

}  // namespace tovimo
