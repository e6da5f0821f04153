// Tovimo.exe's run from end to end: the window program started with a
// folder on its command line, its run button pressed from this process, the
// stand-in AutoCAD process typed into; the results, the list of drawings not
// converted, the end message, Cancel, another AutoCAD already running, and a
// close asked for during a run.
#include <algorithm>
#include <regex>

#include "window_run_fixture.h"
#include "standin_logs.h"

namespace tovimo::wine_tests {
namespace {

using WindowRunTest = WindowRunFixture;

TEST_F(WindowRunTest, TheRunButtonConvertsTheTreeAndShowsWhatWasNotConvertedThenTheEndMessage) {
    WriteIni();
    Start();
    Press(IdToDxfBitBtn);
    EXPECT_EQ(AnswerSkipForm(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_EQ(::SendMessageA(Control(IdProgressBar1), PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdToDxfBitBtn)) != FALSE; }, 5000));
    EXPECT_FALSE(::IsWindowEnabled(Control(IdCancelBitBtn)));
    EXPECT_TRUE(::IsWindowEnabled(Control(IdCloseBitBtn)));
    for (const char* name : {"A.dxf", "設備図\\C.dxf"}) {
        const auto result = ReadWholeFile(dwg + name);
        ASSERT_TRUE(result) << name;
        EXPECT_EQ(standin::ParseDrawing(*result).format, "DXF");
    }
    EXPECT_FALSE(FileExists(dwg + "B.dxf"));
    EXPECT_FALSE(log.OfKind("pressed").empty()) << log.Text();  // Pelkadu, at every run
    EXPECT_TRUE(log.WaitFor("quit"));
    CloseAndWait();
}

TEST_F(WindowRunTest, AUnicodeAutoCadIsTypedIntoInUtf16AndConvertsAsAnyOther) {
    WriteWholeFile(dwg + "ソケット表.dwg", Drawing());
    WriteIni("FileDia=1\r\nISaveBak=0\r\nProxyNotice=1\r\nAcadClose=1\r\n", "/unicode");
    Start();
    Press(IdToDxfBitBtn);
    EXPECT_EQ(AnswerSkipForm(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(AnswerMessageBox(), Finished);
    for (const char* name : {"A", "ソケット表", "設備図\\C"}) {
        SCOPED_TRACE(name);
        const auto result = ReadWholeFile(dwg + name + ".dxf");
        ASSERT_TRUE(result);
        EXPECT_EQ(standin::ParseDrawing(*result).format, "DXF");
        EXPECT_EQ(standin::ParseDrawing(*result).source, dwg + name + ".dwg");
    }
    EXPECT_FALSE(FileExists(dwg + "B.dxf"));
    EXPECT_TRUE(log.WaitFor("quit")) << log.Text();
    EXPECT_TRUE(log.Has("unicode"));
    EXPECT_TRUE(log.OfKind("bad-cbdata").empty()) << log.Text();
    std::vector<std::string> isavebak;
    for (const auto& entry : log.OfKind("sysvar"))
        if (entry.Field(0) == "ISAVEBAK") isavebak.push_back(entry.Field(1));
    EXPECT_EQ(isavebak, (std::vector<std::string>{"0", "0"}));
    EXPECT_TRUE(log.Has("sysvar", {"PROXYNOTICE", "1"}));
    CloseAndWait();
}

// "DXFで保存" over drawings that crash and hang AutoCAD: each restart is
// told in the title, and every other drawing is converted.
TEST_F(WindowRunTest, AutoCadThatCrashesOrHangsIsStartedAgainAndTheRunGoesOn) {
    WriteWholeFile(dwg + "B.dwg", Drawing("CRASH"));
    WriteWholeFile(dwg + "D.dwg", Drawing("HANG"));
    WriteIni("WaitLimit=3\r\n");
    Start();
    Press(IdToDxfBitBtn);
    std::vector<std::string> titles;
    WaitUntil([&] {
        const std::string title = TextOf(main);
        if (titles.empty() || titles.back() != title) titles.push_back(title);
        return title.find("(2回目)") != std::string::npos;
    }, RunLimitMs);
    std::vector<std::string> skipped = AnswerSkipForm();
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(skipped, (std::vector<std::string>{"B.dwg  (AutoCADが終了したため変換できませんでした)",
                                                 "D.dwg  (AutoCADが応答しません)"}));
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_NE(std::find(titles.begin(), titles.end(),
                        "Tovimo   Ver. 1.90 - AutoCADが終了したため、AutoCADを再起動します (1回目)"),
              titles.end()) << ::testing::PrintToString(titles);
    EXPECT_NE(std::find(titles.begin(), titles.end(),
                        "Tovimo   Ver. 1.90 - AutoCADが応答しないため、AutoCADを終了して再起動します (2回目)"),
              titles.end()) << ::testing::PrintToString(titles);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main) == "Tovimo   Ver. 1.90"; }, 5000));
    for (const char* name : {"A.dxf", "設備図\\C.dxf"}) EXPECT_TRUE(FileExists(dwg + name)) << name;
    for (const char* name : {"B.dxf", "D.dxf"}) EXPECT_FALSE(FileExists(dwg + name)) << name;
    EXPECT_EQ(log.OfKind("start").size(), 3u) << log.Text();
    EXPECT_TRUE(log.WaitFor("quit"));
    EXPECT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    CloseAndWait();
}

