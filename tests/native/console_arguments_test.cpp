// TovimoCmd's command line: what it takes, and every way it is refused.
#include <gtest/gtest.h>

#include "console/command_arguments.h"

namespace tovimo {
namespace {

using Args = std::vector<std::string>;

CommandArguments Parse(const Args& args) {
    const ParsedArguments parsed = ParseCommandArguments(args);
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    return parsed.arguments.value_or(CommandArguments{});
}

std::string Refusal(const Args& args) {
    const ParsedArguments parsed = ParseCommandArguments(args);
    EXPECT_FALSE(parsed.arguments.has_value());
    return parsed.error;
}

TEST(ConsoleArguments, DirectionAndPathsWithoutOptionsLeaveEverySettingToTheFile) {
    const CommandArguments a = Parse({"dxf", "D:\\図面"});
    EXPECT_FALSE(a.usage);
    EXPECT_EQ(a.direction, ConvertDirection::ToDxf);
    EXPECT_EQ(a.paths, Args{"D:\\図面"});
    EXPECT_FALSE(a.childFolders);
    EXPECT_FALSE(a.saveDir);
    EXPECT_FALSE(a.saveChildDir);
    EXPECT_FALSE(a.rewrite);
    EXPECT_FALSE(a.iniFile);
    EXPECT_FALSE(a.failedList);

    EXPECT_EQ(Parse({"DWG", "a.dxf"}).direction, ConvertDirection::ToDwg);
    EXPECT_EQ(Parse({"Dxf", "a.dwg"}).direction, ConvertDirection::ToDxf);
}

TEST(ConsoleArguments, OptionsMayStandAnywhereAfterTheDirectionInAnyLetterCase) {
    // "ソ" and "表" end in the byte of "\"; the paths must come through whole.
    const CommandArguments a = Parse({"dwg", "C:\\ソ\\a.dxf", "/S", "/O", "E:\\出力表", "/-K",
                                      "D:\\表", "/N", "/Ini", "my.ini", "b.dxf"});
    EXPECT_EQ(a.paths, (Args{"C:\\ソ\\a.dxf", "D:\\表", "b.dxf"}));
    EXPECT_EQ(a.childFolders, true);
    EXPECT_EQ(a.saveDir, "E:\\出力表");
    EXPECT_EQ(a.saveChildDir, false);
    EXPECT_EQ(a.rewrite, false);
    EXPECT_EQ(a.iniFile, "my.ini");

    const CommandArguments b = Parse({"dxf", "/o", "E:\\out", "/k", "/y", "x.dwg"});
    EXPECT_EQ(b.saveChildDir, true);
    EXPECT_EQ(b.rewrite, true);

    // A list to read stays a path until the run reads it; the list to
    // write is a value of its own, even when it names the same file.
    const CommandArguments c = Parse({"dxf", "/F", "D:\\表\\failed.txt", "@D:\\表\\failed.txt", "x.dwg"});
    EXPECT_EQ(c.failedList, "D:\\表\\failed.txt");
    EXPECT_EQ(c.paths, (Args{"@D:\\表\\failed.txt", "x.dwg"}));
}

TEST(ConsoleArguments, TheSameSwitchTwiceIsNoContradiction) {
    const CommandArguments a = Parse({"dxf", "/y", "/Y", "/s", "/s", "x.dwg"});
    EXPECT_EQ(a.rewrite, true);
    EXPECT_EQ(a.childFolders, true);
}

TEST(ConsoleArguments, UsageIsAskedForAloneOrAfterTheDirection) {
    EXPECT_TRUE(Parse({"/?"}).usage);
    // After the direction, no path is needed to see the usage.
    EXPECT_TRUE(Parse({"dxf", "/?"}).usage);
    EXPECT_TRUE(Parse({"dwg", "a.dxf", "/?"}).usage);
    const std::string usage = UsageText();
    for (const char* option : {"/s", "/o", "/k", "/-k", "/y", "/n", "/shard", "/ini", "/f", "@", "/?", "dwgtodxf", "dxftodwg", "#SAVEFILE"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(ConsoleArguments, AMissingOrUnknownDirectionIsRefused) {
    EXPECT_FALSE(Refusal({}).empty());
    EXPECT_NE(Refusal({"pdf", "a.dwg"}).find("pdf"), std::string::npos);
    // A path where the direction belongs.
    EXPECT_NE(Refusal({"D:\\図面", "dxf"}).find("D:\\図面"), std::string::npos);
    // An option before the direction.
    EXPECT_FALSE(Refusal({"/s", "dxf", "a.dwg"}).empty());
}

TEST(ConsoleArguments, NoPathOrAnEmptyPathIsRefused) {
    EXPECT_FALSE(Refusal({"dxf"}).empty());
    EXPECT_FALSE(Refusal({"dxf", "/s", "/y"}).empty());
    EXPECT_FALSE(Refusal({"dxf", "", "a.dwg"}).empty());
}

TEST(ConsoleArguments, AnUnknownOptionIsRefusedByName) {
    EXPECT_NE(Refusal({"dxf", "/x", "a.dwg"}).find("/x"), std::string::npos);
    EXPECT_NE(Refusal({"dxf", "a.dwg", "/-y"}).find("/-y"), std::string::npos);
    EXPECT_NE(Refusal({"dxf", "a.dwg", "/oo", "E:\\out"}).find("/oo"), std::string::npos);
}

TEST(ConsoleArguments, ContradictingSwitchesAreRefused) {
    EXPECT_FALSE(Refusal({"dxf", "/y", "/n", "a.dwg"}).empty());
    EXPECT_FALSE(Refusal({"dxf", "/o", "E:\\out", "/-k", "/k", "a.dwg"}).empty());
}

TEST(ConsoleArguments, AValueOptionNeedsItsValueOnce) {
    for (const char* option : {"/o", "/ini", "/f"}) {
        SCOPED_TRACE(option);
        // At the end, empty, or followed by another option.
        EXPECT_NE(Refusal({"dxf", "a.dwg", option}).find(option), std::string::npos);
        EXPECT_FALSE(Refusal({"dxf", option, "", "a.dwg"}).empty());
        EXPECT_FALSE(Refusal({"dxf", option, "/s", "a.dwg"}).empty());
        // Twice: which one was meant cannot be told.
        EXPECT_FALSE(Refusal({"dxf", option, "x", option, "y", "a.dwg"}).empty());
    }
}

TEST(ConsoleArguments, AShardIsKOfNUpTo1000AndAnythingElseIsRefusedByName) {
    const CommandArguments a = Parse({"dxf", "/SHARD", "2/3", "a.dwg"});
    ASSERT_TRUE(a.shard);
    EXPECT_EQ(a.shard->part, 2);
    EXPECT_EQ(a.shard->count, 3);
    EXPECT_FALSE(Parse({"dxf", "a.dwg"}).shard);
    for (const char* good : {"1/1", "1000/1000", "1/1000", "07/10"})
        EXPECT_TRUE(Parse({"dxf", "/shard", good, "a.dwg"}).shard) << good;
    for (const char* bad : {"0/3", "4/3", "1/0", "1/1001", "3", "1/3/3", "a/3", "-1/3", "+1/3",
                            " 1/3", "1 /3", "1/", "1-3", "99999999999/3"}) {
        const std::string error = Refusal({"dxf", "/shard", bad, "a.dwg"});
        EXPECT_NE(error.find("/shard"), std::string::npos) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
    // Without its value, or twice.
    EXPECT_NE(Refusal({"dxf", "a.dwg", "/shard"}).find("/shard"), std::string::npos);
    EXPECT_NE(Refusal({"dxf", "/shard", "/s", "a.dwg"}).find("/shard"), std::string::npos);
    EXPECT_NE(Refusal({"dxf", "/shard", "1/2", "/shard", "2/2", "a.dwg"}).find("/shard"),
              std::string::npos);
}

TEST(ConsoleArguments, KeepingSubFoldersNeedsAnOutputFolder) {
    EXPECT_FALSE(Refusal({"dxf", "/k", "a.dwg"}).empty());
    EXPECT_FALSE(Refusal({"dxf", "/-k", "a.dwg"}).empty());
}

}  // namespace
}  // namespace tovimo
