// Folder walks through links, and what they cannot reach: every drawing is
// collected once, the walk always ends, and whatever cannot be read or named
// is reported with the rest still collected.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drawings/drawing_collection.h"
#include "drawings/list_kind.h"
#include "drawings/walk_problem.h"
#include "memory_file_system.h"
#include "memory_files.h"

namespace tovimo {
namespace {

using ::testing::ElementsAre;
using testing::MemoryFiles;
using testing::MemoryFileSystem;

std::vector<std::string> FullPaths(const DrawingCollection& collection) {
    std::vector<std::string> paths;
    for (const TFileName& drawing : collection.drawings) paths.push_back(drawing.FullPath);
    return paths;
}

std::vector<std::string> Problems(const std::vector<WalkProblem>& problems) {
    std::vector<std::string> texts;
    for (const WalkProblem& problem : problems)
        texts.push_back(problem.path + " " + WalkProblemText(problem.kind));
    return texts;
}

// A path of exactly length characters: D:\ and folder levels of "x"s.
std::string PathOfLength(std::size_t length) {
    std::string path = "D:";
    while (path.size() < length) {
        path += '\\';
        const std::size_t level = std::min<std::size_t>(50, length - path.size());
        path.append(level == 0 ? 1 : level, 'x');
    }
    return path;
}

class WalkReachTest : public ::testing::Test {
protected:
    DrawingCollection Collect(std::vector<std::string> paths, bool withSubFolders = true,
                              DrawingKind kind = DrawingKind::Dwg) {
        return CollectDrawings(fs, order, std::move(paths), withSubFolders, kind);
    }

