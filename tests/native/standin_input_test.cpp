// Typed input: system variables, Enter and Escape, input while busy, and
// what the stand-in leaves alone.
#include <gtest/gtest.h>

#include "standin_fixture.h"

namespace tovimo::testing {
namespace {

using StandinInputTest = StandinTest;

TEST_F(StandinInputTest, SystemVariablesShowTheirValueAndTakeANewOne) {
    Start();
    struct Case {
        const char* typedName;
        const char* name;
        const char* initial;
    };
    for (const Case c : {Case{"FILEDIA", "FILEDIA", "1"}, Case{"isavebak", "ISAVEBAK", "1"},
                         Case{"ProxyNotice", "PROXYNOTICE", "1"}, Case{"DYNMODE", "DYNMODE", "3"}}) {
        SCOPED_TRACE(c.name);
        Type(std::string(c.typedName) + "\n");
        EXPECT_EQ(CommandLine(), std::string(c.name) + " の新しい値を入力 <" + c.initial + ">: ");
        Type("0\n");
        EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
        EXPECT_EQ(standin->Model().SysVar(c.name), "0");
        Type(std::string(c.typedName) + "\n");
        EXPECT_EQ(CommandLine(), std::string(c.name) + " の新しい値を入力 <0>: ");
        Type("\n");  // Enter keeps the value
        EXPECT_EQ(standin->Model().SysVar(c.name), "0");
    }
}

TEST_F(StandinInputTest, ValueOutOfRangeIsRefusedAndAskedAgain) {
    Start();
    Type("FILEDIA\n5\n");
    EXPECT_EQ(CommandLine(), "FILEDIA の新しい値を入力 <1>: ");
    EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "1");
    Type("x\n");
    EXPECT_EQ(CommandLine(), "FILEDIA の新しい値を入力 <1>: ");
    Type("DYNMODE\n");  // not a number either: still the FILEDIA prompt
    Type("\x1b");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    Type("DYNMODE\n-3\n");
    EXPECT_EQ(standin->Model().SysVar("DYNMODE"), "-3");
}

TEST_F(StandinInputTest, EscapeCancelsTheCurrentPromptAndWhatWasTyped) {
    Start();
    Type("FILEDIA\n0");
    EXPECT_EQ(CommandLine(), "FILEDIA の新しい値を入力 <1>: 0");
    Type("\x1b");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_EQ(History(), "*キャンセル*");
    EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "1");
    // The escape byte in the middle of a text: what follows is typed anew.
    Type("ISAVEBAK\n\x1bPROXYNOTICE\n0\n");
    EXPECT_EQ(standin->Model().SysVar("ISAVEBAK"), "1");
    EXPECT_EQ(standin->Model().SysVar("PROXYNOTICE"), "0");
}

TEST_F(StandinInputTest, SetvarAsksForTheNameFirst) {
    Start();
    Type("setvar\n");
    EXPECT_EQ(CommandLine(), "変数名を入力 または [?]: ");
    Type("filedia\n0\n");
    EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "0");
}

TEST_F(StandinInputTest, TypedTextShowsAfterThePromptAndBackspaceRemovesWholeCharacters) {
    Start();
    Type("ab表");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ab表");
    Type("\b");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ab");
    Type("\b\b\b");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
}

TEST_F(StandinInputTest, UnknownCommandIsReportedOnTheHistoryLine) {
    Start();
    Type("zoom\n");
    EXPECT_EQ(History(), "\"zoom\" は不明なコマンドです。F1 キーを押すとヘルプが表示されます。");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
}

TEST_F(StandinInputTest, OnlyCommandDataIsTakenAndNothingAfterTheZeroByte) {
    Start();
    const char other[] = "FILEDIA\n";
    windows.SendCopyData(standin->MainWindow(), 2, other, sizeof other, 1000);
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    // To a window other than the main window: its procedure ignores it.
    windows.SendCopyData(standin->CommandLineWindow(), 1, other, sizeof other, 1000);
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    const char withZero[] = "FILEDIA\n\0" "0\n";
    windows.SendCopyData(standin->MainWindow(), 1, withZero, sizeof withZero, 1000);
    EXPECT_EQ(CommandLine(), "FILEDIA の新しい値を入力 <1>: ");

    const auto log = standin->Log("copydata");
    ASSERT_EQ(log.size(), 2u);  // the one to the command line never reached the stand-in
    EXPECT_EQ(log[0].fields, (std::vector<std::string>{"2", "9", "FILEDIA\n"}));
    EXPECT_EQ(log[1].fields, (std::vector<std::string>{"1", "12", "FILEDIA\n"}));
    EXPECT_EQ(standin->Log("ignored").at(0).Field(0), "dwData");
}

TEST_F(StandinInputTest, WakeUpMessageChangesNothing) {
    Start();
    Type("FILEDIA\n");
    windows.PostNull(standin->MainWindow());
    EXPECT_EQ(CommandLine(), "FILEDIA の新しい値を入力 <1>: ");
    EXPECT_EQ(standin->Log("null").size(), 1u);
}

TEST_F(StandinInputTest, WhileBusyTheCommandLineIsEmptyAndInputWaitsItsTurn) {
    Start({"/cmddelay:200"});
    Type("FILEDIA\n");
    EXPECT_EQ(CommandLine(), "");
    clock.Sleep(100);
    Type("0\nISAVEBAK\n");  // typed ahead
    EXPECT_EQ(CommandLine(), "");
    clock.Sleep(99);
    EXPECT_EQ(CommandLine(), "");
    clock.Sleep(1);  // 200 ms: the FILEDIA prompt, and the "0" is taken at once
    EXPECT_EQ(CommandLine(), "");
    clock.Sleep(200);
    EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "0");
    EXPECT_EQ(CommandLine(), "");  // the queued ISAVEBAK is under way
    clock.Sleep(200);
    EXPECT_EQ(CommandLine(), "ISAVEBAK の新しい値を入力 <1>: ");

    std::vector<std::pair<std::int64_t, std::string>> prompts;
    for (const auto& entry : standin->Log("prompt")) prompts.emplace_back(entry.ms, entry.Field(0));
    EXPECT_EQ(prompts, (std::vector<std::pair<std::int64_t, std::string>>{
                           {0, "ｺﾏﾝﾄﾞ: "},
                           {200, "FILEDIA の新しい値を入力 <1>: "},
                           {400, "ｺﾏﾝﾄﾞ: "},
                           {600, "ISAVEBAK の新しい値を入力 <1>: "}}));
}

}  // namespace
}  // namespace tovimo::testing
