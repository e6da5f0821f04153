#include "mainwindow/drawing_list.h"

#include <gtest/gtest.h>

#include "fake_main_form_host.h"
#include "memory_file_system.h"
#include "memory_files.h"

namespace tovimo {
namespace {

using testing::FakeMainFormHost;
using testing::MemoryFiles;
using testing::MemoryFileSystem;

class DrawingListTest : public ::testing::Test {
protected:
    // The captions of the tree in flat order, a folder node's caption ending
    // in "\" and each indented by its depth.
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        const DrawingTree& tree = list.Tree();
        for (NodeId id : tree.FlatOrder()) {
            const TreeNode* node = tree.Find(id);
            int depth = 0;
            for (NodeId up = node->parent; up != NoNode; up = tree.Find(up)->parent) ++depth;
            captions.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') +
                               node->caption + (node->record ? "" : "\\"));
        }
        return captions;
    }
    const TreeNode& NodeCaptioned(const std::string& caption) const {
        for (NodeId id : list.Tree().FlatOrder())
            if (list.Tree().Find(id)->caption == caption) return *list.Tree().Find(id);
        throw std::runtime_error("no node " + caption);
    }
    void Drop(std::vector<std::string> paths) { list.TakeDrop(std::move(paths)); }

    MemoryFiles files;
    MemoryFileSystem fs{files};
    Cp932IgnoreCaseOrder order;
    testing::ManualRunThread runs;
    FakeMainFormHost host{runs};
    ControlStates states;
    DrawingList list{fs, order, host, states};
};

TEST_F(DrawingListTest, BothKindsInTheFirstDropAskWhichKindAndListOnlyThatOne) {
    files.AddFile("C:\\d\\a.dwg");
    files.AddFile("C:\\d\\b.dxf");
    host.fileTypeAnswer = DrawingKind::Dwg;
    Drop({"C:\\d\\b.dxf", "C:\\d\\a.dwg"});
    EXPECT_EQ(host.fileTypeQuestions, 1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.dwg"}));
    EXPECT_EQ(list.DwgCount, 1);
    EXPECT_TRUE(list.DwgSelected);
    EXPECT_EQ(list.SelectedExt, ".dwg");
    EXPECT_TRUE(states.ToDxfBitBtn);
    EXPECT_FALSE(states.ToDwgBitBtn);
    EXPECT_TRUE(states.ClearBitBtn && states.AllDeletePop && states.DeletePop);
    EXPECT_FALSE(states.CancelBitBtn);
}

TEST_F(DrawingListTest, AListWithDrawingsRefusesADropWithoutItsKindAndChangesNothing) {
    files.AddFile("C:\\d\\a.dwg");
    files.AddFile("C:\\d\\b.dxf");
    Drop({"C:\\d\\a.dwg"});
    Drop({"C:\\d\\b.dxf"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "DwgデータがDropされていません。");
    EXPECT_EQ(host.messages[0].second, "Tovimoメッセージ");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.dwg"}));
    EXPECT_TRUE(list.DwgSelected);

    // Once its last drawing is removed, the list takes the other kind.
    list.DeletePopClick();  // the drop selected a.dwg
    EXPECT_EQ(list.DwgCount, 0);
    Drop({"C:\\d\\b.dxf"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"b.dxf"}));
    EXPECT_TRUE(list.DxfSelected);
    EXPECT_FALSE(list.DwgSelected);
    EXPECT_TRUE(states.ToDwgBitBtn);
    EXPECT_FALSE(states.ToDxfBitBtn);
}

TEST_F(DrawingListTest, AListWithAKindTakesOnlyItsKindFromAMixedFolderWithoutAsking) {
    files.AddFile("C:\\d\\a.dwg");
    files.AddFile("C:\\e\\c.dwg");
    files.AddFile("C:\\e\\d.dxf");
    Drop({"C:\\d\\a.dwg"});
    Drop({"C:\\e"});
    EXPECT_EQ(host.fileTypeQuestions, 0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.dwg", "e\\", "  c.dwg"}));
    EXPECT_EQ(list.DwgCount, 2);
}

TEST_F(DrawingListTest, ADropWithoutDrawingsIsRefusedAndAddsNoFolderNode) {
    files.AddFile("C:\\e\\notes.txt");
    files.AddFile("C:\\e\\sub\\a.dwg");  // only below, not looked at without sub-folders
    Drop({"C:\\e"});
    EXPECT_EQ(host.MessageTexts(), (std::vector<std::string>{"DwgまたはDxfデータがDropされていません。"}));
    EXPECT_TRUE(list.Tree().Empty());
    EXPECT_FALSE(states.ToDxfBitBtn || states.ToDwgBitBtn || states.ClearBitBtn);
}

TEST_F(DrawingListTest, SubFoldersAreListedOnlyWhenTickedAndSubDirNamesTheFolderNodes) {
    files.AddFile("C:\\A\\B\\y.dwg");
    files.AddFile("C:\\A\\x.dwg");
    files.AddFolder("C:\\A\\Empty");
    Drop({"C:\\A"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"A\\", "  x.dwg"}));
    EXPECT_EQ(NodeCaptioned("x.dwg").record->SubDir, "\\A");
    EXPECT_EQ(NodeCaptioned("x.dwg").record->FullPath, "C:\\A\\x.dwg");

    list.AllDeletePopClick();
    host.childFolders = true;
    Drop({"C:\\A"});
    // In the order the file system lists them; a folder without drawings
    // still gets its node but does not count.
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"A\\", "  B\\", "    y.dwg", "  x.dwg", "  Empty\\"}));
    EXPECT_EQ(NodeCaptioned("y.dwg").record->SubDir, "\\A\\B");
    EXPECT_EQ(NodeCaptioned("y.dwg").record->FullPath, "C:\\A\\B\\y.dwg");
    EXPECT_EQ(list.DwgCount, 2);
    EXPECT_EQ(states.ToDxfBitBtn, true);
}