    MemoryFiles files;
    MemoryFileSystem fs{files};
    Cp932IgnoreCaseOrder order;
};

TEST_F(WalkReachTest, LinksBackUpEndTheWalkWithEachDrawingOnce) {
    files.AddFile("D:\\A\\a.dwg");
    files.AddFolderLink("D:\\A\\loop", "D:\\A");
    files.AddFile("D:\\A\\B\\b.dwg");
    files.AddFolderLink("D:\\A\\B\\up", "D:\\A");
    files.AddFolderLink("D:\\A\\B\\self", "D:\\A\\B");
    const DrawingCollection collection = Collect({"D:\\A"});
    EXPECT_THAT(FullPaths(collection), ElementsAre("D:\\A\\a.dwg", "D:\\A\\B\\b.dwg"));
    // Nothing is lost: the folders behind the links were walked already.
    EXPECT_TRUE(collection.unreachable.empty());
    EXPECT_EQ(fs.OpenSearches(), 0);
}

TEST_F(WalkReachTest, AFolderBehindSeveralLinksIsWalkedOnceWhicheverComesFirst) {
    files.AddFolderLink("D:\\A\\first", "D:\\A\\T");
    files.AddFolderLink("D:\\A\\second", "D:\\A\\T");
    files.AddFile("D:\\A\\T\\t.dwg");
    files.AddFile("D:\\A\\T\\U\\u.dwg");
    // Found through the first link; the second link and the folder itself
    // lead nowhere new.
    EXPECT_THAT(FullPaths(Collect({"D:\\A"})),
                ElementsAre("D:\\A\\first\\t.dwg", "D:\\A\\first\\U\\u.dwg"));

    // The folder itself first, the link after it.
    files.AddFile("D:\\B\\R\\r.dwg");
    files.AddFolderLink("D:\\B\\toR", "D:\\B\\R");
    EXPECT_THAT(FullPaths(Collect({"D:\\B"})), ElementsAre("D:\\B\\R\\r.dwg"));

    // A folder given by itself through a link is walked, and a drawing given
    // through one is taken.
    files.AddFolderLink("E:\\toT", "D:\\A\\T");
    EXPECT_THAT(FullPaths(Collect({"E:\\toT"})),
                ElementsAre("E:\\toT\\t.dwg", "E:\\toT\\U\\u.dwg"));
    EXPECT_THAT(FullPaths(Collect({"E:\\toT\\U\\u.dwg"})), ElementsAre("E:\\toT\\U\\u.dwg"));
}

TEST_F(WalkReachTest, EachGivenFolderIsWalkedWholeThoughALinkLeadsIntoAnEarlierOne) {
    files.AddFile("D:\\A\\a.dwg");
    files.AddFile("D:\\B\\b.dwg");
    files.AddFolderLink("D:\\B\\toA", "D:\\A");
    // D:\A was walked as a given folder of its own; within D:\B the link
    // still leads to drawings the walk of D:\B has not met.
    EXPECT_THAT(FullPaths(Collect({"D:\\A", "D:\\B"})),
                ElementsAre("D:\\A\\a.dwg", "D:\\B\\b.dwg", "D:\\B\\toA\\a.dwg"));
    // The same when D:\A holds a link, so that its folders were told apart
    // by what they are: the walk of D:\B starts from none entered.
    files.AddFolderLink("D:\\A\\self", "D:\\A");
    EXPECT_THAT(FullPaths(Collect({"D:\\A", "D:\\B"})),
                ElementsAre("D:\\A\\a.dwg", "D:\\B\\b.dwg", "D:\\B\\toA\\a.dwg"));
}

TEST_F(WalkReachTest, FoldersAreToldApartOnlyOnceALinkIsMet) {
    files.AddFile("D:\\A\\B\\C\\c.dwg");
    files.AddFile("D:\\A\\D\\d.dwg");
    EXPECT_EQ(Collect({"D:\\A"}).drawings.size(), 2u);
    EXPECT_EQ(fs.IdentityRequests(), 0);

    // The link comes last and leads back up: every folder is told once.
    files.AddFolderLink("D:\\A\\D\\up", "D:\\A");
    EXPECT_EQ(Collect({"D:\\A"}).drawings.size(), 2u);
    EXPECT_EQ(fs.IdentityRequests(), 5);
}

TEST_F(WalkReachTest, ALinkWhoseTargetCannotBeToldIsReportedNotFollowed) {
    files.AddFile("D:\\A\\real\\r.dwg");
    files.AddFolderLink("D:\\A\\loop", "D:\\A");
    fs.WithoutIdentity("D:\\A\\real");
    fs.WithoutIdentity("D:\\A\\loop");
    const DrawingCollection collection = Collect({"D:\\A"});
    // A real folder cannot lead back up, so it is walked all the same.
    EXPECT_THAT(FullPaths(collection), ElementsAre("D:\\A\\real\\r.dwg"));
    EXPECT_THAT(Problems(collection.unreachable), ElementsAre("D:\\A\\loop フォルダを読めません"));
}

TEST_F(WalkReachTest, UnreadableFoldersAndLostNamesAreReportedAndTheRestCollected) {
    files.AddFile("D:\\A\\locked\\hidden.dwg");
    files.MakeUnreadable("D:\\A\\locked");
    files.AddFile("D:\\A\\??.dwg");
    files.MarkNameLost("D:\\A\\??.dwg");
    files.AddFile("D:\\A\\?.txt");  // not a drawing: not worth a word
    files.MarkNameLost("D:\\A\\?.txt");
    files.AddFile("D:\\A\\?\\inside.dwg");
    files.MarkNameLost("D:\\A\\?");
    files.AddFile("D:\\A\\ok.dwg");
    files.AddFile("D:\\A\\sub\\deep.dwg");

    const DrawingCollection collection = Collect({"D:\\A"});
    EXPECT_THAT(FullPaths(collection), ElementsAre("D:\\A\\ok.dwg", "D:\\A\\sub\\deep.dwg"));
    EXPECT_THAT(Problems(collection.unreachable),
                ElementsAre("D:\\A\\locked フォルダを読めません",
                            "D:\\A\\??.dwg 名前をShift-JISで表せません",
                            "D:\\A\\? 名前をShift-JISで表せません"));

    // Without sub-folders, folders are not looked into, so only the
    // drawing counts.
    EXPECT_THAT(Problems(Collect({"D:\\A"}, false).unreachable),
                ElementsAre("D:\\A\\??.dwg 名前をShift-JISで表せません"));
    // A drawing of the other kind is no loss for this run.
    EXPECT_THAT(Problems(Collect({"D:\\A"}, false, DrawingKind::Dxf).unreachable),
                ::testing::IsEmpty());
    // A given folder that cannot be read is reported like one met inside.
    EXPECT_THAT(Problems(Collect({"D:\\A\\locked"}).unreachable),
                ElementsAre("D:\\A\\locked フォルダを読めません"));
}

TEST_F(WalkReachTest, FoldersBeyondMaxPathAreReportedAtTheFirstLevelTooLong) {
    // The search pattern "\*.*" must fit within 259 characters.
    const std::string longest = PathOfLength(255);
    const std::string tooLong = longest + "\\y";
    ASSERT_EQ(tooLong.size(), 257u);
    files.AddFile(longest + "\\near.dwg");
    files.AddFile(tooLong + "\\far.dwg");
    files.AddFile(tooLong + "\\z\\farther.dwg");
    const DrawingCollection collection = Collect({longest.substr(0, 3 + 50)});
    EXPECT_THAT(FullPaths(collection), ElementsAre(longest + "\\near.dwg"));
    EXPECT_THAT(Problems(collection.unreachable), ElementsAre(tooLong + " パスが長すぎます"));
}

TEST_F(WalkReachTest, ADoubleByteCharacterCountsOnceTowardsMaxPath) {
    // 129 two-byte characters, 258 bytes: far more bytes than a short path,
    // but 3 + 129 + 4 characters with its pattern.
    std::string name;
    for (int i = 0; i < 129; ++i) name += "表";
    files.AddFile("D:\\" + name + "\\in.dwg");
    const DrawingCollection collection = Collect({"D:\\" + name});
    EXPECT_THAT(FullPaths(collection), ElementsAre("D:\\" + name + "\\in.dwg"));
    EXPECT_TRUE(collection.unreachable.empty());
}

TEST_F(WalkReachTest, TheLookAtADropHandsBackEveryProblemWhenAsked) {
    files.AddFile("D:\\A\\a.dwg");
    files.AddFile("D:\\A\\b.dxf");
    files.AddFolder("D:\\A\\locked");
    files.MakeUnreadable("D:\\A\\locked");
    files.AddFile("D:\\A\\?.dxf");
    files.MarkNameLost("D:\\A\\?.dxf");
    files.AddFile("D:\\A\\?.bak");
    files.MarkNameLost("D:\\A\\?.bak");
    files.AddFolderLink("D:\\A\\loop", "D:\\A");

    std::vector<WalkProblem> problems;
    const DrawingsSeen seen = LookForDrawings(fs, {"D:\\A"}, true, &problems);
    EXPECT_TRUE(seen.dwg);
    EXPECT_TRUE(seen.dxf);
    // Both kinds were seen before the problems: the look went on to the end.
    EXPECT_THAT(Problems(problems), ElementsAre("D:\\A\\locked フォルダを読めません",
                                                "D:\\A\\?.dxf 名前をShift-JISで表せません"));
    // A drawing whose name is lost does not count for the kind.
    files.RemoveFile("D:\\A\\b.dxf");
    EXPECT_FALSE(LookForDrawings(fs, {"D:\\A"}, true).dxf);
}

TEST(WalkProblemsMessageTest, NamesEachPathWithItsReasonAndCutsALongList) {
    EXPECT_EQ(WalkProblemsMessage({}), "");
    EXPECT_EQ(WalkProblemsMessage({{"D:\\A\\locked", WalkProblemKind::Unreadable},
                                   {"D:\\A\\?.dwg", WalkProblemKind::NoCp932Name}}),
              "次のフォルダやファイルは読み取れないため、一覧に加えていません (2 件):\n"
              "D:\\A\\locked  (フォルダを読めません)\n"
              "D:\\A\\?.dwg  (名前をShift-JISで表せません)");

    std::vector<WalkProblem> many;
    for (int i = 0; i < 25; ++i)
        many.push_back({"D:\\deep\\" + std::to_string(i), WalkProblemKind::PathTooLong});
    const std::string message = WalkProblemsMessage(many);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 20);
    EXPECT_NE(message.find("(25 件)"), std::string::npos);
    EXPECT_NE(message.find("D:\\deep\\18  (パスが長すぎます)"), std::string::npos);
    EXPECT_EQ(message.find("D:\\deep\\19"), std::string::npos);
    EXPECT_TRUE(message.ends_with("\nほか 6 件"));

    // Exactly as many problems as the message has lines: every one is named.
    many.resize(20);
    const std::string full = WalkProblemsMessage(many);
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), 20);
    EXPECT_TRUE(full.ends_with("\nD:\\deep\\19  (パスが長すぎます)"));
    EXPECT_EQ(full.find("ほか"), std::string::npos);
    many.push_back({"D:\\deep\\20", WalkProblemKind::PathTooLong});
    EXPECT_TRUE(WalkProblemsMessage(many).ends_with("\nD:\\deep\\18  (パスが長すぎます)\nほか 2 件"));
}

}  // namespace
}  // namespace tovimo
