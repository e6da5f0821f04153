// A whole TovimoCmd run on the in-memory system, with the stand-in AutoCAD
// installed as "C:\Acad\acad.exe": exit codes with their messages, the
// progress lines, the drawings not converted, the settings file left as it
// was, nothing typed on a refusal, and Ctrl+C.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "console/cancel_relay.h"
#include "console/console_run.h"
#include "console/exit_code.h"
#include "drawings/text_order.h"
#include "cp932_text_encoding.h"
#include "fake_message_pump.h"
#include "fake_process_launcher.h"
#include "fake_window_system.h"
#include "memory_file_system.h"
#include "memory_files.h"
#include "memory_profile_file.h"
#include "memory_text_files.h"
#include "standin_drawing.h"
#include "virtual_clock.h"

namespace tovimo::testing {
namespace {

constexpr const char* Program = "C:\\Acad\\acad.exe";
constexpr const char* IniFile = "C:\\Tovimo\\tovimo.ini";
constexpr const char* Finished = "   作業が終わりました      ";
constexpr const char* Interrupted = "   作業を中断しました      ";

struct ConsoleLine {
    bool error = false;
    std::string text;
    std::size_t typedBefore = 0;  // texts typed into AutoCAD when the line was written
};

class RecordingConsole : public ConsoleOutput {
public:
    void Out(const std::string& line) override { lines.push_back({false, line, typed ? typed() : 0}); }
    void Err(const std::string& line) override { lines.push_back({true, line, typed ? typed() : 0}); }

    std::vector<std::string> Texts(bool error) const {
        std::vector<std::string> texts;
        for (const auto& line : lines)
            if (line.error == error) texts.push_back(line.text);
        return texts;
    }
    bool Has(bool error, const std::string& part) const {
        for (const auto& line : lines)
            if (line.error == error && line.text.find(part) != std::string::npos) return true;
        return false;
    }

    std::vector<ConsoleLine> lines;
    std::function<std::size_t()> typed;
};

class ConsoleRunTest : public ::testing::Test {
public:
    ConsoleRunTest() {
        processes.InstallStandin(windows, Program);
        files.AddFolder("C:\\Tovimo");
        console.typed = [this] { return windows.CopyDataTexts().size(); };
        mainForm = {{"AcadPath", Program}, {"CommandWait", "10"}, {"AcadClose", "1"}};
        toDxfMacro = {"open", "#FILE", "saveas", "DXF", "#ENTER", "#SAVEFILE"};
        toDwgMacro = {"open", "#FILE", "saveas", "#ENTER", "#SAVEFILE"};
    }

    // A stand-in drawing, optionally with a marker line (FAIL, ...).
    void AddDrawing(const std::string& path, const std::string& marker = "") {
        files.AddFile(path, std::string(standin::DrawingHeader) + "\r\nFORMAT DWG2000\r\n" +
                                (marker.empty() ? "" : marker + "\r\n"));
    }
    std::optional<standin::StandinDrawing> Result(const std::string& path) const {
        const auto content = files.ReadFile(path);
        if (!content) return std::nullopt;
        return standin::ParseDrawing(*content);
    }

    static std::string Section(const std::string& name, const std::vector<std::string>& macro) {
        std::string text = "[" + name + "]\r\nMACRO_LINES=" + std::to_string(macro.size()) + "\r\n";
        for (std::size_t i = 0; i < macro.size(); ++i)
            text += "MACRO" + std::to_string(i) + "=" + macro[i] + "\r\n";
        return text;
    }
    // The settings file, for the profile functions and as a file.
    void WriteIni(const std::string& path = IniFile) {
        std::string text = "[MainForm]\r\n";
        for (const auto& [key, value] : mainForm) text += key + "=" + value + "\r\n";
        text += Section("dwgtodxf", toDxfMacro) + Section("dxftodwg", toDwgMacro);
        profile.SetText(path, text);
        files.AddFile(path, text);
        iniText = text;
    }

    int Run(const std::vector<std::string>& args) {
        if (iniText.empty()) WriteIni();
        ConsoleRun run({windows, clock, pump, processes, encoding, profile, fileSystem, order, console, lists});
        current = &run;
        const int code = run.Run(args);
        current = nullptr;
        return code;
    }

    std::vector<std::string> Typed() const {
        std::vector<std::string> texts;
        for (const auto& t : windows.CopyDataTexts()) texts.push_back(t.text);
        return texts;
    }
    long CountTyped(const std::string& text) const {
        const auto texts = Typed();
        return std::count(texts.begin(), texts.end(), text);
    }
    // Nothing reached AutoCAD, nothing was started, the settings file is unchanged.
    void ExpectUntouched() const {
        EXPECT_TRUE(windows.Messages().empty());
        EXPECT_TRUE(processes.Calls().empty());
        EXPECT_EQ(profile.Text(IniFile), iniText);
        EXPECT_TRUE(profile.Writes().empty());
        EXPECT_TRUE(console.Texts(false).empty());
        EXPECT_FALSE(console.Texts(true).empty());
    }

    VirtualClock clock;
    MemoryFiles files;
    FakeWindowSystem windows{clock, files};
    FakeProcessLauncher processes{&clock};
    FakeMessagePump pump;
    Cp932TextEncoding encoding;
    MemoryProfileFile profile;
    MemoryFileSystem fileSystem{files};
    MemoryTextFiles lists{files};
    Cp932IgnoreCaseOrder order;
    RecordingConsole console;
    ConsoleRun* current = nullptr;