TEST_F(DrawingListTest, ExtensionsCompareWithoutCaseAndOnlyTheLastOneCounts) {
    files.AddFile("C:\\d\\X.DWG");
    files.AddFile("C:\\d\\y.Dwg");
    files.AddFile("C:\\d\\z.dwg.bak");
    Drop({"C:\\d"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"d\\", "  X.DWG", "  y.Dwg"}));
}

TEST_F(DrawingListTest, DroppedItemsAreSortedWithoutCaseAndTheSameFileTwiceIsListedTwice) {
    files.AddFile("C:\\d\\b.dwg");
    files.AddFile("C:\\d\\A.dwg");
    files.AddFile("C:\\d\\c.dwg");
    Drop({"C:\\d\\c.dwg", "C:\\d\\b.dwg", "C:\\d\\A.dwg", "C:\\d\\b.dwg"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"A.dwg", "b.dwg", "b.dwg", "c.dwg"}));
    EXPECT_EQ(list.DwgCount, 4);
    EXPECT_EQ(list.Drawings()[1].SubDir, "");
}

TEST_F(DrawingListTest, TheLastDroppedFolderStaysSelectedAndDeletingRemovesItWhole) {
    files.AddFile("C:\\a.dwg");
    files.AddFile("C:\\z\\b.dwg");
    files.AddFile("C:\\z\\c.dwg");
    Drop({"C:\\z", "C:\\a.dwg"});
    ASSERT_EQ(list.Tree().Selection().size(), 1u);
    EXPECT_EQ(list.Tree().Find(list.Tree().Selected())->caption, "z");
    list.DeletePopClick();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.dwg"}));
    EXPECT_EQ(list.DwgCount, 1);
}

TEST_F(DrawingListTest, RemovingTheLastDrawingKeepsFolderNodesAndTheClearButton) {
    files.AddFile("C:\\z\\b.dwg");
    files.AddFolder("C:\\z\\sub");
    host.childFolders = true;
    Drop({"C:\\z"});
    list.Tree().Select(NodeCaptioned("b.dwg").id);
    list.DeletePopClick();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"z\\", "  sub\\"}));
    EXPECT_EQ(list.DwgCount, 0);
    EXPECT_FALSE(states.ToDxfBitBtn);
    EXPECT_FALSE(states.ToDwgBitBtn);
    EXPECT_TRUE(states.ClearBitBtn);
    EXPECT_EQ(list.FileIconIndex, -1);
}

TEST_F(DrawingListTest, DeletingWithNothingSelectedChangesNothing) {
    files.AddFile("C:\\d\\a.dwg");
    Drop({"C:\\d\\a.dwg"});
    list.Tree().ClearSelection();
    list.DeletePopClick();
    EXPECT_EQ(list.DwgCount, 1);
    EXPECT_EQ(Captions().size(), 1u);
}