TEST_F(WindowRunTest, TheOutputFolderTakesTheResultsWithOrWithoutTheSubFolders) {
    const std::string out = temp.MakeFolder("出力");
    WriteIni("SaveSameDir=0\r\nSaveDir=" + out.substr(0, out.size() - 1) + "\r\nSaveChildDir=1\r\n");
    Start();
    Press(IdToDxfBitBtn);
    AnswerSkipForm();
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_TRUE(FileExists(out + "図面\\A.dxf"));
    EXPECT_TRUE(FileExists(out + "図面\\設備図\\C.dxf"));
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));

    // "変換後ﾌｫﾙﾀﾞ保持" off: every result directly in the output folder.
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdToDxfBitBtn)) != FALSE; }, 5000));
    ::SendMessageA(Control(IdSaveChildDirCheckBox), BM_CLICK, 0, 0);
    Press(IdToDxfBitBtn);
    AnswerSkipForm();
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_TRUE(FileExists(out + "A.dxf"));
    EXPECT_TRUE(FileExists(out + "C.dxf"));
    CloseAndWait();
    EXPECT_NE(ReadWholeFile(program + "tovimo.ini").value_or("").find("SaveChildDir=0"), std::string::npos);
}

TEST_F(WindowRunTest, CancelEndsTheRunAfterTheDrawingUnderWay) {
    for (const char* name : {"D.dwg", "E.dwg", "F.dwg"}) WriteWholeFile(dwg + name, Drawing());
    WriteIni("", "/cmddelay:150");
    Start();
    Press(IdToDxfBitBtn);
    ASSERT_TRUE(log.WaitFor("read", {}, RunLimitMs)) << log.Text();
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdCancelBitBtn)) != FALSE; }, 5000));
    Press(IdCancelBitBtn);
    // The drawing under way is finished; no other one is begun.
    const std::string text = AnswerMessageBox();
    EXPECT_EQ(text, Interrupted);
    EXPECT_EQ(log.OfKind("read").size(), 1u) << log.Text();
    EXPECT_EQ(::SendMessageA(Control(IdProgressBar1), PBM_GETPOS, 0, 0), 0);
    CloseAndWait();
}

TEST_F(WindowRunTest, AnotherAutoCadAlreadyRunningIsReportedAndNothingIsTyped) {
    WriteIni();
    StartedProgram other("\"" + BinFolder() + "standin-acad.exe\" /log:" + temp.Path() + "other.log");
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 1; }, 15000));
    // Its windows, not only its process: a loaded machine may show them late.
    ASSERT_TRUE(WaitUntil([&] { return VisibleWindow("StandinAcadFrame", other.ProcessId()) != nullptr; },
                          15000));
    Start();
    Press(IdToDxfBitBtn);
    EXPECT_EQ(AnswerMessageBox(), "起動中のAuto CADを終了させてください。");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdToDxfBitBtn)) != FALSE; }, 5000));
    EXPECT_FALSE(FileExists(dwg + "A.dxf"));
    CloseAndWait();
    ::PostMessageA(VisibleWindow("StandinAcadFrame", other.ProcessId()), WM_CLOSE, 0, 0);
    EXPECT_TRUE(other.WaitForExit(15000));
}

TEST_F(WindowRunTest, ACloseDuringARunWaitsForTheRunAndKeepsTheSettings) {
    for (const char* name : {"D.dwg", "E.dwg"}) WriteWholeFile(dwg + name, Drawing());
    WriteIni("", "/cmddelay:150");
    Start();
    Press(IdToDxfBitBtn);
    ASSERT_TRUE(log.WaitFor("read", {}, RunLimitMs)) << log.Text();
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    // The run ends as cancelled; the window closes only then.
    EXPECT_EQ(AnswerMessageBox(), Interrupted);
    EXPECT_EQ(tovimo->WaitForExit(15000), std::optional<DWORD>(0));
    const std::string ini = ReadWholeFile(program + "tovimo.ini").value_or("");
    EXPECT_NE(ini.find("AcadPath=" + BinFolder() + "standin-acad.exe"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MACRO5=#SAVEFILE"), std::string::npos) << ini;
    EXPECT_NE(ini.find("WaitLimit=30"), std::string::npos) << ini;
}

}  // namespace
}  // namespace tovimo::wine_tests