    std::map<std::string, std::string> mainForm;
    std::vector<std::string> toDxfMacro;
    std::vector<std::string> toDwgMacro;
    std::string iniText;
};

TEST_F(ConsoleRunTest, AFolderIsConvertedWithOneProgressLinePerDrawingAndExitCode0) {
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\ソ.DWG");
    AddDrawing("D:\\図面\\x.dxf");
    AddDrawing("D:\\図面\\sub\\C.dwg");  // a sub-folder: only with /s
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitAllConverted);

    EXPECT_EQ(Result("D:\\図面\\A.dxf")->format, "DXF");
    EXPECT_EQ(Result("D:\\図面\\ソ.dxf")->source, "D:\\図面\\ソ.DWG");
    EXPECT_FALSE(files.FileExists("D:\\図面\\sub\\C.dxf"));
    EXPECT_FALSE(files.FileExists("D:\\図面\\x.dwg"));
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"[1/2] D:\\図面\\A.dwg", "[2/2] D:\\図面\\ソ.DWG", Finished}));
    EXPECT_TRUE(console.Texts(true).empty());

    // Each progress line is written as its drawing starts: after the
    // previous drawing's texts, before its own.
    const auto typed = Typed();
    const auto firstTyped = [&](const std::string& text) {
        return static_cast<std::size_t>(std::find(typed.begin(), typed.end(), text) - typed.begin());
    };
    EXPECT_GT(console.lines[0].typedBefore, firstTyped("PROXYNOTICE\n"));
    EXPECT_LE(console.lines[0].typedBefore, firstTyped("D:\\図面\\A.dwg\n"));
    EXPECT_GT(console.lines[1].typedBefore, firstTyped("D:\\図面\\A\n"));
    EXPECT_LE(console.lines[1].typedBefore, firstTyped("D:\\図面\\ソ.DWG\n"));

    // The settings file with its macros is left byte for byte, and
    // AutoCAD was closed (AcadClose=1) with the end values restored.
    EXPECT_EQ(profile.Text(IniFile), iniText);
    EXPECT_TRUE(profile.Writes().empty());
    EXPECT_EQ(Typed().back(), "quit\n");
    EXPECT_TRUE(windows.LatestStandin()->Ended());
    // Pelkadu and tmp.dwg belong to the program's own folder.
    const auto pelkadu = processes.CallsOf(LaunchKind::WinExecHidden);
    ASSERT_EQ(pelkadu.size(), 1u);
    EXPECT_NE(pelkadu[0].find("C:\\Tovimo\\Pelkadu"), std::string::npos);
}

TEST_F(ConsoleRunTest, DxfToDwgTakesTheOtherMacroAndSubFoldersWithS) {
    mainForm["SaveTmpdwg"] = "1";
    AddDrawing("D:\\b\\1.dxf");
    AddDrawing("D:\\b\\deep\\2.dxf");
    AddDrawing("D:\\A\\3.dxf");
    AddDrawing("D:\\A\\4.dwg");
    // The given paths are taken sorted without regard to case.
    EXPECT_EQ(Run({"dwg", "/s", "D:\\b", "d:\\A"}), ExitAllConverted);
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"[1/3] d:\\A\\3.dxf", "[2/3] D:\\b\\1.dxf",
                                        "[3/3] D:\\b\\deep\\2.dxf", Finished}));
    EXPECT_EQ(Result("D:\\b\\deep\\2.dwg")->format, "DWG2000");
    EXPECT_EQ(CountTyped("DXF\n"), 0);
    EXPECT_EQ(CountTyped("C:\\Tovimo\\tmp.dwg\n"), 4);  // before each drawing and once after
}

TEST_F(ConsoleRunTest, OutputFolderWithSubFoldersIsMadeLevelByLevelBeforeAutoCadIsReached) {
    files.AddFolder("E:\\出力");
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\表\\B.dwg");
    std::size_t foldersWhenReached = 0;
    processes.onWinExecHidden = [&](const std::string&) { foldersWhenReached = fileSystem.CreateCalls().size(); };
    EXPECT_EQ(Run({"dxf", "/s", "/o", "E:\\出力", "/k", "D:\\図面"}), ExitAllConverted);
    EXPECT_EQ(fileSystem.CreateCalls(), (std::vector<std::string>{"E:\\出力\\図面", "E:\\出力\\図面\\表"}));
    EXPECT_EQ(foldersWhenReached, 2u);
    EXPECT_TRUE(Result("E:\\出力\\図面\\A.dxf"));
    EXPECT_EQ(Result("E:\\出力\\図面\\表\\B.dxf")->source, "D:\\図面\\表\\B.dwg");
    EXPECT_FALSE(files.FileExists("D:\\図面\\A.dxf"));
}

