#include "runlists/run_lists.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "memory_files.h"
#include "runlists/target_folders.h"

namespace tovimo {
namespace {

using ::testing::ElementsAre;
using testing::MemoryFiles;
using testing::MemoryFileSystem;

class RunListsTest : public ::testing::Test {
protected:
    MemoryFiles files;
    MemoryFileSystem fs{files};
};

TEST_F(RunListsTest, BesideTheSourcesNoTargetIsFormedAndNoFolderMade) {
    const RunLists lists = BuildRunLists(
        fs, {{"D:\\Plans\\A.dwg", "\\Plans"}, {"D:\\B.dwg", ""}}, {true, "D:\\missing", true});
    EXPECT_TRUE(lists.ok);
    EXPECT_THAT(lists.SourceList, ElementsAre("D:\\Plans\\A.dwg", "D:\\B.dwg"));
    EXPECT_TRUE(lists.TargetList.empty());
    EXPECT_TRUE(fs.CreateCalls().empty());
}

TEST_F(RunListsTest, KeptSubFoldersAreMadeLevelByLevelBeforeAnythingElse) {
    files.AddFolder("D:\\Out");
    const RunLists lists = BuildRunLists(fs,
                                         {{"C:\\Plans\\Floor1\\A.dwg", "\\Plans\\Floor1"},
                                          {"C:\\Plans\\Floor1\\B.dwg", "\\Plans\\Floor1"},
                                          {"C:\\Plans\\p.q.dwg", "\\Plans"},
                                          {"C:\\alone.dwg", ""}},
                                         {false, "D:\\Out", true});
    EXPECT_TRUE(lists.ok);
    EXPECT_THAT(lists.TargetList, ElementsAre("D:\\Out\\Plans\\Floor1\\A",
                                              "D:\\Out\\Plans\\Floor1\\B", "D:\\Out\\Plans\\p.q",
                                              "D:\\Out\\alone"));
    EXPECT_THAT(fs.CreateCalls(), ElementsAre("D:\\Out\\Plans", "D:\\Out\\Plans\\Floor1"));
    EXPECT_TRUE(files.FolderExists("D:\\Out\\Plans\\Floor1"));
}

TEST_F(RunListsTest, WithoutKeptSubFoldersTargetsAreListedButNoFolderIsMade) {
    files.AddFolder("D:\\Out");
    const RunLists lists =
        BuildRunLists(fs, {{"C:\\Plans\\Floor1\\A.dwg", "\\Plans\\Floor1"}}, {false, "D:\\Out", false});
    EXPECT_THAT(lists.TargetList, ElementsAre("D:\\Out\\Plans\\Floor1\\A"));
    EXPECT_TRUE(fs.CreateCalls().empty());
}

TEST_F(RunListsTest, AFolderThatCannotBeMadeIsNamedAndEndsTheLists) {
    files.AddFolder("D:\\Out");
    files.AddFile("D:\\Out\\Plans");  // a file where a folder must go
    const RunLists lists = BuildRunLists(fs,
                                         {{"C:\\Other\\A.dwg", "\\Other"},
                                          {"C:\\Plans\\x\\B.dwg", "\\Plans\\x"},
                                          {"C:\\Plans\\C.dwg", "\\Plans"}},
                                         {false, "D:\\Out", true});
    EXPECT_FALSE(lists.ok);
    EXPECT_EQ(lists.failedFolder, "D:\\Out\\Plans");
    EXPECT_EQ(lists.SourceList.size(), 2u);
    EXPECT_FALSE(files.FolderExists("D:\\Out\\Plans\\x"));
}

TEST_F(RunListsTest, AnOutputFolderIsChosenOnlyWhenItIsNotTheProgramsFolder) {
    const std::string program = "C:\\Tovimo\\";
    EXPECT_FALSE(OutputFolderChosen({false, program, true}, program));
    EXPECT_FALSE(OutputFolderChosen({false, "", true}, program));
    EXPECT_TRUE(OutputFolderChosen({false, "C:\\Tovimo", true}, program));
    EXPECT_TRUE(OutputFolderChosen({true, program, true}, program));
}

class TargetFoldersTest : public RunListsTest {};

TEST_F(TargetFoldersTest, DoubleByteNamesAreSplitAtRealSeparatorsOnly) {
    // "表" and "ソ" end in the byte of "\"; the output folder's length is
    // counted in characters.
    files.AddFolder("D:\\出力表");
    const FolderCreation creation =
        CreateTargetFolders(fs, "D:\\出力表", "D:\\出力表\\ソフト表\\図面\\能");
    EXPECT_TRUE(creation.ok);
    EXPECT_THAT(fs.CreateCalls(), ElementsAre("D:\\出力表\\ソフト表", "D:\\出力表\\ソフト表\\図面",
                                              "D:\\出力表\\ソフト表\\図面\\能"));
}

TEST_F(TargetFoldersTest, AnExistingFolderCostsOneTestAndExistingLevelsAreKept) {
    files.AddFolder("D:\\Out\\A\\B");
    EXPECT_TRUE(CreateTargetFolders(fs, "D:\\Out", "D:\\Out\\A\\B").ok);
    EXPECT_TRUE(CreateTargetFolders(fs, "D:\\Out", "D:\\Out\\A\\B\\C").ok);
    EXPECT_THAT(fs.CreateCalls(), ElementsAre("D:\\Out\\A\\B\\C"));
}

TEST_F(TargetFoldersTest, AMissingOutputFolderOrDriveIsReportedNotLoopedOver) {
    const FolderCreation noDrive = CreateTargetFolders(fs, "Q:\\Out", "Q:\\Out\\A\\B");
    EXPECT_FALSE(noDrive.ok);
    EXPECT_EQ(noDrive.failedFolder, "Q:\\Out\\A");
    files.AddFolder("D:\\Out");
    files.MakeReadOnly("D:\\Out");
    const FolderCreation noRights = CreateTargetFolders(fs, "D:\\Out", "D:\\Out\\A");
    EXPECT_FALSE(noRights.ok);
    EXPECT_EQ(noRights.failedFolder, "D:\\Out\\A");
}

TEST_F(TargetFoldersTest, AMissingOutputFolderWithoutSubFolderIsMadeItself) {
    files.AddFolder("D:\\");
    EXPECT_TRUE(CreateTargetFolders(fs, "D:\\New", "D:\\New").ok);
    EXPECT_TRUE(files.FolderExists("D:\\New"));
}

}  // namespace
}  // namespace tovimo
