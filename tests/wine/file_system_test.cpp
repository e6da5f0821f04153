// The Win32 file system and collation on real folders, Japanese names
// included, and the drawing collection and target folders on top of them.
#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drawings/drawing_collection.h"
#include "platform/win32_api.h"
#include "platform/win32_file_system.h"
#include "platform/win32_text_order.h"
#include "runlists/run_lists.h"
#include "runlists/target_folders.h"
#include "test_files.h"

namespace tovimo {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using wine_tests::TempFolder;
using wine_tests::WriteWholeFile;

class Win32FileSystemTest : public ::testing::Test {
protected:
    // The temporary folder without its "\".
    std::string Root() const { return temp.Path().substr(0, temp.Path().size() - 1); }
    void File(const std::string& relativePath) {
        ASSERT_TRUE(WriteWholeFile(temp.Path() + relativePath, "x")) << relativePath;
    }

    TempFolder temp{"tovimo-files"};
    win32::Win32FileSystem fs;
};

TEST_F(Win32FileSystemTest, PathKindsIncludeHiddenEntriesAndDriveRoots) {
    File("a.dwg");
    ASSERT_FALSE(temp.MakeFolder("隠し").empty());
    ASSERT_TRUE(SetFileAttributesA((Root() + "\\隠し").c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(fs.GetPathKind(Root() + "\\a.dwg"), PathKind::File);
    EXPECT_EQ(fs.GetPathKind(Root()), PathKind::Folder);
    EXPECT_EQ(fs.GetPathKind(Root() + "\\隠し"), PathKind::Folder);
    EXPECT_EQ(fs.GetPathKind(Root() + "\\none"), PathKind::Missing);
    EXPECT_EQ(fs.GetPathKind("Z:\\"), PathKind::Folder);
    EXPECT_TRUE(fs.DirectoryExists(Root() + "\\隠し"));
    EXPECT_FALSE(fs.DirectoryExists(Root() + "\\a.dwg"));
}

TEST_F(Win32FileSystemTest, ASearchListsEveryEntryWithItsAttributes) {
    File("表.dwg");
    ASSERT_FALSE(temp.MakeFolder("ソフト").empty());
    std::vector<std::string> names;
    DirectoryEntry entry;
    SearchFailure failure = SearchFailure::Unreadable;
    auto search = fs.FindFirst(Root() + "\\*.*", entry, failure);
    ASSERT_NE(search, nullptr);
    do {
        names.push_back(entry.name + (entry.IsFolder() ? "\\" : ""));
    } while (search->Next(entry));
    EXPECT_THAT(names, UnorderedElementsAre(".\\", "..\\", "表.dwg", "ソフト\\"));
    EXPECT_EQ(fs.FindFirst(Root() + "\\none\\*.*", entry, failure), nullptr);
    EXPECT_EQ(failure, SearchFailure::NothingFound);
}

TEST_F(Win32FileSystemTest, FilesAndFoldersAreMadeAndDeletedOnce) {
    EXPECT_TRUE(fs.CreateDirectory(Root() + "\\出力表"));
    EXPECT_FALSE(fs.CreateDirectory(Root() + "\\出力表"));
    EXPECT_FALSE(fs.CreateDirectory(Root() + "\\none\\x"));
    File("出力表\\tmp.dwg");
    EXPECT_TRUE(fs.DeleteFile(Root() + "\\出力表\\tmp.dwg"));
    EXPECT_FALSE(fs.DeleteFile(Root() + "\\出力表\\tmp.dwg"));
}

TEST_F(Win32FileSystemTest, RelativePathsAreCompletedWithTheCurrentDirectory) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
    const std::string full = fs.FullPathName("図面\\a.dwg");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(full, Root() + "\\図面\\a.dwg");
    EXPECT_EQ(fs.FullPathName("Z:\\x\\..\\y"), "Z:\\y");
}

TEST_F(Win32FileSystemTest, DrawingsAreCollectedWithTheirSubDirFromRealFolders) {
    File("表.DWG");
    File("skip.dwg.bak");
    ASSERT_FALSE(temp.MakeFolder("ソフト\\能").empty());
    File("ソフト\\能\\図面.dwg");
    File("ソフト\\x.Dwg");
    const DrawingCollection collection = CollectDrawings(
        fs, win32::Win32TextOrder(), {Root() + "\\ソフト", Root() + "\\表.DWG"}, true,
        DrawingKind::Dwg);
    // The folders' own order is the file system's; the given paths are sorted.
    std::vector<TFileName> inFolder(collection.drawings.begin(), collection.drawings.end());
    ASSERT_EQ(inFolder.size(), 3u);
    EXPECT_EQ(inFolder[2], (TFileName{Root() + "\\表.DWG", ""}));
    inFolder.pop_back();
    EXPECT_THAT(inFolder,
                UnorderedElementsAre(TFileName{Root() + "\\ソフト\\能\\図面.dwg", "\\ソフト\\能"},
                                     TFileName{Root() + "\\ソフト\\x.Dwg", "\\ソフト"}));
}

TEST_F(Win32FileSystemTest, TargetFoldersWithDoubleByteNamesAreMadeLevelByLevel) {
    const std::string saveDir = Root() + "\\出力表";
    ASSERT_TRUE(fs.CreateDirectory(saveDir));
    const RunLists lists = BuildRunLists(
        fs, {{"Z:\\in\\ソ\\表\\A.dwg", "\\ソ\\表"}, {"Z:\\in\\ソ\\B.dwg", "\\ソ"}},
        {false, saveDir + "\\", true});
    EXPECT_TRUE(lists.ok) << lists.failedFolder;
    EXPECT_THAT(lists.TargetList, ElementsAre(saveDir + "\\ソ\\表\\A", saveDir + "\\ソ\\B"));
    EXPECT_TRUE(fs.DirectoryExists(saveDir + "\\ソ\\表"));

    File("出力表\\file");
    const FolderCreation blocked =
        CreateTargetFolders(fs, saveDir, saveDir + "\\file\\sub");
    EXPECT_FALSE(blocked.ok);
    EXPECT_EQ(blocked.failedFolder, saveDir + "\\file");
}

TEST(Win32TextOrder, SortsPathsIgnoringLetterCase) {
    const win32::Win32TextOrder order;
    EXPECT_EQ(order.Compare("D:\\Plans\\A.DWG", "d:\\plans\\a.dwg"), 0);
    EXPECT_LT(order.Compare("a.dwg", "B.dwg"), 0);
    EXPECT_GT(order.Compare("b.dwg", "A.dwg"), 0);
    std::vector<std::string> paths = {"D:\\c.dwg", "D:\\B.dwg", "D:\\a.dwg", "D:\\A.dwg"};
    SortPaths(paths, order);
    EXPECT_THAT(paths, ElementsAre("D:\\a.dwg", "D:\\A.dwg", "D:\\B.dwg", "D:\\c.dwg"));
}

}  // namespace
}  // namespace tovimo