TEST_F(ConsoleRunTest, ADrawingWhoseResultAnEarlierOneTakesIsListedAndNeverTyped) {
    files.AddFolder("E:\\out");
    AddDrawing("D:\\a\\X.dwg");
    AddDrawing("D:\\b\\X.dwg");
    AddDrawing("D:\\c\\x.DWG");  // the same result in other letter case
    AddDrawing("D:\\c\\Y.dwg");
    const std::string taken = "  (同じ名前の変換後ファイルになる図面が先にあります)";
    for (const char* overwrite : {"/y", "/n"}) {
        SCOPED_TRACE(overwrite);
        files.RemoveFile("E:\\out\\X.dxf");
        files.RemoveFile("E:\\out\\Y.dxf");
        windows.ClearMessages();
        console.lines.clear();
        EXPECT_EQ(Run({"dxf", "/o", "E:\\out", "/-k", overwrite, "D:\\a", "D:\\b", "D:\\c"}),
                  ExitSomeSkipped);
        EXPECT_EQ(Result("E:\\out\\X.dxf")->source, "D:\\a\\X.dwg");  // the first one stays
        EXPECT_TRUE(Result("E:\\out\\Y.dxf"));
        EXPECT_EQ(CountTyped("D:\\b\\X.dwg\n") + CountTyped("D:\\c\\x.DWG\n"), 0);
        // Neither is asked about: no result existed before the run.
        EXPECT_EQ(CountTyped("y\n") + CountTyped("n\n"), 0);
        EXPECT_TRUE(console.Has(false, "D:\\b\\X.dwg" + taken));
        EXPECT_TRUE(console.Has(false, "D:\\c\\x.DWG" + taken));
        EXPECT_FALSE(console.Has(false, "] D:\\b\\X.dwg"));  // never started
    }
    // A result that existed before the run is still overwritten with /y,
    // by the first drawing only.
    files.RemoveFile("E:\\out\\X.dxf");
    files.AddFile("E:\\out\\X.dxf", "an earlier result");
    windows.ClearMessages();
    EXPECT_EQ(Run({"dxf", "/o", "E:\\out", "/-k", "/y", "D:\\b", "D:\\a"}), ExitSomeSkipped);
    EXPECT_EQ(Result("E:\\out\\X.dxf")->source, "D:\\a\\X.dwg");
    EXPECT_EQ(CountTyped("y\n"), 1);
}

TEST_F(ConsoleRunTest, ADrawingGivenTwiceIsConvertedOnce) {
    AddDrawing("D:\\図面\\A.dwg");
    EXPECT_EQ(Run({"dxf", "/f", "C:\\failed.txt", "D:\\図面\\A.dwg", "d:\\図面\\a.DWG",
                   "D:\\図面"}),
              ExitAllConverted);
    EXPECT_EQ(CountTyped("open\n"), 1);
    EXPECT_EQ(console.Texts(false), (std::vector<std::string>{"[1/1] D:\\図面\\A.dwg", Finished}));
    EXPECT_EQ(files.ReadFile("C:\\failed.txt"), "");
}

TEST_F(ConsoleRunTest, DrawingsNotConvertedAreListedWithTheirReasonsBeforeTheEndMessage) {
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B.dwg", "FAIL");
    AddDrawing("D:\\図面\\C.dwg");
    AddDrawing("D:\\図面\\C.dxf");
    EXPECT_EQ(Run({"dxf", "/n", "D:\\図面"}), ExitSomeSkipped);
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"[1/3] D:\\図面\\A.dwg", "[2/3] D:\\図面\\B.dwg",
                                        "[3/3] D:\\図面\\C.dwg",
                                        "これらの図面は、変換を行っていません (2 枚):",
                                        "  D:\\図面\\B.dwg  (AutoCADで開けませんでした)",
                                        "  D:\\図面\\C.dwg  (変換後のファイルが既にあります)", Finished}));
    EXPECT_TRUE(Result("D:\\図面\\A.dxf"));
    EXPECT_FALSE(files.FileExists("D:\\図面\\B.dxf"));
}

TEST_F(ConsoleRunTest, ResultsThatAutoCadCouldNotWriteAreListedWithExitCode1) {
    files.AddFolder("E:\\出力");
    files.MakeReadOnly("E:\\出力");
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B.dwg");
    EXPECT_EQ(Run({"dxf", "/o", "E:\\出力", "/-k", "D:\\図面"}), ExitSomeSkipped);
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"[1/2] D:\\図面\\A.dwg", "[2/2] D:\\図面\\B.dwg",
                                        "これらの図面は、変換を行っていません (2 枚):",
                                        "  D:\\図面\\A.dwg  (変換後のファイルが作られていません)",
                                        "  D:\\図面\\B.dwg  (変換後のファイルが作られていません)",
                                        Finished}));
}

