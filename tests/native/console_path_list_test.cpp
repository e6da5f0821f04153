// The list file of TovimoCmd's /f and @FILE: its text form, the reading of
// lists among the given paths, and which drawings of a run go into it.
#include <gtest/gtest.h>

#include "console/not_converted.h"
#include "console/path_arguments.h"
#include "console/path_list.h"
#include "memory_files.h"
#include "memory_text_files.h"

namespace tovimo::testing {
namespace {

using Paths = std::vector<std::string>;

TEST(PathList, WrittenAndReadBackWholeWithDoubleByteNamesThatEndInABackslashByte) {
    // "ソ" and "表" end in the byte of "\": nothing may split there.
    const Paths paths{"D:\\ソ\\表.dwg", "C:\\a b\\ c .dwg", "\\\\server\\共有\\x.dwg"};
    const std::string text = FormatPathList(paths);
    EXPECT_EQ(text, "D:\\ソ\\表.dwg\r\nC:\\a b\\ c .dwg\r\n\\\\server\\共有\\x.dwg\r\n");
    EXPECT_EQ(ParsePathList(text), paths);
    EXPECT_EQ(FormatPathList({}), "");
    EXPECT_TRUE(ParsePathList("").empty());
}

TEST(PathList, AnyLineBreakEndsALineAndBlankLinesAreSkipped) {
    EXPECT_EQ(ParsePathList("a\nb\rc\r\nd"), (Paths{"a", "b", "c", "d"}));
    EXPECT_EQ(ParsePathList("\r\n\r\n a\r\n \t \r\n\n\rb\r\n\r\n"), (Paths{" a", "b"}));
    // "\r\r\n" is two breaks, not one break and a stray CR in the next path.
    EXPECT_EQ(ParsePathList("a\r\r\nb"), (Paths{"a", "b"}));
}

class PathArguments : public ::testing::Test {
public:
    MemoryFiles files;
    MemoryTextFiles text{files};
};

TEST_F(PathArguments, AListStandsWhereItWasGivenInTheFilesOrder) {
    files.AddFile("C:\\l1.txt", "z.dwg\r\na.dwg\r\n");
    files.AddFile("C:\\l2.txt", "@not-a-list.dwg\r\n");
    const ExpandedPaths expanded = ExpandPathArguments({"m.dwg", "@C:\\l1.txt", "b.dwg", "@C:\\l2.txt"}, text);
    EXPECT_EQ(expanded.error, "");
    EXPECT_EQ(expanded.paths, (Paths{"m.dwg", "z.dwg", "a.dwg", "b.dwg", "@not-a-list.dwg"}));
    // A lone "@" is no list of a nameless file.
    EXPECT_EQ(ExpandPathArguments({"@"}, text).paths, Paths{"@"});
}

TEST_F(PathArguments, AnUnreadableListRefusesEverythingAndNamesTheFile) {
    files.AddFile("C:\\ok.txt", "a.dwg\r\n");
    files.AddFolder("C:\\folder.txt");
    for (const char* list : {"C:\\missing.txt", "C:\\folder.txt"}) {
        const ExpandedPaths expanded = ExpandPathArguments({"@C:\\ok.txt", std::string("@") + list}, text);
        EXPECT_NE(expanded.error.find(list), std::string::npos) << expanded.error;
        EXPECT_TRUE(expanded.paths.empty());
    }
}

TEST_F(PathArguments, EmptyListsAreAnErrorOnlyWhenNothingElseIsLeft) {
    files.AddFile("C:\\empty.txt", "");
    files.AddFile("C:\\blank.txt", "\r\n  \r\n");
    const ExpandedPaths alone = ExpandPathArguments({"@C:\\empty.txt", "@C:\\blank.txt"}, text);
    EXPECT_NE(alone.error.find("C:\\empty.txt"), std::string::npos) << alone.error;
    const ExpandedPaths withOthers = ExpandPathArguments({"@C:\\empty.txt", "x.dwg"}, text);
    EXPECT_EQ(withOthers.error, "");
    EXPECT_EQ(withOthers.paths, Paths{"x.dwg"});
}

TEST(NotConverted, SkippedAndUnreachedDrawingsInTheRunsOrder) {
    const Paths sources{"D:\\a.dwg", "D:\\b.dwg", "D:\\c.dwg", "D:\\d.dwg"};
    // Skipped in another order than the run's, and d never reached.
    const std::vector<SkippedDrawing> skipped{{"c.dwg", "D:\\c.dwg", SkipReason::OpenFailed},
                                              {"a.dwg", "D:\\a.dwg", SkipReason::ResultExists}};
    EXPECT_EQ(NotConvertedPaths(sources, 3, skipped), (Paths{"D:\\a.dwg", "D:\\c.dwg", "D:\\d.dwg"}));
    EXPECT_EQ(NotConvertedPaths(sources, 4, {}), Paths{});
    EXPECT_EQ(NotConvertedPaths(sources, 0, {}), sources);
    // AutoCAD gone: the rest is skipped as well as unreached; each once.
    const std::vector<SkippedDrawing> gone{{"b.dwg", "D:\\b.dwg", SkipReason::AcadGone},
                                           {"c.dwg", "D:\\c.dwg", SkipReason::AcadGone},
                                           {"d.dwg", "D:\\d.dwg", SkipReason::AcadGone}};
    EXPECT_EQ(NotConvertedPaths(sources, 2, gone), (Paths{"D:\\b.dwg", "D:\\c.dwg", "D:\\d.dwg"}));
}

}  // namespace
}  // namespace tovimo::testing
