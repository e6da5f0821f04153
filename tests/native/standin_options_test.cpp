// The stand-in's switches, and how its command line is split.
#include <gtest/gtest.h>

#include "standin_options.h"

namespace tovimo::standin {
namespace {

using Arguments = std::vector<std::string>;

TEST(StandinOptions, DefaultsAreAnLtWithHalfWidthTextsAndNoDelays) {
    const StandinOptions options = ParseOptions({});
    EXPECT_EQ(options.product, Product::Lt);
    EXPECT_EQ(options.kana, KanaForm::HalfWidth);
    EXPECT_FALSE(options.startupDialog);
    EXPECT_FALSE(options.changedFromStart);
    EXPECT_FALSE(options.unicode);
    EXPECT_EQ(options.startDelayMs + options.commandDelayMs + options.openDelayMs + options.saveDelayMs, 0);
    EXPECT_EQ(options.drawing, "");
    EXPECT_EQ(options.logPath, "");
    EXPECT_EQ(options.sdi, 0);
}

TEST(StandinOptions, SwitchesInAnyLetterCaseAndTheLaterOneWins) {
    const StandinOptions options =
        ParseOptions({"/FULL", "/fullwidth", "/Startup", "/startdelay:2000", "/CMDDELAY:150", "/opendelay:30",
                      "/savedelay:40", "/dirty", "/log:Z:\\tmp\\acad log.txt", "/lt", "/nostartup",
                      "/ANSI", "/Unicode", "/sdi:3", "/SDI:2"});
    EXPECT_EQ(options.product, Product::Lt);
    EXPECT_EQ(options.kana, KanaForm::FullWidth);
    EXPECT_FALSE(options.startupDialog);
    EXPECT_EQ(options.startDelayMs, 2000);
    EXPECT_EQ(options.commandDelayMs, 150);
    EXPECT_EQ(options.openDelayMs, 30);
    EXPECT_EQ(options.saveDelayMs, 40);
    EXPECT_TRUE(options.changedFromStart);
    EXPECT_TRUE(options.unicode);
    EXPECT_EQ(options.sdi, 2);
    EXPECT_EQ(options.logPath, "Z:\\tmp\\acad log.txt");
    EXPECT_TRUE(options.ignored.empty());
}

TEST(StandinOptions, BareArgumentIsTheDrawingAndUnknownSwitchesAreKept) {
    const StandinOptions options =
        ParseOptions({"/nologo", "C:\\Tovimo\\Drawing1.dwg", "/cmddelay:-5", "/cmddelay:1x", "/log:",
                      "/sdi:4"});
    EXPECT_EQ(options.drawing, "C:\\Tovimo\\Drawing1.dwg");
    EXPECT_EQ(options.commandDelayMs, 0);
    EXPECT_EQ(options.sdi, 0);
    EXPECT_EQ(ParseOptions({"/sdi:None"}).sdi, StandinOptions::NoSdi);
    EXPECT_EQ(options.ignored,
              (Arguments{"/nologo", "/cmddelay:-5", "/cmddelay:1x", "/log:", "/sdi:4"}));
}

TEST(StandinOptions, CommandLineIsSplitAsTheCRuntimeSplitsIt) {
    EXPECT_EQ(SplitArguments("  /lt   /log:a.txt "), (Arguments{"/lt", "/log:a.txt"}));
    EXPECT_EQ(SplitArguments("\"C:\\My Drawings\\A.dwg\" /full"), (Arguments{"C:\\My Drawings\\A.dwg", "/full"}));
    EXPECT_EQ(SplitArguments("/log:\"C:\\a b\\log.txt\""), (Arguments{"/log:C:\\a b\\log.txt"}));
    EXPECT_EQ(SplitArguments("a\\\\\"b c\" d\\e"), (Arguments{"a\\b c", "d\\e"}));
    EXPECT_EQ(SplitArguments("say\\\"hi"), (Arguments{"say\"hi"}));
    EXPECT_TRUE(SplitArguments("").empty());
}

TEST(StandinOptions, ProgramPathIsCutOffEvenUnquotedWithBlanks) {
    const std::string program = "C:\\Program Files\\Acad\\standin-acad.exe";
    EXPECT_EQ(ArgumentsAfterProgram("C:\\program files\\acad\\standin-acad.exe /lt D:\\A.dwg", program),
              (Arguments{"/lt", "D:\\A.dwg"}));
    EXPECT_EQ(ArgumentsAfterProgram("\"C:\\Program Files\\Acad\\standin-acad.exe\" \"D:\\a b.dwg\"", program),
              (Arguments{"D:\\a b.dwg"}));
    EXPECT_EQ(ArgumentsAfterProgram("standin-acad /full", program), (Arguments{"/full"}));
    EXPECT_TRUE(ArgumentsAfterProgram(program, program).empty());
}

}  // namespace
}  // namespace tovimo::standin