TEST_F(ConsoleRunTest, WhatTheWalkCannotReachIsListedWithItsReasonAndGives1) {
    AddDrawing("D:\\図面\\A.dwg");
    files.AddFolderLink("D:\\図面\\loop", "D:\\図面");
    AddDrawing("D:\\図面\\鍵\\B.dwg");
    files.MakeUnreadable("D:\\図面\\鍵");
    AddDrawing("D:\\図面\\?.dwg");
    files.MarkNameLost("D:\\図面\\?.dwg");
    EXPECT_EQ(Run({"dxf", "/s", "D:\\図面"}), ExitSomeSkipped);
    const std::vector<std::string> unreachableList{
        "これらのフォルダや図面は、読み取れないため変換していません (2 件):",
        "  D:\\図面\\鍵  (フォルダを読めません)", "  D:\\図面\\?.dwg  (名前をShift-JISで表せません)"};
    std::vector<std::string> expected{"[1/1] D:\\図面\\A.dwg"};
    expected.insert(expected.end(), unreachableList.begin(), unreachableList.end());
    expected.push_back(Finished);
    EXPECT_EQ(console.Texts(false), expected);
    EXPECT_EQ(CountTyped("D:\\図面\\A.dwg\n"), 1);
    EXPECT_TRUE(Result("D:\\図面\\A.dxf"));

    // With drawings that the run skipped, both lists, the run's first.
    console.lines.clear();
    AddDrawing("D:\\図面\\C.dwg", "FAIL");
    EXPECT_EQ(Run({"dxf", "/s", "/y", "D:\\図面"}), ExitSomeSkipped);
    expected = {"[1/2] D:\\図面\\A.dwg", "[2/2] D:\\図面\\C.dwg",
                "これらの図面は、変換を行っていません (1 枚):",
                "  D:\\図面\\C.dwg  (AutoCADで開けませんでした)"};
    expected.insert(expected.end(), unreachableList.begin(), unreachableList.end());
    expected.push_back(Finished);
    EXPECT_EQ(console.Texts(false), expected);
}

TEST_F(ConsoleRunTest, OnlyUnreachableDrawingsAreARefusalThatNamesThem) {
    AddDrawing("D:\\図面\\鍵\\B.dwg");
    files.MakeUnreadable("D:\\図面\\鍵");
    EXPECT_EQ(Run({"dxf", "/s", "D:\\図面"}), ExitRefused);
    EXPECT_EQ(console.Texts(true),
              (std::vector<std::string>{"フォルダを読めません: D:\\図面\\鍵",
                                        "変換する DWG 図面が見つかりません。"}));
    ExpectUntouched();
}

TEST_F(ConsoleRunTest, TheListOfDrawingsNotConvertedRunsOnlyThoseAgain) {
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B.dwg", "FAIL");
    AddDrawing("D:\\図面\\表\\C.dwg", "FAIL");
    AddDrawing("D:\\図面\\表\\D.dwg");
    fileSystem.CurrentDirectory = "D:\\";
    // Relative paths are written whole, in the run's order, CR LF each.
    EXPECT_EQ(Run({"dxf", "/s", "/f", "C:\\Tovimo\\failed.txt", "図面"}), ExitSomeSkipped);
    EXPECT_EQ(files.ReadFile("C:\\Tovimo\\failed.txt"),
              "D:\\図面\\B.dwg\r\nD:\\図面\\表\\C.dwg\r\n");

    // Mended, run again from the list that the run itself replaces.
    AddDrawing("D:\\図面\\B.dwg");
    AddDrawing("D:\\図面\\表\\C.dwg");
    console.lines.clear();
    EXPECT_EQ(Run({"dxf", "/f", "C:\\Tovimo\\failed.txt", "@C:\\Tovimo\\failed.txt"}),
              ExitAllConverted);
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"[1/2] D:\\図面\\B.dwg", "[2/2] D:\\図面\\表\\C.dwg", Finished}));
    EXPECT_EQ(files.ReadFile("C:\\Tovimo\\failed.txt"), "");
    EXPECT_TRUE(Result("D:\\図面\\表\\C.dxf"));
}

TEST_F(ConsoleRunTest, ListedPathsJoinTheGivenOnesAndEmptyLinesAreSkipped) {
    AddDrawing("D:\\a\\1.dwg");
    AddDrawing("D:\\b\\2.dwg");
    AddDrawing("D:\\c\\3.dwg");
    files.AddFile("C:\\list.txt", "D:\\c\\3.dwg\n\r\nD:\\a\\1.dwg");  // LF only, no last break
    EXPECT_EQ(Run({"dxf", "@C:\\list.txt", "D:\\b\\2.dwg"}), ExitAllConverted);
    EXPECT_EQ(CountTyped("D:\\a\\1.dwg\n") + CountTyped("D:\\b\\2.dwg\n") + CountTyped("D:\\c\\3.dwg\n"), 3);
    // A listed path that is gone refuses the run like a given one.
    console.lines.clear();
    files.AddFile("C:\\list.txt", "D:\\gone.dwg\r\n");
    EXPECT_EQ(Run({"dxf", "@C:\\list.txt"}), ExitRefused);
    EXPECT_TRUE(console.Has(true, "D:\\gone.dwg"));
}

TEST_F(ConsoleRunTest, TheListHoldsEveryDrawingNotReachedWhenTheRunEndsEarly) {
    for (const char* name : {"A", "B", "C"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    pump.onRun = [&](int) {
        const auto typed = windows.CopyDataTexts();
        if (current && !typed.empty() && typed.back().text == "D:\\図面\\A.dwg\n") current->RequestCancel();
    };
    EXPECT_EQ(Run({"dxf", "/f", "C:\\f.txt", "D:\\図面"}), ExitCanceled);
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "D:\\図面\\B.dwg\r\nD:\\図面\\C.dwg\r\n");

    // AutoCAD never started: nothing was converted. The list is written
    // before AutoCAD is reached, so a run that dies leaves all of them.
    pump.onRun = nullptr;
    mainForm["AcadPath"] = "C:\\Acad\\missing.exe";
    WriteIni();
    bool listedBeforeStart = false;
    processes.onWinExecHidden = [&](const std::string&) {
        listedBeforeStart = files.ReadFile("C:\\f.txt") ==
                            "D:\\図面\\A.dwg\r\nD:\\図面\\B.dwg\r\nD:\\図面\\C.dwg\r\n";
    };
    files.AddFile("C:\\f.txt", "old");
    EXPECT_EQ(Run({"dxf", "/f", "C:\\f.txt", "D:\\図面"}), ExitAcadStartFailed);
    EXPECT_TRUE(listedBeforeStart);
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "D:\\図面\\A.dwg\r\nD:\\図面\\B.dwg\r\nD:\\図面\\C.dwg\r\n");
}

