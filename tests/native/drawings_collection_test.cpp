#include "drawings/drawing_collection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "memory_files.h"

namespace tovimo {
namespace {

using testing::MemoryFiles;
using testing::MemoryFileSystem;

std::vector<std::string> FullPaths(const DrawingCollection& collection) {
    std::vector<std::string> paths;
    for (const TFileName& drawing : collection.drawings) paths.push_back(drawing.FullPath);
    return paths;
}

class DrawingCollectionTest : public ::testing::Test {
protected:
    DrawingCollection Collect(std::vector<std::string> paths, bool withSubFolders,
                              DrawingKind kind = DrawingKind::Dwg) {
        return CollectDrawings(fs, order, std::move(paths), withSubFolders, kind);
    }

    MemoryFiles files;
    MemoryFileSystem fs{files};
    Cp932IgnoreCaseOrder order;
};

TEST_F(DrawingCollectionTest, GivenPathsAreSortedIgnoringCaseFolderContentKeepsFileSystemOrder) {
    files.AddFile("D:\\work\\b.dwg");
    files.AddFile("D:\\work\\Plans\\z.dwg");
    files.AddFile("D:\\work\\Plans\\a.dwg");
    files.AddFile("D:\\work\\C.dwg");
    files.AddFile("D:\\work\\a.dwg");
    const auto collection = Collect(
        {"D:\\work\\C.dwg", "D:\\work\\Plans", "D:\\work\\b.dwg", "D:\\work\\a.dwg"}, false);
    EXPECT_THAT(FullPaths(collection),
                ::testing::ElementsAre("D:\\work\\a.dwg", "D:\\work\\b.dwg", "D:\\work\\C.dwg",
                                       "D:\\work\\Plans\\z.dwg", "D:\\work\\Plans\\a.dwg"));
}

TEST_F(DrawingCollectionTest, TheSameFileGivenTwiceIsListedTwice) {
    files.AddFile("D:\\a.dwg");
    const auto collection = Collect({"D:\\a.dwg", "D:\\A.DWG", "D:\\a.dwg"}, false);
    ASSERT_EQ(collection.drawings.size(), 3u);
    // Equal in the order, so kept as given.
    EXPECT_EQ(collection.drawings[1].FullPath, "D:\\A.DWG");
}

TEST_F(DrawingCollectionTest, WithoutSubFoldersOnlyTheFirstLevelIsTaken) {
    files.AddFile("D:\\A\\B\\y.dwg");
    files.AddFile("D:\\A\\x.dwg");
    const auto collection = Collect({"D:\\A"}, false);
    ASSERT_EQ(collection.drawings.size(), 1u);
    EXPECT_EQ(collection.drawings[0], (TFileName{"D:\\A\\x.dwg", "\\A"}));
}

TEST_F(DrawingCollectionTest, WithSubFoldersEveryLevelIsTakenWhereTheFileSystemListsIt) {
    files.AddFile("D:\\Plans\\Floor1\\Rooms\\r.dwg");
    files.AddFile("D:\\Plans\\Floor1\\f.dwg");
    files.AddFile("D:\\Plans\\p.dwg");
    files.AddFile("D:\\Plans\\Floor2\\g.dwg");
    files.AddFolder("D:\\Plans\\Empty");
    const auto collection = Collect({"D:\\Plans"}, true);
    EXPECT_THAT(collection.drawings,
                ::testing::ElementsAre(TFileName{"D:\\Plans\\Floor1\\Rooms\\r.dwg",
                                                 "\\Plans\\Floor1\\Rooms"},
                                       TFileName{"D:\\Plans\\Floor1\\f.dwg", "\\Plans\\Floor1"},
                                       TFileName{"D:\\Plans\\p.dwg", "\\Plans"},
                                       TFileName{"D:\\Plans\\Floor2\\g.dwg", "\\Plans\\Floor2"}));
    EXPECT_EQ(fs.OpenSearches(), 0);
}

TEST_F(DrawingCollectionTest, OnlyFilesWithTheKindsLowerCasedExtensionAreTaken) {
    for (const char* name : {"X.DWG", "y.Dwg", "x.dwg.bak", "x.dxf", "xdwg", "x.dwgx", "x.dw"})
        files.AddFile(std::string("D:\\in\\") + name);
    files.AddFile("D:\\in\\folder.dwg\\inner.dxf");
    EXPECT_THAT(FullPaths(Collect({"D:\\in"}, true)),
                ::testing::ElementsAre("D:\\in\\X.DWG", "D:\\in\\y.Dwg"));
    EXPECT_THAT(FullPaths(Collect({"D:\\in"}, true, DrawingKind::Dxf)),
                ::testing::ElementsAre("D:\\in\\x.dxf", "D:\\in\\folder.dwg\\inner.dxf"));
}

TEST_F(DrawingCollectionTest, AFileGivenByItselfHasAnEmptySubDirAndIsFilteredByKind) {
    files.AddFile("D:\\in\\Plan.DWG");
    files.AddFile("D:\\in\\plan.dxf");
    const auto collection = Collect({"D:\\in\\Plan.DWG", "D:\\in\\plan.dxf", "D:\\gone.dwg"}, true);
    EXPECT_THAT(collection.drawings, ::testing::ElementsAre(TFileName{"D:\\in\\Plan.DWG", ""}));
    EXPECT_THAT(collection.passedOverFiles, ::testing::ElementsAre("D:\\in\\plan.dxf"));
    EXPECT_THAT(collection.missingPaths, ::testing::ElementsAre("D:\\gone.dwg"));
}

TEST_F(DrawingCollectionTest, DoubleByteNamesEndingInTheSeparatorByteStayWhole) {
    // "ソ" and "表" end in the byte of "\".
    files.AddFile("D:\\ソフト\\表\\図面.dwg");
    const auto collection = Collect({"D:\\ソフト"}, true);
    EXPECT_THAT(collection.drawings,
                ::testing::ElementsAre(TFileName{"D:\\ソフト\\表\\図面.dwg", "\\ソフト\\表"}));
}

TEST_F(DrawingCollectionTest, RelativePathsAndTrailingSeparatorsAreNormalised) {
    files.AddFile("C:\\jobs\\Plans\\a.dwg");
    fs.CurrentDirectory = "C:\\jobs";
    const auto collection = Collect({"Plans\\"}, false);
    EXPECT_THAT(collection.drawings,
                ::testing::ElementsAre(TFileName{"C:\\jobs\\Plans\\a.dwg", "\\Plans"}));
}

TEST_F(DrawingCollectionTest, ADriveRootIsCaptionedWithItsLetter) {
    files.AddFile("E:\\a.dwg");
    files.AddFile("E:\\sub\\b.dwg");
    const auto collection = Collect({"E:\\"}, true);
    EXPECT_THAT(collection.drawings,
                ::testing::ElementsAre(TFileName{"E:\\a.dwg", "\\E"},
                                       TFileName{"E:\\sub\\b.dwg", "\\E\\sub"}));
}

TEST_F(DrawingCollectionTest, HiddenAndSystemEntriesAreWalkedLikeAnyOther) {
    files.AddFile("D:\\A\\.hidden\\h.dwg");
    files.AddFile("D:\\A\\s.dwg");
    fs.SetAttributes("D:\\A\\.hidden", file_attribute::Hidden);
    fs.SetAttributes("D:\\A\\s.dwg", file_attribute::Hidden | file_attribute::System);
    EXPECT_THAT(FullPaths(Collect({"D:\\A"}, true)),
                ::testing::ElementsAre("D:\\A\\.hidden\\h.dwg", "D:\\A\\s.dwg"));
}

// What the main window's tree is built from: the walk's report, nested.
class RecordingVisitor : public FolderVisitor {
public:
    bool FolderEntered(const std::string& path, std::string_view caption) override {
        events.push_back("enter " + std::string(caption) + " @" + path);
        return true;
    }
    bool FolderLeft() override {
        events.push_back("leave");
        return true;
    }
    bool FileFound(const std::string& folderPath, std::string_view name) override {
        events.push_back("file " + std::string(name) + " @" + folderPath);
        return --filesBeforeStop != 0;
    }
    bool FileGiven(const std::string& path) override {
        events.push_back("given " + path);
        return true;
    }
    bool MissingGiven(const std::string& path) override {
        events.push_back("missing " + path);
        return true;
    }
    bool Unreachable(const std::string& path, WalkProblemKind kind, bool isFolder) override {
        events.push_back(std::string(isFolder ? "folder " : "file ") + WalkProblemText(kind) +
                         " @" + path);
        return --problemsBeforeStop != 0;
    }
    std::vector<std::string> events;
    int problemsBeforeStop = -1;
    int filesBeforeStop = -1;
};

TEST_F(DrawingCollectionTest, TheWalkReportsFoldersEnteredAndLeftAroundTheirEntries) {
    files.AddFile("D:\\A\\B\\y.txt");
    files.AddFolder("D:\\A\\Empty");
    files.AddFile("D:\\A\\x.dwg");
    files.AddFile("D:\\z.dxf");
    RecordingVisitor visitor;
    EXPECT_TRUE(WalkGivenPaths(fs, {"D:\\A", "D:\\z.dxf", "D:\\none"}, true, visitor));
    EXPECT_THAT(visitor.events,
                ::testing::ElementsAre("enter A @D:\\A", "enter B @D:\\A\\B",
                                       "file y.txt @D:\\A\\B", "leave",
                                       "enter Empty @D:\\A\\Empty", "leave",
                                       "file x.dwg @D:\\A", "leave", "given D:\\z.dxf",
                                       "missing D:\\none"));
}

TEST_F(DrawingCollectionTest, AWalkEndedByTheVisitorReportsNothingMoreAndClosesItsSearches) {
    files.AddFile("D:\\A\\B\\C\\one.dwg");
    files.AddFile("D:\\A\\B\\C\\two.dwg");
    files.AddFile("D:\\A\\three.dwg");
    RecordingVisitor visitor;
    visitor.filesBeforeStop = 1;
    EXPECT_FALSE(WalkGivenPaths(fs, {"D:\\A", "D:\\A"}, true, visitor));
    EXPECT_EQ(visitor.events.back(), "file one.dwg @D:\\A\\B\\C");
    EXPECT_EQ(fs.OpenSearches(), 0);
}

TEST_F(DrawingCollectionTest, ProblemsAreReportedWhereTheyAreMetAndCanEndTheWalk) {
    files.AddFile("D:\\A\\locked\\x.dwg");
    files.MakeUnreadable("D:\\A\\locked");
    files.AddFile("D:\\A\\?.dwg");
    files.MarkNameLost("D:\\A\\?.dwg");
    files.AddFolderLink("D:\\A\\loop", "D:\\A");
    files.AddFile("D:\\A\\y.dwg");
    RecordingVisitor visitor;
    EXPECT_TRUE(WalkGivenPaths(fs, {"D:\\A"}, true, visitor));
    EXPECT_THAT(visitor.events,
                ::testing::ElementsAre("enter A @D:\\A", "enter locked @D:\\A\\locked",
                                       "folder フォルダを読めません @D:\\A\\locked", "leave",
                                       "file 名前をShift-JISで表せません @D:\\A\\?.dwg",
                                       "file y.dwg @D:\\A", "leave"));

    visitor.events.clear();
    visitor.problemsBeforeStop = 1;
    EXPECT_FALSE(WalkGivenPaths(fs, {"D:\\A", "D:\\A"}, true, visitor));
    EXPECT_EQ(visitor.events.back(), "folder フォルダを読めません @D:\\A\\locked");
    EXPECT_EQ(fs.OpenSearches(), 0);
}

TEST_F(DrawingCollectionTest, AFolderThatCannotBeReadHasNoEntries) {
    // A given path that vanished between its look-up and its walk.
    class VanishingFolder : public MemoryFileSystem {
    public:
        using MemoryFileSystem::MemoryFileSystem;
        PathKind GetPathKind(const std::string&) override { return PathKind::Folder; }
    } vanishing{files};
    DrawingCollector collector(DrawingKind::Dwg);
    EXPECT_TRUE(WalkGivenPaths(vanishing, {"D:\\gone"}, true, collector));
    EXPECT_TRUE(collector.Result().drawings.empty());
}

}  // namespace
}  // namespace tovimo