TEST_F(DrawingListTest, AMultiSelectionIsDeletedFromTheLastSelectedNodeAndPassesOverNodesAlreadyGone) {
    files.AddFile("C:\\p\\q\\a.dwg");
    files.AddFile("C:\\p\\b.dwg");
    files.AddFile("C:\\r.dwg");
    host.childFolders = true;
    Drop({"C:\\p", "C:\\r.dwg"});
    ASSERT_EQ(Captions(), (std::vector<std::string>{"p\\", "  q\\", "    a.dwg", "  b.dwg", "r.dwg"}));
    std::vector<std::string> deleted;
    struct Recorder : TreeObserver {
        explicit Recorder(std::vector<std::string>& out) : out(out) {}
        void NodeAdded(const TreeNode&) override {}
        void NodeDeleting(const TreeNode& node) override { out.push_back(node.caption); }
        void SelectionChanged() override {}
        std::vector<std::string>& out;
    } recorder(deleted);
    list.Tree().SetObserver(&recorder);
    DrawingTree& tree = list.Tree();
    tree.Select(NodeCaptioned("a.dwg").id);
    tree.ToggleSelect(NodeCaptioned("r.dwg").id);
    tree.ToggleSelect(NodeCaptioned("p").id);
    list.DeletePopClick();
    // p (selected last) takes a.dwg with it; a.dwg is then passed over.
    EXPECT_EQ(deleted, (std::vector<std::string>{"p", "r.dwg"}));
    EXPECT_TRUE(tree.Empty());
    list.Tree().SetObserver(nullptr);
}

TEST_F(DrawingListTest, ShiftClickSelectsTheRangeFromTheAnchorInScreenOrder) {
    files.AddFile("C:\\d\\a.dwg");
    files.AddFile("C:\\d\\b.dwg");
    files.AddFile("C:\\d\\c.dwg");
    files.AddFile("C:\\d\\e.dwg");
    Drop({"C:\\d\\a.dwg", "C:\\d\\b.dwg", "C:\\d\\c.dwg", "C:\\d\\e.dwg"});
    DrawingTree& tree = list.Tree();
    const std::vector<NodeId> screen = tree.FlatOrder();
    tree.Select(screen[3]);
    tree.RangeSelect(screen[1], screen);
    EXPECT_EQ(tree.Selection(), (std::vector<NodeId>{screen[3], screen[2], screen[1]}));
    tree.ToggleSelect(screen[2]);
    EXPECT_EQ(tree.Selection(), (std::vector<NodeId>{screen[3], screen[1]}));
    list.DeletePopClick();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.dwg", "c.dwg"}));
}

TEST_F(DrawingListTest, AShiftRangeDownwardsHoldsTheClickedNodeAndACtrlClickMovesTheAnchor) {
    for (const char* name : {"a", "b", "c", "e", "f"}) files.AddFile(std::string("C:\\d\\") + name + ".dwg");
    Drop({"C:\\d\\a.dwg", "C:\\d\\b.dwg", "C:\\d\\c.dwg", "C:\\d\\e.dwg", "C:\\d\\f.dwg"});
    DrawingTree& tree = list.Tree();
    const std::vector<NodeId> screen = tree.FlatOrder();
    // Top to bottom: the clicked node is the last of the range.
    tree.Select(screen[0]);
    tree.RangeSelect(screen[2], screen);
    EXPECT_EQ(tree.Selection(), (std::vector<NodeId>{screen[0], screen[1], screen[2]}));
    // A Ctrl-click makes its node the anchor of the next Shift range.
    tree.ToggleSelect(screen[3]);
    tree.RangeSelect(screen[4], screen);
    EXPECT_EQ(tree.Selection(), (std::vector<NodeId>{screen[3], screen[4]}));
    list.DeletePopClick();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a.dwg", "b.dwg", "c.dwg"}));
}

TEST_F(DrawingListTest, RenamingANodeLeavesTheRecordsAsTheyWereMade) {
    files.AddFile("C:\\A\\x.dwg");
    Drop({"C:\\A"});
    list.Tree().Rename(NodeCaptioned("A").id, "Renamed");
    list.Tree().Rename(NodeCaptioned("x.dwg").id, "y.dwg");
    const std::vector<TFileName> drawings = list.Drawings();
    ASSERT_EQ(drawings.size(), 1u);
    EXPECT_EQ(drawings[0], (TFileName{"C:\\A\\x.dwg", "\\A"}));
}

TEST_F(DrawingListTest, TheIconIsFetchedOncePerFillingOfTheList) {
    files.AddFile("C:\\d\\a.dwg");
    files.AddFile("C:\\d\\b.dwg");
    files.AddFile("C:\\d\\c.dxf");
    Drop({"C:\\d\\a.dwg", "C:\\d\\b.dwg"});
    EXPECT_EQ(host.iconLookups, (std::vector<std::string>{"C:\\d\\a.dwg"}));
    EXPECT_EQ(NodeCaptioned("b.dwg").image, 1);
    list.AllDeletePopClick();
    EXPECT_EQ(list.FileIconIndex, -1);
    Drop({"C:\\d\\c.dxf"});
    EXPECT_EQ(host.iconLookups.size(), 2u);
    EXPECT_EQ(NodeCaptioned("c.dxf").image, 2);
}