TEST_F(ConsoleRunTest, AutoCadThatStopsAnsweringEndsTheRunWithExitCode1AndTheDrawingsListed) {
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B.dwg", "HANG");
    AddDrawing("D:\\図面\\C.dwg");
    mainForm["WaitLimit"] = "5";
    mainForm["RestartLimit"] = "0";  // the run ends at the first loss
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitSomeSkipped);
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"[1/3] D:\\図面\\A.dwg", "[2/3] D:\\図面\\B.dwg",
                                        "これらの図面は、変換を行っていません (2 枚):",
                                        "  D:\\図面\\B.dwg  (AutoCADが応答しません)",
                                        "  D:\\図面\\C.dwg  (AutoCADが応答しません)", Interrupted}));
    EXPECT_EQ(console.Texts(true),
              std::vector<std::string>{"AutoCADが応答しないため、作業を最後まで行えませんでした。"});
    EXPECT_EQ(Typed().back(), "D:\\図面\\B.dwg\n");  // AcadClose is on, but no quit
}

TEST_F(ConsoleRunTest, ARunThatRestartedAutoCadEndsAsAnyRunWithOneLinePerRestart) {
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B.dwg", "CRASH");
    AddDrawing("D:\\図面\\C.dwg");
    AddDrawing("D:\\図面\\D.dwg", "HANG");
    AddDrawing("D:\\図面\\E.dwg");
    mainForm["WaitLimit"] = "5";
    // A release without SDI, each time it is started: said once, and the run goes on.
    mainForm["AcadArg"] = "/sdi:none";
    EXPECT_EQ(Run({"dxf", "/f", "C:\\f.txt", "D:\\図面"}), ExitSomeSkipped);
    EXPECT_EQ(console.Texts(true),
              (std::vector<std::string>{"AutoCADを1図面ずつにできませんでした (SDI)",
                                        "AutoCADが終了したため、AutoCADを再起動します (1回目)",
                                        "AutoCADが応答しないため、AutoCADを終了して再起動します (2回目)"}));
    const auto out = console.Texts(false);
    ASSERT_GE(out.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(out.end() - 4, out.end()),
              (std::vector<std::string>{"これらの図面は、変換を行っていません (2 枚):",
                                        "  D:\\図面\\B.dwg  (AutoCADが終了したため変換できませんでした)",
                                        "  D:\\図面\\D.dwg  (AutoCADが応答しません)", Finished}));
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "D:\\図面\\B.dwg\r\nD:\\図面\\D.dwg\r\n");
    EXPECT_EQ(windows.Standins().size(), 3u);
}

TEST_F(ConsoleRunTest, AnUpdateRunConvertsOnlyDrawingsWhoseResultIsMissingOrOlder) {
    // A: its result is newer; B: its result is older than the drawing; C: none.
    AddDrawing("D:\\図面\\B.dxf");
    clock.Sleep(1000);
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B.dwg");
    AddDrawing("D:\\図面\\C.dwg");
    clock.Sleep(1000);
    AddDrawing("D:\\図面\\A.dxf", "SOURCE kept");
    EXPECT_EQ(Run({"dxf", "/u", "/f", "C:\\f.txt", "D:\\図面"}), ExitAllConverted);
    EXPECT_EQ(CountTyped("D:\\図面\\A.dwg\n"), 0);
    EXPECT_EQ(Result("D:\\図面\\A.dxf")->source, "kept");  // left as it was
    EXPECT_EQ(Result("D:\\図面\\B.dxf")->source, "D:\\図面\\B.dwg");  // the older one overwritten
    EXPECT_EQ(Result("D:\\図面\\C.dxf")->source, "D:\\図面\\C.dwg");
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"最新のため省略: 1", "[1/2] D:\\図面\\B.dwg",
                                        "[2/2] D:\\図面\\C.dwg", Finished}));
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "");

    // Everything up to date now: AutoCAD is not even started.
    const std::size_t started = windows.Standins().size();
    console.lines.clear();
    EXPECT_EQ(Run({"dxf", "/u", "D:\\図面"}), ExitAllConverted);
    EXPECT_EQ(windows.Standins().size(), started);
    EXPECT_EQ(console.Texts(false), std::vector<std::string>{"最新のため省略: 3"});
}

