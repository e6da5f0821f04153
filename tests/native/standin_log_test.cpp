// The stand-in's log: the escaping of texts, the parser, and what a session
// writes into it.
#include <gtest/gtest.h>

#include "standin_fixture.h"
#include "standin_log.h"

namespace tovimo::testing {
namespace {

using standin::EscapeLogText;
using standin::FormatLogLine;
using standin::LogNumber;
using standin::LogText;
using standin::ParseLogLine;
using standin::UnescapeLogText;

TEST(StandinLogFormat, TextsSurviveTheRoundTrip) {
    const std::string texts[] = {
        "FILEDIA\n0\n",
        std::string("\x1b", 1),
        "D:\\図面\\ソ.dwg",         // "ソ" ends in the byte of "\"
        "say \"yes\"\t\r",
        std::string("\x83\n", 2),  // a lead byte without its trail byte
        std::string("\x7f\x01", 2),
        "",
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        const std::string line = FormatLogLine(42, "copydata", {LogNumber(1), LogText(text)});
        const auto entry = ParseLogLine(line);
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->ms, 42);
        EXPECT_EQ(entry->kind, "copydata");
        EXPECT_EQ(entry->fields, (std::vector<std::string>{"1", text}));
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
}

TEST(StandinLogFormat, EscapesAreReadableAndDoubleByteCharactersStayWhole) {
    EXPECT_EQ(EscapeLogText("quit\n\x1b"), "quit\\n\\x1b");
    EXPECT_EQ(EscapeLogText("a\\b\"c"), "a\\\\b\\\"c");
    EXPECT_EQ(EscapeLogText("ソ表"), "ソ表");
    EXPECT_EQ(EscapeLogText(std::string("\x83", 1)), "\\x83");
}

TEST(StandinLogFormat, BrokenLinesAreRefused) {
    for (const char* line : {"", "x prompt", "12", "12 ", "12 prompt \"open", "12 prompt \"a\\q\"",
                             "12 prompt \"a\\x4\"", "12 prompt  1", "12 prompt 1 "}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseLogLine(line).has_value());
    }
    EXPECT_FALSE(UnescapeLogText("ends in \\").has_value());
    const auto entry = ParseLogLine("7 null\r");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->kind, "null");
    EXPECT_TRUE(entry->fields.empty());
}

TEST(StandinLogFormat, ParseLogSkipsWhatItCannotRead) {
    const auto entries = standin::ParseLog("0 start\r\ngarbage\r\n5 prompt \"ｺﾏﾝﾄﾞ: \"\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].ms, 5);
    EXPECT_EQ(entries[1].Field(0), "ｺﾏﾝﾄﾞ: ");
    EXPECT_EQ(entries[1].Field(3), "");
}

using StandinLogTest = StandinTest;

TEST_F(StandinLogTest, SessionIsLoggedInOrderWithTimesFromItsStart) {
    clock.Sleep(1000);  // the log counts from the stand-in's start, not the clock's
    AddDrawing("D:\\bad.dwg", "FAIL\r\n");
    Start({"/cmddelay:50", "/startup", "/bogus"});
    ASSERT_TRUE(standin->PressButton("ｷｬﾝｾﾙ"));
    clock.Sleep(10);
    Type("FILEDIA\n0\n");
    windows.PostNull(standin->MainWindow());
    clock.Sleep(100);
    Type("open\n");
    clock.Sleep(50);
    Type("D:\\bad.dwg\n");
    clock.Sleep(50);
    ASSERT_TRUE(standin->PressButton("OK"));

    std::vector<std::string> seen;
    for (const auto& entry : standin->Log()) {
        if (entry.kind == "window") continue;
        std::string line = std::to_string(entry.ms) + " " + entry.kind;
        for (const auto& field : entry.fields) line += "|" + field;
        seen.push_back(line);
    }
    const std::vector<std::string> expected = {
        "0 start|AutoCAD LT 2000|halfwidth|1|0|50|0|0||4096",  // the first process id of the fake system
        "0 ignored-option|/bogus",
        "0 dialog|ｽﾀｰﾄｱｯﾌﾟ|OK|ｷｬﾝｾﾙ",
        "0 pressed|ｽﾀｰﾄｱｯﾌﾟ|ｷｬﾝｾﾙ",
        "0 closed|ｽﾀｰﾄｱｯﾌﾟ",
        "0 prompt|ｺﾏﾝﾄﾞ: ",
        "10 copydata|1|11|FILEDIA\n0\n",
        "10 busy|50|command",
        "10 null",
        "60 prompt|FILEDIA の新しい値を入力 <1>: ",
        "60 busy|50|command",
        "110 sysvar|FILEDIA|0",
        "110 prompt|ｺﾏﾝﾄﾞ: ",
        "110 copydata|1|6|open\n",
        "110 busy|50|command",
        "160 prompt|開く図面ﾌｧｲﾙ名を入力: ",
        "160 copydata|1|12|D:\\bad.dwg\n",
        "160 busy|50|command",
        "210 read|D:\\bad.dwg",
        "210 dialog|AutoCAD LT ﾒｯｾｰｼﾞ|OK",
        "210 pressed|AutoCAD LT ﾒｯｾｰｼﾞ|OK",
        "210 closed|AutoCAD LT ﾒｯｾｰｼﾞ",
        "210 prompt|ｺﾏﾝﾄﾞ: ",
    };
    EXPECT_EQ(seen, expected);
    // Typed() gives the clock's times.
    EXPECT_EQ(standin->Typed().front(), (TimedText{1010, "FILEDIA\n0\n"}));
}

TEST_F(StandinLogTest, WritesAndWindowsAreLogged) {
    AddDrawing("D:\\A.dwg");
    files.AddFolder("E:\\out");
    Start();
    Type("FILEDIA\n0\nopen\nD:\\A.dwg\nsaveas\ndxf\n\nE:\\out\\A\nquit\n");
    const auto writes = standin->Log("write");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].fields, (std::vector<std::string>{"E:\\out\\A.dxf", "DXF"}));
    EXPECT_EQ(standin->Log("window").size(), 7u);
    EXPECT_EQ(standin->Log().back().kind, "quit");
}

}  // namespace
}  // namespace tovimo::testing