TEST_F(DrawingListTest, ClearingEmptiesTheListAndLeavesEveryListButtonDisabled) {
    files.AddFile("C:\\d\\a.dwg");
    Drop({"C:\\d\\a.dwg"});
    states.CancelBitBtn = true;
    list.AllDeletePopClick();
    EXPECT_TRUE(list.Tree().Empty());
    EXPECT_EQ(list.DwgCount, 0);
    EXPECT_FALSE(list.DwgSelected || list.DxfSelected);
    EXPECT_EQ(states, (ControlStates{false, false, false, false, false, false, true, false, false}));
    list.PopupMenu1Popup();
    EXPECT_FALSE(states.DeletePop);
}

TEST_F(DrawingListTest, HiddenFilesAndDriveRootsAreTakenLikeAnyOther) {
    files.AddFile("D:\\root.dwg");
    files.AddFile("C:\\d\\hidden.dwg");
    fs.SetAttributes("C:\\d\\hidden.dwg", file_attribute::Hidden | file_attribute::System);
    Drop({"D:\\", "C:\\d\\hidden.dwg"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"hidden.dwg", "D\\", "  root.dwg"}));
    EXPECT_EQ(NodeCaptioned("root.dwg").record->FullPath, "D:\\root.dwg");
}

}  // namespace
}  // namespace tovimo

namespace tovimo {
namespace {

TEST_F(DrawingListTest, WhatTheWalkCannotReachIsNamedOnceAfterTheDropWhichTakesTheRest) {
    files.AddFile("C:\\d\\a.dwg");
    files.AddFile("C:\\d\\locked\\b.dwg");
    files.MakeUnreadable("C:\\d\\locked");
    files.AddFile("C:\\d\\?.dwg");
    files.MarkNameLost("C:\\d\\?.dwg");
    files.AddFile("C:\\d\\?.dxf");  // not of the list's kind: not named
    files.MarkNameLost("C:\\d\\?.dxf");
    files.AddFolderLink("C:\\d\\loop", "C:\\d");
    host.childFolders = true;
    host.fileTypeAnswer = DrawingKind::Dwg;
    Drop({"C:\\d"});
    // The link back to the dropped folder is not walked again.
    EXPECT_EQ(Captions(), (std::vector<std::string>{"d\\", "  a.dwg", "  locked\\"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first,
              WalkProblemsMessage({{"C:\\d\\locked", WalkProblemKind::Unreadable},
                                   {"C:\\d\\?.dwg", WalkProblemKind::NoCp932Name}}));
    EXPECT_EQ(host.messages[0].second, "Tovimoメッセージ");
}

TEST_F(DrawingListTest, ARefusedDropStillNamesWhatCouldNotBeLookedAt) {
    files.AddFile("C:\\d\\locked\\b.dwg");
    files.MakeUnreadable("C:\\d\\locked");
    host.childFolders = true;
    Drop({"C:\\d"});
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].first, "DwgまたはDxfデータがDropされていません。");
    EXPECT_NE(host.messages[1].first.find("C:\\d\\locked"), std::string::npos);
    EXPECT_TRUE(list.Tree().Empty());
}

TEST_F(DrawingListTest, ADroppedNameWithoutAShiftJisFormIsNamedAndTheRestIsTaken) {
    // A folder "도면" beside an ordinary one: read wide, it could not be
    // written in code page 932 and comes shown with "?".
    files.AddFile("C:\\d\\a.dwg");
    host.childFolders = true;
    list.TakeDrop({"C:\\d"}, {"C:\\??"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"d\\", "  a.dwg"}));
    EXPECT_TRUE(states.ToDxfBitBtn);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, WalkProblemsMessage({{"C:\\??", WalkProblemKind::NoCp932Name}}));

    // Alone in its drop: nothing to take, and still named.
    host.messages.clear();
    list.AllDeletePopClick();
    list.TakeDrop({}, {"C:\\??"});
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].first, "DwgまたはDxfデータがDropされていません。");
    EXPECT_NE(host.messages[1].first.find("C:\\??"), std::string::npos);
    EXPECT_NE(host.messages[1].first.find("名前をShift-JISで表せません"), std::string::npos);
    // The next drop does not name it again.
    host.messages.clear();
    Drop({"C:\\d"});
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace tovimo