TEST_F(ConsoleRunTest, UpdateIsRefusedWithOverwriteSwitchesOrWithoutATargetInTheMacro) {
    AddDrawing("D:\\図面\\A.dwg");
    for (const char* other : {"/y", "/n"}) {
        EXPECT_EQ(Run({"dxf", "/u", other, "D:\\図面"}), ExitRefused) << other;
        EXPECT_TRUE(console.Has(true, "/u と /y、/n")) << other;
    }
    toDxfMacro = {"open", "#FILE", "saveas", "DXF", "#ENTER", "D:\\out\\x"};
    WriteIni();
    console.lines.clear();
    EXPECT_EQ(Run({"dxf", "/u", "D:\\図面"}), ExitRefused);
    EXPECT_TRUE(console.Has(true, "#SAVEFILE"));
    ExpectUntouched();
}

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(ConsoleRunTest, TheRunLogHasALinePerDrawingAndThoseNeverReachedGetTheEndsReason) {
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B,1.dwg", "FAIL");
    AddDrawing("D:\\図面\\C.dwg", "HANG");
    AddDrawing("D:\\図面\\D.dwg");
    mainForm["WaitLimit"] = "5";
    mainForm["RestartLimit"] = "0";
    EXPECT_EQ(Run({"dxf", "/log", "C:\\run.csv", "D:\\図面"}), ExitSomeSkipped);
    const std::string log = files.ReadFile("C:\\run.csv").value_or("");
    const std::vector<std::string> lines = [&] {
        std::vector<std::string> split;
        for (std::size_t at = 0; at < log.size();) {
            const std::size_t end = log.find("\r\n", at);
            split.push_back(log.substr(at, end - at));
            at = end == std::string::npos ? log.size() : end + 2;
        }
        return split;
    }();
    ASSERT_EQ(lines.size(), 5u) << log;
    EXPECT_EQ(lines[0], Utf8(u8"\uFEFF番号,図面,変換後,結果,理由,秒"));
    EXPECT_EQ(lines[1].substr(0, lines[1].rfind(',')),
              Utf8(u8"1,D:\\図面\\A.dwg,D:\\図面\\A.dxf,変換済,"));
    EXPECT_EQ(lines[2].substr(0, lines[2].rfind(',')),
              Utf8(u8"2,\"D:\\図面\\B,1.dwg\",\"D:\\図面\\B,1.dxf\",未変換,AutoCADで開けませんでした"));
    // C ran into the send limit; its seconds tell.
    EXPECT_EQ(lines[3], Utf8(u8"3,D:\\図面\\C.dwg,D:\\図面\\C.dxf,未変換,AutoCADが応答しません,5.") +
                            lines[3].substr(lines[3].size() - 1));
    EXPECT_EQ(lines[4], Utf8(u8"4,D:\\図面\\D.dwg,D:\\図面\\D.dxf,未変換,AutoCADが応答しません,0.0"));
}

TEST_F(ConsoleRunTest, ARunLogThatCannotBeMadeStopsTheRunBeforeAutoCadStarts) {
    AddDrawing("D:\\図面\\A.dwg");
    EXPECT_EQ(Run({"dxf", "/log", "E:\\なし\\run.csv", "D:\\図面"}), ExitRefused);
    EXPECT_TRUE(console.Has(true, "E:\\なし\\run.csv"));
    EXPECT_TRUE(processes.Calls().empty());
}

TEST_F(ConsoleRunTest, CtrlCWhileASendToAHungAutoCadWaitsIsNotLost) {
    AddDrawing("D:\\図面\\A.dwg", "HANG");
    AddDrawing("D:\\図面\\B.dwg");
    mainForm["WaitLimit"] = "5";
    mainForm["RestartLimit"] = "0";  // the run ends at the first loss
    // The console's handler runs on a thread of its own while the send waits.
    bool scheduled = false;
    pump.onRun = [&](int) {
        const auto typed = windows.CopyDataTexts();
        if (scheduled || typed.empty() || typed.back().text != "open\n") return;
        scheduled = true;
        clock.ScheduleAfter(1000, [&] { current->RequestCancel(); });
    };
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitCanceled);
    EXPECT_TRUE(console.Has(false, "中断します"));
    EXPECT_TRUE(console.Has(false, "  D:\\図面\\B.dwg  (AutoCADが応答しません)"));
    EXPECT_EQ(CountTyped("D:\\図面\\B.dwg\n"), 0);
}

TEST_F(ConsoleRunTest, AutoCadThatCannotBeStartedGives3AndAnotherAutoCadGives4) {
    AddDrawing("D:\\図面\\A.dwg");
    mainForm["AcadPath"] = "C:\\Acad\\missing.exe";
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitAcadStartFailed);
    EXPECT_EQ(console.Texts(true), std::vector<std::string>{"Auto CADを起動できません"});
    EXPECT_TRUE(windows.Messages().empty());

    // An AutoCAD the user started: nothing is typed into it.
    console.lines.clear();
    mainForm["AcadPath"] = Program;
    WriteIni();
    FakeStandin& users = windows.StartStandin(std::vector<std::string>{});
    clock.Sleep(100);
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitOtherAcad);
    EXPECT_EQ(console.Texts(true), std::vector<std::string>{"起動中のAuto CADを終了させてください。"});
    EXPECT_TRUE(users.Typed().empty());
    EXPECT_EQ(windows.Standins().size(), 1u);
    EXPECT_TRUE(console.Texts(false).empty());
}

