#include "mainwindow/drawing_tree_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace tovimo::win32 {

DrawingTreeView::~DrawingTreeView() {
    if (handle_) ::RemoveWindowSubclass(handle_, TreeProcedure, 1);
}

HWND DrawingTreeView::Create(HWND parent, int id, HIMAGELIST images, int indent) {
    // No lines or buttons at the top level; captions editable in place.
    handle_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                                    TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                                0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    SetIndent(indent);
    ::SetWindowSubclass(handle_, TreeProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    tree_.SetObserver(this);
    return handle_;
}

void DrawingTreeView::SetIndent(int indent) {
    ::SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(indent), 0);
}

void DrawingTreeView::BeginFill() {
    filling_ = true;
    ::SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void DrawingTreeView::EndFill() {
    filling_ = false;
    // The deepest first, so that each opens while the folders above it are
    // still closed.
    for (auto it = foldersToOpen_.rbegin(); it != foldersToOpen_.rend(); ++it)
        ::SendMessageA(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(*it));
    foldersToOpen_.clear();
    if (selectionDirty_) ShowSelection();
    ::SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(handle_, nullptr, TRUE);
}

void DrawingTreeView::NodeAdded(const TreeNode& node) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = node.parent == NoNode ? TVI_ROOT : ItemOf(node.parent);
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<char*>(node.caption.c_str());
    insert.item.iImage = insert.item.iSelectedImage = node.image;
    insert.item.lParam = node.id;
    // Folders open: what is dropped is shown. During a fill they are opened
    // at its end, since the control orders its visible items anew at every
    // insertion under an open folder.
    insert.item.state = insert.item.stateMask = node.record || filling_ ? 0 : TVIS_EXPANDED;
    const auto item = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(handle_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    items_[node.id] = item;
    if (filling_) {
        if (!node.record) foldersToOpen_.push_back(item);
    } else if (node.parent != NoNode) {
        ::SendMessageA(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(insert.hParent));
    }
}

void DrawingTreeView::NodeDeleting(const TreeNode& node) {
    const HTREEITEM item = ItemOf(node.id);
    Forget(node);
    if (item) ::SendMessageA(handle_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void DrawingTreeView::Forget(const TreeNode& node) {
    const auto found = items_.find(node.id);
    if (found != items_.end()) {
        foldersToOpen_.erase(std::remove(foldersToOpen_.begin(), foldersToOpen_.end(), found->second),
                             foldersToOpen_.end());
        highlighted_.erase(std::remove(highlighted_.begin(), highlighted_.end(), found->second),
                           highlighted_.end());
        items_.erase(found);
    }
    for (NodeId child : node.children)
        if (const TreeNode* childNode = tree_.Find(child)) Forget(*childNode);
}

void DrawingTreeView::SelectionChanged() {
    if (filling_) {
        selectionDirty_ = true;
        return;
    }
    ShowSelection();
}

void DrawingTreeView::ShowSelection() {
    selectionDirty_ = false;
    showingSelection_ = true;
    const auto setSelected = [this](HTREEITEM item, bool selected) {
        TVITEMA state{};
        state.mask = TVIF_STATE;
        state.hItem = item;
        state.state = selected ? TVIS_SELECTED : 0;
        state.stateMask = TVIS_SELECTED;
        ::SendMessageA(handle_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state));
    };
    const HTREEITEM caret = ItemOf(tree_.Selected());
    ::SendMessageA(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(caret));
    for (HTREEITEM item : highlighted_) setSelected(item, false);
    highlighted_.clear();
    for (NodeId id : tree_.Selection()) {
        if (const HTREEITEM item = ItemOf(id)) {
            setSelected(item, true);
            highlighted_.push_back(item);
        }
    }
    showingSelection_ = false;
}

NodeId DrawingTreeView::NodeOf(HTREEITEM item) const {
    if (!item) return NoNode;
    TVITEMA data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!::SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return NoNode;
    return static_cast<NodeId>(data.lParam);
}

HTREEITEM DrawingTreeView::ItemOf(NodeId id) const {
    const auto found = items_.find(id);
    return found == items_.end() ? nullptr : found->second;
}

std::vector<NodeId> DrawingTreeView::VisibleOrder() const {
    std::vector<NodeId> order;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(handle_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        order.push_back(NodeOf(item));
        item = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(handle_, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)));
    }
    return order;
}

bool DrawingTreeView::Notify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
        case TVN_SELCHANGEDA: {
            const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
            // A selection the view made itself, or one a click is about to set.
            if (showingSelection_ || change.action == TVC_BYMOUSE) return false;
            const NodeId node = NodeOf(change.itemNew.hItem);
            if (node != NoNode && !(tree_.Selection().size() == 1 && tree_.Selected() == node))
                tree_.Select(node);
            result = 0;
            return true;
        }
        case TVN_BEGINLABELEDITA:
            result = labelEditing_ ? FALSE : TRUE;  // TRUE refuses the edit
            return true;
        case TVN_ENDLABELEDITA: {
            const auto& edit = reinterpret_cast<const NMTVDISPINFOA&>(header);
            // A caption edited in place only changes the caption.
            if (edit.item.pszText) tree_.Rename(NodeOf(edit.item.hItem), edit.item.pszText);
            result = edit.item.pszText != nullptr;
            return true;
        }
        default: return false;
    }
}

bool DrawingTreeView::MouseDown(LPARAM lParam, WPARAM keys) {
    TVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::SendMessageA(handle_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (!hit.hItem || !(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return false;
    const NodeId node = NodeOf(hit.hItem);
    ::SetFocus(handle_);
    if (keys & MK_CONTROL) {
        tree_.ToggleSelect(node);
    } else if (keys & MK_SHIFT) {
        tree_.RangeSelect(node, VisibleOrder());
    } else {
        tree_.Select(node);
    }
    return true;
}

LRESULT CALLBACK DrawingTreeView::TreeProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* view = reinterpret_cast<DrawingTreeView*>(data);
    if (message == WM_LBUTTONDOWN && (wParam & (MK_CONTROL | MK_SHIFT))) {
        if (view->MouseDown(lParam, wParam)) return 0;
    }
    if (message == WM_LBUTTONDOWN) {
        // The control's own click (which may start an edit in place), then
        // the tree's selection: a single node.
        const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
        view->MouseDown(lParam, 0);
        return result;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace tovimo::win32
