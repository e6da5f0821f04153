#include "drawings/list_kind.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "memory_files.h"

namespace tovimo {
namespace {

using testing::MemoryFiles;
using testing::MemoryFileSystem;

DrawingKind NeverAsked() {
    ADD_FAILURE() << "the file type was asked for";
    return DrawingKind::Dwg;
}

TEST(ListKind, AListWithoutKindTakesTheOnlyKindADropShows) {
    const KindDecision dwg = DecideListKind(ListKind::None, 0, {true, false}, NeverAsked);
    EXPECT_EQ(dwg.kind, ListKind::Dwg);
    EXPECT_EQ(dwg.message, "");
    EXPECT_EQ(DecideListKind(ListKind::None, 0, {false, true}, NeverAsked).kind, ListKind::Dxf);
}

TEST(ListKind, BothKindsInADropToAListWithoutKindAreDecidedByTheQuestion) {
    int asked = 0;
    const auto answer = [&](DrawingKind kind) {
        return [&asked, kind] { ++asked; return kind; };
    };
    EXPECT_EQ(DecideListKind(ListKind::None, 0, {true, true}, answer(DrawingKind::Dwg)).kind,
              ListKind::Dwg);
    EXPECT_EQ(DecideListKind(ListKind::None, 0, {true, true}, answer(DrawingKind::Dxf)).kind,
              ListKind::Dxf);
    EXPECT_EQ(asked, 2);
}

TEST(ListKind, AListWithDrawingsKeepsItsKindAndRefusesADropWithoutIt) {
    const KindDecision refused = DecideListKind(ListKind::Dwg, 3, {false, true}, NeverAsked);
    EXPECT_EQ(refused.kind, ListKind::Dwg);
    EXPECT_EQ(refused.message, "DwgデータがDropされていません。");
    const KindDecision dxf = DecideListKind(ListKind::Dxf, 1, {true, false}, NeverAsked);
    EXPECT_EQ(dxf.kind, ListKind::Dxf);
    EXPECT_EQ(dxf.message, "DxfデータがDropされていません。");
    // A drop holding both kinds is taken without a question.
    const KindDecision both = DecideListKind(ListKind::Dwg, 3, {true, true}, NeverAsked);
    EXPECT_EQ(both.kind, ListKind::Dwg);
    EXPECT_EQ(both.message, "");
}

TEST(ListKind, AListThatLostItsLastDrawingTakesTheOtherKind) {
    const KindDecision decision = DecideListKind(ListKind::Dwg, 0, {false, true}, NeverAsked);
    EXPECT_EQ(decision.kind, ListKind::Dxf);
    EXPECT_EQ(decision.message, "");
}

TEST(ListKind, ADropWithoutDrawingsToAListWithoutKindIsRefused) {
    const KindDecision decision = DecideListKind(ListKind::None, 0, {false, false}, NeverAsked);
    EXPECT_EQ(decision.kind, ListKind::None);
    EXPECT_EQ(decision.message, "DwgまたはDxfデータがDropされていません。");
    EXPECT_EQ(ListExtension(ListKind::None), "");
    EXPECT_EQ(ListExtension(ListKind::Dxf), ".dxf");
}

class LookForDrawingsTest : public ::testing::Test {
protected:
    MemoryFiles files;
    MemoryFileSystem fs{files};
};

TEST_F(LookForDrawingsTest, SubFolderContentCountsOnlyWithSubFolders) {
    files.AddFile("D:\\A\\B\\y.dwg");
    files.AddFile("D:\\A\\readme.txt");
    const DrawingsSeen firstLevel = LookForDrawings(fs, {"D:\\A"}, false);
    EXPECT_FALSE(firstLevel.dwg);
    EXPECT_FALSE(firstLevel.dxf);
    EXPECT_TRUE(LookForDrawings(fs, {"D:\\A"}, true).dwg);
}

TEST_F(LookForDrawingsTest, GivenPathsAndFoldersCountByTheirOwnExtension) {
    files.AddFolder("D:\\old.DXF");
    files.AddFile("D:\\A\\sub.dwg\\nothing.txt");
    EXPECT_TRUE(LookForDrawings(fs, {"D:\\old.DXF"}, false).dxf);
    // A sub-folder's name counts only when sub-folders are walked.
    EXPECT_FALSE(LookForDrawings(fs, {"D:\\A"}, false).dwg);
    EXPECT_TRUE(LookForDrawings(fs, {"D:\\A"}, true).dwg);
    // A file given that does not exist counts by its name as well.
    EXPECT_TRUE(LookForDrawings(fs, {"D:\\missing.dwg"}, false).dwg);
}

TEST_F(LookForDrawingsTest, TheLookEndsOnceBothKindsAreSeen) {
    files.AddFile("D:\\A\\a.dwg");
    files.AddFile("D:\\A\\b.dxf");
    files.AddFile("D:\\A\\later\\c.dwg");
    files.AddFile("D:\\B\\d.dwg");
    const DrawingsSeen seen = LookForDrawings(fs, {"D:\\A", "D:\\B"}, true);
    EXPECT_TRUE(seen.dwg);
    EXPECT_TRUE(seen.dxf);
    EXPECT_EQ(fs.SearchesStarted(), 1);
    EXPECT_EQ(fs.OpenSearches(), 0);
}

}  // namespace
}  // namespace tovimo