TEST_F(ConsoleRunTest, CtrlCFinishesTheDrawingUnderWayAndStillRestoresTheVariables) {
    for (const char* name : {"A", "B", "C"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    mainForm["FileDia"] = "1";
    mainForm["ISaveBak"] = "0";
    mainForm["SaveTmpdwg"] = "1";
    pump.onRun = [&](int) {
        const auto typed = windows.CopyDataTexts();
        if (current && !typed.empty() && typed.back().text == "D:\\図面\\A.dwg\n") current->RequestCancel();
    };
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitCanceled);
    EXPECT_TRUE(Result("D:\\図面\\A.dxf"));  // finished
    EXPECT_EQ(CountTyped("D:\\図面\\B.dwg\n"), 0);
    const auto typed = Typed();
    // The closing tmp.dwg save, the restore with the configured values, SDI
    // as it was, quit.
    const std::vector<std::string> closing{"saveas\n", "\n", "C:\\Tovimo\\tmp.dwg\n",
                                           "FILEDIA\n", "1\n", "ISAVEBAK\n", "0\n",
                                           "PROXYNOTICE\n", "1\n", "SDI\n", "0\n", "quit\n"};
    ASSERT_GE(typed.size(), closing.size());
    EXPECT_EQ(std::vector<std::string>(typed.end() - closing.size(), typed.end()), closing);
    EXPECT_EQ(windows.LatestStandin()->Model().SysVar("ISAVEBAK"), "0");
    const auto out = console.Texts(false);
    EXPECT_EQ(std::count_if(out.begin(), out.end(),
                            [](const std::string& l) { return l.rfind("[", 0) == 0; }), 1);
    EXPECT_EQ(out.back(), Interrupted);
}

TEST_F(ConsoleRunTest, CtrlCBeforeAutoCadIsReachedIsNotLost) {
    AddDrawing("D:\\図面\\A.dwg");
    // While AutoCAD starts: the run clears its flag once AutoCAD is there,
    // but the request stands; no drawing is converted, the variables are
    // still set back.
    windows.onStandinStarted = [&](FakeStandin&) { current->RequestCancel(); };
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitCanceled);
    EXPECT_EQ(CountTyped("D:\\図面\\A.dwg\n"), 0);
    EXPECT_EQ(CountTyped("PROXYNOTICE\n"), 2);
    EXPECT_EQ(Typed().back(), "quit\n");
    EXPECT_EQ(console.Texts(false).back(), Interrupted);
}

TEST_F(ConsoleRunTest, CtrlCBeforeTheRunStartsReachesNoAutoCad) {
    AddDrawing("D:\\図面\\A.dwg");
    WriteIni();
    ConsoleRun run({windows, clock, pump, processes, encoding, profile, fileSystem, order, console, lists});
    run.RequestCancel();
    EXPECT_EQ(run.Run({"dxf", "D:\\図面"}), ExitCanceled);
    EXPECT_TRUE(processes.Calls().empty());
    EXPECT_EQ(console.Texts(false), std::vector<std::string>{Interrupted});
}

TEST_F(ConsoleRunTest, AListThatCannotBeWrittenAtTheEndTurnsExitCode0Into1Only) {
    AddDrawing("D:\\図面\\A.dwg");
    lists.failFromWrite = 1;  // the list of all drawings at the start is written
    EXPECT_EQ(Run({"dxf", "/f", "C:\\f.txt", "D:\\図面"}), ExitSomeSkipped);
    EXPECT_TRUE(console.Has(true, "変換されなかった図面の一覧ファイルに書き込めません: C:\\f.txt"));
    // The list of the start stays: nothing counts as converted.
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "D:\\図面\\A.dwg\r\n");
    EXPECT_EQ(CountTyped("D:\\図面\\A.dwg\n"), 1);

    // Other exit codes stay as they are.
    lists.writes.clear();
    pump.onRun = [&](int) {
        const auto typed = windows.CopyDataTexts();
        if (current && !typed.empty() && typed.back().text == "D:\\図面\\A.dwg\n") current->RequestCancel();
    };
    EXPECT_EQ(Run({"dxf", "/f", "C:\\f.txt", "D:\\図面"}), ExitCanceled);
}

// The console's control handler runs on a thread of its own, at any time.
TEST_F(ConsoleRunTest, CtrlCReachesTheRunOnlyWhileItIsAttached) {
    AddDrawing("D:\\図面\\A.dwg");
    WriteIni();
    CancelRelay relay;
    {
        ConsoleRun run({windows, clock, pump, processes, encoding, profile, fileSystem, order, console, lists});
        relay.Attach(run);
        relay.Detach();
        EXPECT_TRUE(relay.Press());  // taken, but no run hears it
        EXPECT_EQ(run.Run({"dxf", "D:\\図面"}), ExitAllConverted);
    }
    // The run is gone: a late press touches nothing, and a second one is
    // left to the system.
    EXPECT_FALSE(relay.Press());

    CancelRelay attached;
    auto run = std::make_unique<ConsoleRun>(
        ConsolePlatform{windows, clock, pump, processes, encoding, profile, fileSystem, order, console, lists});
    attached.Attach(*run);
    std::thread handler([&] { EXPECT_TRUE(attached.Press()); });
    handler.join();
    EXPECT_EQ(run->Run({"dxf", "D:\\図面"}), ExitCanceled);
    attached.Detach();
    run.reset();
    std::thread late([&] { EXPECT_FALSE(attached.Press()); });
    late.join();
}

