// The Win32 file system and collation on real folders, Japanese names
// included, and the drawing collection and target folders on top of them.
#include <algorithm>
#include <cstdio>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console/run_shard.h"
#include "drawings/drawing_collection.h"
#include "drawings/path_parts.h"
#include "platform/win32_api.h"
#include "platform/win32_file_system.h"
#include "platform/win32_text_files.h"
#include "platform/win32_text_order.h"
#include "runlists/run_lists.h"
#include "runlists/target_folders.h"
#include "cp932_conversion.h"
#include "long_paths.h"
#include "memory_file_system.h"
#include "memory_files.h"
#include "test_files.h"
#include "unix_links.h"

namespace tovimo {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using wine_tests::DeepFolder;
using wine_tests::TempFolder;
using wine_tests::UnixFolderLink;
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

TEST_F(Win32FileSystemTest, AFileStampTellsTheLastWriteTimeAndSizeWithoutOpeningTheFile) {
    const std::string path = Root() + "\\結果.dxf";
    EXPECT_EQ(fs.GetFileStamp(path), FileStamp{});
    ASSERT_FALSE(temp.MakeFolder("表.dxf").empty());
    EXPECT_FALSE(fs.GetFileStamp(Root() + "\\表.dxf").exists);  // a folder is no result

    ASSERT_TRUE(WriteWholeFile(path, "12345"));
    // An old last-write time, as a result of an earlier day would have.
    const std::uint64_t old = (std::uint64_t{0x01d00000u} << 32) | 0x12345600u;
    EXPECT_FALSE(fs.SetLastWriteTime(Root() + "\\none.dxf", old));
    ASSERT_TRUE(fs.SetLastWriteTime(path, old));
    const FileStamp before = fs.GetFileStamp(path);
    EXPECT_TRUE(before.exists);
    EXPECT_EQ(before.size, 5u);
    EXPECT_EQ(before.lastWriteTime, (std::uint64_t{0x01d00000u} << 32) | 0x12345600u);
    // Found without regard to letter case, and while another program holds
    // the file open without sharing it.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fs.GetFileStamp(Root() + "\\結果.DXF"), before);
    // Sharing does not govern a file's times: it is set while held all the same.
    EXPECT_TRUE(fs.SetLastWriteTime(path, old + FileTimeStepsPerSecond));
    EXPECT_EQ(fs.GetFileStamp(path).lastWriteTime, old + FileTimeStepsPerSecond);
    CloseHandle(held);

    ASSERT_TRUE(WriteWholeFile(path, "123"));
    const FileStamp after = fs.GetFileStamp(path);
    EXPECT_EQ(after.size, 3u);
    EXPECT_NE(after.lastWriteTime, before.lastWriteTime);
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

TEST_F(Win32FileSystemTest, PathKeysMeetWhereTheFileSystemTakesTwoNamesForOne) {
    EXPECT_EQ(fs.PathKey("D:\\出力\\Plan.DXF"), fs.PathKey("d:\\出力\\plan.dxf"));
    // Full-width and Greek letters have a case too.
    EXPECT_EQ(fs.PathKey("D:\\ＡΣ.dxf"), fs.PathKey("D:\\ａσ.dxf"));
    // Two codes of code page 932 for one character ("Ⅰ": NEC and IBM rows).
    EXPECT_EQ(fs.PathKey("D:\\\x87\x54.dxf"), fs.PathKey("D:\\\xFA\x4A.dxf"));
    // "ソ" ends in the byte of "\"; nothing is folded that is not a letter.
    EXPECT_NE(fs.PathKey("D:\\ソ.dxf"), fs.PathKey("D:\\ｿ.dxf"));
    EXPECT_NE(fs.PathKey("D:\\a.dxf"), fs.PathKey("D:\\b.dxf"));
    // The file system agrees: the second name finds the file of the first.
    File("Ｐlan.dxf");
    EXPECT_EQ(fs.GetPathKind(temp.Path() + "ｐLAN.DXF"), PathKind::File);
}

// Workstations split one list by the key: every character of code page 932
// is keyed as the unit tests' in-memory file system keys it, and a part
// there is the part here.
TEST_F(Win32FileSystemTest, PathKeysAreTheUpperCasedUtf16LeOfTheUnitTestsAndGiveTheSameParts) {
    testing::MemoryFiles tree;
    testing::MemoryFileSystem memory{tree};
    const auto row = [](std::string lead, int first, int last) {
        std::string characters;
        for (int trail = first; trail <= last; ++trail) {
            const std::string character = lead + static_cast<char>(trail);
            if (testing::DecodeCp932(character)) characters += character;
        }
        return characters;
    };
    std::vector<std::string> rows{row("", 0x20, 0x7E), row("", 0xA1, 0xDF)};
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        if (lead <= 0x9F || lead >= 0xE0) rows.push_back(row(std::string(1, static_cast<char>(lead)), 0x40, 0xFC));
    int compared = 0;
    for (const std::string& characters : rows) {
        if (characters.empty()) continue;  // a lead byte without characters
        ++compared;
        EXPECT_EQ(fs.PathKey(characters), memory.PathKey(characters))
            << "the row of " << std::hex << (static_cast<unsigned char>(characters[0]) | 0);
    }
    EXPECT_GT(compared, 50);
    EXPECT_EQ(fs.PathKey("d:\\ａσ"), std::string("D\0:\0\\\0\x21\xFF\xA3\x03", 10));
    EXPECT_EQ(PartOf(fs, "e:\\out\\a.dxf", 1000), 450);
    EXPECT_EQ(PartOf(fs, "d:\\ＡΣ\\ａσ.dxf", 7), 5);
}

TEST_F(Win32FileSystemTest, AListFileIsReplacedWholeOrLeftAsItWas) {
    win32::Win32TextFiles lists;
    const std::string list = temp.Path() + "failed.txt";
    ASSERT_TRUE(lists.WriteAll(list, "D:\\a.dwg\r\n"));
    ASSERT_TRUE(lists.WriteAll(list, "D:\\b.dwg\r\nD:\\c.dwg\r\n"));
    EXPECT_EQ(lists.ReadAll(list), "D:\\b.dwg\r\nD:\\c.dwg\r\n");
    // Held open by another program that shares no deletion: the old list stays.
    HANDLE reader = CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(lists.WriteAll(list, "D:\\d.dwg\r\n"));
    CloseHandle(reader);
    EXPECT_EQ(lists.ReadAll(list), "D:\\b.dwg\r\nD:\\c.dwg\r\n");
    // Nothing is left beside it.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((temp.Path() + "*.tovimo-part").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_FALSE(lists.WriteAll(temp.Path() + "none\\f.txt", "x"));
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

std::vector<std::string> Problems(const DrawingCollection& collection) {
    std::vector<std::string> texts;
    for (const WalkProblem& problem : collection.unreachable)
        texts.push_back(problem.path + " " + WalkProblemText(problem.kind));
    return texts;
}

TEST_F(Win32FileSystemTest, AFolderLinkIsAReparsePointWithItsTargetsIdentity) {
    ASSERT_FALSE(temp.MakeFolder("図面").empty());
    File("図面\\a.dwg");
    const UnixFolderLink link(Root() + "\\link", Root() + "\\図面");
    const UnixFolderLink loop(Root() + "\\図面\\up", Root());
    ASSERT_TRUE(link.Made());
    ASSERT_TRUE(loop.Made());

    DirectoryEntry entry;
    SearchFailure failure = SearchFailure::Unreadable;
    auto search = fs.FindFirst(Root() + "\\*.*", entry, failure);
    ASSERT_NE(search, nullptr);
    std::uint32_t linkAttributes = 0;
    do {
        if (entry.name == "link") linkAttributes = entry.attributes;
    } while (search->Next(entry));
    search.reset();
    std::printf("attributes of a Unix link to a folder: 0x%x\n", static_cast<unsigned>(linkAttributes));
    EXPECT_EQ(linkAttributes & (file_attribute::Directory | file_attribute::ReparsePoint),
              file_attribute::Directory | file_attribute::ReparsePoint);

    const auto folder = fs.IdentifyFolder(Root() + "\\図面");
    ASSERT_TRUE(folder);
    EXPECT_EQ(fs.IdentifyFolder(Root() + "\\link"), folder);
    EXPECT_EQ(fs.IdentifyFolder(Root() + "\\図面\\up"), fs.IdentifyFolder(Root()));
    EXPECT_NE(fs.IdentifyFolder(Root()), folder);
    EXPECT_EQ(fs.IdentifyFolder(Root() + "\\none"), std::nullopt);

    // Through the loop and beside the link: the drawing once, nothing lost.
    const DrawingCollection collection =
        CollectDrawings(fs, win32::Win32TextOrder(), {Root()}, true, DrawingKind::Dwg);
    ASSERT_EQ(collection.drawings.size(), 1u);
    EXPECT_EQ(FileNameOf(collection.drawings[0].FullPath), "a.dwg");
    EXPECT_TRUE(collection.unreachable.empty()) << ::testing::PrintToString(Problems(collection));
}

TEST_F(Win32FileSystemTest, NamesWithoutACp932FormAreToldNotTurnedIntoLookAlikes) {
    // The ANSI search gives "cafe.dwg" and "\\en.dwg" for these: names of
    // another file, or of a path.
    // Removed by their wide names, which the temporary folder's removal
    // cannot name.
    struct WideFiles {
        std::vector<std::wstring> paths;
        ~WideFiles() {
            for (const std::wstring& path : paths) DeleteFileW(path.c_str());
        }
    } made;
    for (const wchar_t* name : {L"caf\u00e9.dwg", L"\u00a5en.dwg"}) {
        const std::wstring path = std::wstring(temp.Path().begin(), temp.Path().end()) + name;
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        made.paths.push_back(path);
    }
    File("表.dwg");
    const DrawingCollection collection =
        CollectDrawings(fs, win32::Win32TextOrder(), {Root()}, true, DrawingKind::Dwg);
    ASSERT_EQ(collection.drawings.size(), 1u);
    EXPECT_EQ(collection.drawings[0].FullPath, Root() + "\\表.dwg");
    EXPECT_THAT(Problems(collection),
                UnorderedElementsAre(Root() + "\\caf?.dwg 名前をShift-JISで表せません",
                                     Root() + "\\?en.dwg 名前をShift-JISで表せません"));
}

TEST_F(Win32FileSystemTest, AFolderBeyondMaxPathIsReportedAtItsFirstLevelTooLong) {
    DeepFolder deep(Root(), "abcdefghijklmnopqrstuvwxyz0123456789", 300);
    ASSERT_FALSE(deep.Path().empty());
    ASSERT_TRUE(deep.WriteFile("far.dwg", "x"));
    File("near.dwg");
    const DrawingCollection collection =
        CollectDrawings(fs, win32::Win32TextOrder(), {Root()}, true, DrawingKind::Dwg);
    ASSERT_EQ(collection.drawings.size(), 1u);
    EXPECT_EQ(collection.drawings[0].FullPath, Root() + "\\near.dwg");
    ASSERT_EQ(collection.unreachable.size(), 1u);
    const WalkProblem& problem = collection.unreachable[0];
    EXPECT_EQ(problem.kind, WalkProblemKind::PathTooLong);
    EXPECT_EQ(deep.Path().rfind(problem.path, 0), 0u) << problem.path;
    EXPECT_GT(problem.path.size() + 4, MaxPathCharacters);
    // Its parent was still searched.
    EXPECT_LE(problem.path.rfind('\\') + 4, MaxPathCharacters);
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