namespace tovimo::wine_tests {
namespace {

TEST_F(WindowRunTest, ThreeAutoCadsFromTheMenuConvertTheTreeWithTheCountInTheTitleAndALog) {
    // Twelve drawings, B.dwg and K.dwg failing to open.
    for (const char* name : {"D.dwg", "E.dwg", "F.dwg", "G.dwg", "H.dwg", "I.dwg", "J.dwg", "L.dwg"})
        WriteWholeFile(dwg + name, Drawing());
    WriteWholeFile(dwg + "K.dwg", Drawing("FAIL"));
    WriteIni("", "/opendelay:300 /savedelay:150 " + PerProcessLogSwitch(temp.Path(), "acad-"));
    Start();
    // Another process cannot read the menu: its items are chosen by their ids.
    ChooseMenuItem(IdAcadCountMenu1 + 2);
    ChooseMenuItem(IdRunLogMenu);
    Press(IdToDxfBitBtn);
    // The title counts the drawings during the run.
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main).find("/12") != std::string::npos; }, RunLimitMs))
        << TextOf(main);
    EXPECT_EQ(TextOf(main).rfind("Tovimo   Ver. 1.90 - ", 0), 0u) << TextOf(main);
    EXPECT_EQ(AnswerSkipForm(), (std::vector<std::string>{"B.dwg", "K.dwg"}));
    EXPECT_EQ(TextOf(main), "Tovimo   Ver. 1.90");
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_EQ(::SendMessageA(Control(IdProgressBar1), PBM_GETPOS, 0, 0), 0);
    for (const char* name : {"A", "D", "E", "F", "G", "H", "I", "J", "L", "設備図\\C"})
        EXPECT_TRUE(FileExists(dwg + name + ".dxf")) << name;
    EXPECT_FALSE(FileExists(dwg + "B.dxf"));
    EXPECT_FALSE(FileExists(dwg + "K.dxf"));
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    const auto logs = PerProcessLogs(temp.Path(), "acad-");
    EXPECT_EQ(logs.size(), 3u);
    std::size_t reads = 0;
    for (const auto& acad : logs) {
        reads += acad.OfKind("read").size();
        const auto presses = acad.OfKind("pressed");
        EXPECT_EQ(std::count_if(presses.begin(), presses.end(),
                                [](const auto& press) { return press.Field(0) == "ｽﾀｰﾄｱｯﾌﾟ"; }),
                  1)
            << acad.Text();
        EXPECT_EQ(acad.OfKind("quit").size(), 1u) << acad.Text();
    }
    EXPECT_EQ(reads, 12u);
    EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 0; }, 15000));

    // The run's log beside the settings file: a line per drawing, those that
    // failed to open with the message of AutoCAD's box.
    const std::vector<std::string> csvs = FilesIn(program + "log");
    ASSERT_EQ(csvs.size(), 1u);
    EXPECT_TRUE(std::regex_match(csvs[0], std::regex("[0-9]{8}-[0-9]{6}-dxf\\.csv"))) << csvs[0];
    const std::string csv = ReadWholeFile(program + "log\\" + csvs[0]).value_or("");
    const auto rows = SplitLines(csv);
    ASSERT_EQ(rows.size(), 13u) << csv;
    const std::string shown = reinterpret_cast<const char*>(u8".dwg は有効な図面ファイルではありません。");
    int failed = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        if (rows[r].find(reinterpret_cast<const char*>(u8",未変換,")) == std::string::npos) continue;
        ++failed;
        EXPECT_EQ(rows[r].substr(rows[r].size() - shown.size()), shown) << rows[r];
    }
    EXPECT_EQ(failed, 2);
    CloseAndWait();
    const std::string ini = ReadWholeFile(program + "tovimo.ini").value_or("");
    EXPECT_NE(ini.find("AcadCount=3"), std::string::npos) << ini;
    EXPECT_NE(ini.find("RunLog=1"), std::string::npos) << ini;
}

TEST_F(WindowRunTest, AnUpdateRunPassesOverAnUpToDateDrawingAndConvertsTheOthers) {
    // A's result written after A; B fails to open; C has no result. The
    // results go to a folder of their own, so the drop holds DWGs only.
    const std::string out = temp.MakeFolder("out");
    ::Sleep(1100);
    WriteWholeFile(out + "A.dxf", "an up-to-date result");
    WriteIni("Rewite=0\r\nSaveSameDir=0\r\nSaveChildDir=0\r\nSaveDir=" +
             out.substr(0, out.size() - 1) + "\r\n");
    Start();
    ChooseMenuItem(IdUpdateOnlyMenu);
    Press(IdToDxfBitBtn);
    EXPECT_EQ(AnswerSkipForm(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(AnswerMessageBox(), std::string(Finished) + "\n最新のため省略: 1");
    EXPECT_EQ(ReadWholeFile(out + "A.dxf"), "an up-to-date result");
    EXPECT_TRUE(FileExists(out + "C.dxf"));
    EXPECT_TRUE(log.WaitFor("quit"));
    EXPECT_TRUE(log.OfKind("read").size() == 2u) << log.Text();  // B and C only
    CloseAndWait();
    EXPECT_NE(ReadWholeFile(program + "tovimo.ini").value_or("").find("UpdateOnly=1"),
              std::string::npos);
}

}  // namespace
}  // namespace tovimo::wine_tests