struct Refusal {
    const char* name;
    void (*setUp)(ConsoleRunTest&);
    std::vector<std::string> args;
    const char* message;  // a part of the error written
};

void PrintTo(const Refusal& refusal, std::ostream* os) { *os << refusal.name; }

class ConsoleRefusal : public ConsoleRunTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ConsoleRefusal, Gives5WithAMessageAndTouchesNothing) {
    const Refusal& c = GetParam();
    AddDrawing("D:\\図面\\A.dwg");
    if (c.setUp) c.setUp(*this);
    WriteIni();
    EXPECT_EQ(Run(c.args), ExitRefused);
    EXPECT_TRUE(windows.Messages().empty());
    EXPECT_TRUE(processes.Calls().empty());
    EXPECT_EQ(profile.Text(IniFile), iniText);
    EXPECT_TRUE(profile.Writes().empty());
    EXPECT_TRUE(console.Texts(false).empty());
    EXPECT_TRUE(console.Has(true, c.message)) << ::testing::PrintToString(console.Texts(true));
}

INSTANTIATE_TEST_SUITE_P(
    ConsoleRunTest, ConsoleRefusal,
    ::testing::Values(
        Refusal{"BadArguments", nullptr, {"dxf", "/q", "D:\\図面"}, "/q"},
        Refusal{"NoSettingsFile", nullptr, {"dxf", "/ini", "C:\\none.ini", "D:\\図面"}, "C:\\none.ini"},
        Refusal{"NonIntegerWait", [](ConsoleRunTest& t) { t.mainForm["CommandWait"] = "10ms"; },
                {"dxf", "D:\\図面"}, "CommandWait"},
        Refusal{"NegativeStartWait", [](ConsoleRunTest& t) { t.mainForm["StartWait"] = "-1"; },
                {"dxf", "D:\\図面"}, "StartWait"},
        Refusal{"EndValueNoInteger", [](ConsoleRunTest& t) { t.mainForm["FileDia"] = "x"; },
                {"dxf", "D:\\図面"}, "FileDia"},
        Refusal{"WaitLimitZero", [](ConsoleRunTest& t) { t.mainForm["WaitLimit"] = "0"; },
                {"dxf", "D:\\図面"}, "WaitLimit"},
        Refusal{"SingleDocumentTwo", [](ConsoleRunTest& t) { t.mainForm["SingleDocument"] = "2"; },
                {"dxf", "D:\\図面"}, "SingleDocument"},
        Refusal{"AcadCountNine", [](ConsoleRunTest& t) { t.mainForm["AcadCount"] = "9"; },
                {"dxf", "D:\\図面"}, "AcadCount"},
        Refusal{"AcadCountNoInteger", [](ConsoleRunTest& t) { t.mainForm["AcadCount"] = "two"; },
                {"dxf", "D:\\図面"}, "AcadCount"},
        Refusal{"JZero", nullptr, {"dxf", "/j", "0", "D:\\図面"}, "AcadCount"},
        Refusal{"JNoNumber", nullptr, {"dxf", "/j", "x", "D:\\図面"}, "/j"},
        Refusal{"JWithoutValue", nullptr, {"dxf", "D:\\図面", "/j"}, "/j"},
        Refusal{"SeveralWithoutAcadPath", [](ConsoleRunTest& t) { t.mainForm["AcadPath"] = ""; },
                {"dxf", "/j", "2", "D:\\図面"}, "AcadPath"},
        Refusal{"EmptyMacro", [](ConsoleRunTest& t) { t.toDwgMacro.clear(); }, {"dwg", "D:\\図面"},
                "dxftodwg"},
        Refusal{"NoDrawingOfTheKind", nullptr, {"dwg", "D:\\図面"}, "DXF"},
        Refusal{"UnreadableList", nullptr, {"dxf", "D:\\図面", "@C:\\none.txt"}, "C:\\none.txt"},
        Refusal{"OnlyEmptyLists", [](ConsoleRunTest& t) { t.files.AddFile("C:\\empty.txt", "\r\n \r\n"); },
                {"dxf", "@C:\\empty.txt"}, "C:\\empty.txt"},
        Refusal{"ListCannotBeWritten", nullptr, {"dxf", "/f", "E:\\なし\\f.txt", "D:\\図面"},
                "E:\\なし\\f.txt"},
        Refusal{"MissingPath", nullptr, {"dxf", "D:\\図面", "D:\\なし"}, "D:\\なし"},
        Refusal{"MissingOutputFolder", nullptr, {"dxf", "/o", "E:\\なし", "D:\\図面"}, "E:\\なし"},
        Refusal{"NoOutputFolderChosen", [](ConsoleRunTest& t) { t.mainForm["SaveSameDir"] = "0"; },
                {"dxf", "D:\\図面"}, "変換後のフォルダを指定して下さい。"},
        Refusal{"TargetFolderCannotBeMade",
                [](ConsoleRunTest& t) {
                    t.files.AddFolder("E:\\ro");
                    t.files.MakeReadOnly("E:\\ro");
                },
                {"dxf", "/o", "E:\\ro", "/k", "D:\\図面"}, "E:\\ro\\図面"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tovimo::testing
