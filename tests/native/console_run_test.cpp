// A whole TovimoCmd run on the in-memory system, with the stand-in AutoCAD
// installed as "C:\Acad\acad.exe": exit codes with their messages, the
// progress lines, the drawings not converted, the settings file left as it
// was, nothing typed on a refusal, and Ctrl+C.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <thread>

#include "console/cancel_relay.h"
#include "console/console_run.h"
#include "console/exit_code.h"
#include "console/run_log.h"
#include "console/run_shard.h"
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

    // Calls action once, after the first command text typed that is text.
    // An action may ask for more.
    void OnceTyped(const std::string& text, std::function<void()> action) {
        onceTyped.push_back({text, std::move(action)});
        if (onceTypedWatched) return;
        onceTypedWatched = true;
        pump.onRun = [this](int) {
            const auto typed = windows.CopyDataTexts();
            for (std::size_t i = 0; !typed.empty() && i < onceTyped.size(); ++i) {
                if (onceTyped[i].first != typed.back().text) continue;
                const auto action = std::move(onceTyped[i].second);
                onceTyped.erase(onceTyped.begin() + static_cast<std::ptrdiff_t>(i));
                action();
                return;
            }
        };
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
    std::vector<std::pair<std::string, std::function<void()>>> onceTyped;
    bool onceTypedWatched = false;

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
    const auto pelkadu = processes.CallsOf(LaunchKind::StartHidden);
    ASSERT_EQ(pelkadu.size(), 1u);
    EXPECT_NE(pelkadu[0].find("C:\\Tovimo\\Pelkadu"), std::string::npos);
    // Neither AutoCAD nor Pelkadu's interpreter shares the console: a
    // Ctrl+C would end them too.
    ASSERT_EQ(processes.Calls().size(), 2u);
    for (const LaunchCall& call : processes.Calls()) EXPECT_EQ(call.creationFlags, CreateNoWindow | CreateNewProcessGroup);
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
    processes.onStartHidden = [&](const std::string&) { foldersWhenReached = fileSystem.CreateCalls().size(); };
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
                                        // What AutoCAD showed, under each: its message box,
                                        // its question.
                                        "      D:\\図面\\B.dwg は有効な図面ファイルではありません。",
                                        "  D:\\図面\\C.dwg  (変換後のファイルが既にあります)",
                                        "      上書きしますか? <N> ", Finished}));
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
                                        "      ｺﾏﾝﾄﾞ: ",
                                        "  D:\\図面\\B.dwg  (変換後のファイルが作られていません)",
                                        "      ｺﾏﾝﾄﾞ: ", Finished}));
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
                "  D:\\図面\\C.dwg  (AutoCADで開けませんでした)",
                "      D:\\図面\\C.dwg は有効な図面ファイルではありません。"};
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
    processes.onStartHidden = [&](const std::string&) {
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
                                        "      開く図面ﾌｧｲﾙ名を入力: ",  // read before it hung
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
    ASSERT_GE(out.size(), 5u);
    // Nothing under the crash: what its AutoCAD showed last tells nothing.
    EXPECT_EQ(std::vector<std::string>(out.end() - 5, out.end()),
              (std::vector<std::string>{"これらの図面は、変換を行っていません (2 枚):",
                                        "  D:\\図面\\B.dwg  (AutoCADが終了したため変換できませんでした)",
                                        "  D:\\図面\\D.dwg  (AutoCADが応答しません)",
                                        "      開く図面ﾌｧｲﾙ名を入力: ", Finished}));
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "D:\\図面\\B.dwg\r\nD:\\図面\\D.dwg\r\n");
    EXPECT_EQ(windows.Standins().size(), 3u);
}

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(ConsoleRunTest, AnUpdateRunConvertsEveryDrawingWhoseResultIsNotAtTheDrawingsTime) {
    // A: its result at the drawing's time, as a run leaves it (within a FAT
    // step); B: older than its drawing; C: none; D: newer, made some other
    // way (cut short, or by a run that set no time); E: empty.
    AddDrawing("D:\\図面\\B.dxf");
    clock.Sleep(5000);
    for (const char* name : {"A", "B", "C", "D", "E"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    files.AddFile("D:\\図面\\E.dxf", "");
    clock.Sleep(1500);
    AddDrawing("D:\\図面\\A.dxf", "SOURCE kept");
    clock.Sleep(5000);
    AddDrawing("D:\\図面\\D.dxf", "SOURCE kept");
    EXPECT_EQ(Run({"dxf", "/u", "/f", "C:\\f.txt", "/log", "C:\\run.csv", "D:\\図面"}),
              ExitAllConverted);
    EXPECT_EQ(CountTyped("D:\\図面\\A.dwg\n"), 0);
    EXPECT_EQ(Result("D:\\図面\\A.dxf")->source, "kept");  // left as it was
    for (const char* name : {"B", "C", "D", "E"})
        EXPECT_EQ(Result(std::string("D:\\図面\\") + name + ".dxf")->source,
                  std::string("D:\\図面\\") + name + ".dwg");
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"最新のため省略: 1", "[1/4] D:\\図面\\B.dwg",
                                        "[2/4] D:\\図面\\C.dwg", "[3/4] D:\\図面\\D.dwg",
                                        "[4/4] D:\\図面\\E.dwg", Finished}));
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "");
    const auto log = files.Lines("C:\\run.csv");
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[1], Utf8(u8"1,D:\\図面\\A.dwg,D:\\図面\\A.dxf,省略,最新のため省略,0.0,"));

    // Every result now at its drawing's time: AutoCAD is not even started.
    const std::size_t started = windows.Standins().size();
    console.lines.clear();
    EXPECT_EQ(Run({"dxf", "/u", "D:\\図面"}), ExitAllConverted);
    EXPECT_EQ(windows.Standins().size(), started);
    EXPECT_EQ(console.Texts(false), std::vector<std::string>{"最新のため省略: 5"});
}

TEST_F(ConsoleRunTest, AnUpdateRunListsADrawingWhoseResultAnEarlierOneTakesWhateverTheDates) {
    files.AddFolder("E:\\OUT");
    AddDrawing("D:\\2023\\平面図.dwg");
    AddDrawing("D:\\2024\\平面図.dwg");
    std::vector<std::string> args{"dxf", "/o", "E:\\OUT", "/-k", "/f", "C:\\f.txt",
                                  "/log", "C:\\run.csv", "D:\\2023", "D:\\2024"};
    const std::string taken = "  D:\\2024\\平面図.dwg  (同じ名前の変換後ファイルになる図面が先にあります)";
    EXPECT_EQ(Run(args), ExitSomeSkipped);
    EXPECT_EQ(Result("E:\\OUT\\平面図.dxf")->source, "D:\\2023\\平面図.dwg");

    // The same with /u. The first's result is up to date, the second's is
    // the first's: it is still listed, and nothing is left for AutoCAD.
    args.insert(args.begin() + 1, "/u");
    const std::size_t started = windows.Standins().size();
    console.lines.clear();
    EXPECT_EQ(Run(args), ExitSomeSkipped);
    EXPECT_EQ(windows.Standins().size(), started);
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"最新のため省略: 1",
                                        "これらの図面は、変換を行っていません (1 枚):", taken}));
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "D:\\2024\\平面図.dwg\r\n");
    EXPECT_EQ(files.Lines("C:\\run.csv").back(),
              Utf8(u8"2,D:\\2024\\平面図.dwg,E:\\OUT\\平面図.dxf,未変換,"
                   u8"同じ名前の変換後ファイルになる図面が先にあります,0.0,"));

    // Only the second changed since: it alone is out of date, and still
    // never takes the first one's result.
    clock.Sleep(5000);
    AddDrawing("D:\\2024\\平面図.dwg");
    console.lines.clear();
    EXPECT_EQ(Run(args), ExitSomeSkipped);
    EXPECT_EQ(windows.Standins().size(), started);
    EXPECT_TRUE(console.Has(false, taken));

    // With another drawing to convert AutoCAD is started, and the second is
    // listed as before, never typed.
    AddDrawing("D:\\2024\\立面図.dwg");
    console.lines.clear();
    EXPECT_EQ(Run(args), ExitSomeSkipped);
    EXPECT_EQ(console.Texts(false),
              (std::vector<std::string>{"最新のため省略: 1", "[2/2] D:\\2024\\立面図.dwg",
                                        "これらの図面は、変換を行っていません (1 枚):", taken,
                                        Finished}));
    EXPECT_EQ(CountTyped("D:\\2024\\平面図.dwg\n"), 0);
    EXPECT_EQ(Result("E:\\OUT\\平面図.dxf")->source, "D:\\2023\\平面図.dwg");
    EXPECT_EQ(Result("E:\\OUT\\立面図.dxf")->source, "D:\\2024\\立面図.dwg");
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

// Parts worked out apart from this code: FNV-1a over the upper-cased UTF-16LE path.
TEST(RunShard, APartIsTheHashOfTheCaselessUtf16PathModNPlusOneWhateverTheLetterCase) {
    EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325u);
    EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cu);
    MemoryFiles tree;
    MemoryFileSystem files{tree};
    const std::vector<int> counts{1, 2, 3, 7, 1000};
    const std::vector<std::pair<std::vector<std::string>, std::vector<int>>> known{
        {{"E:\\OUT\\A.DXF", "e:\\out\\a.dxf", "E:\\Out\\a.DXF"}, {1, 2, 3, 4, 450}},
        {{"D:\\出力\\Plan.dxf", "d:\\出力\\PLAN.DXF"}, {1, 1, 2, 4, 689}},
        // Full-width and Greek letters have a case as well.
        {{"d:\\ＡΣ\\ａσ.dxf", "D:\\ａσ\\ＡΣ.DXF"}, {1, 2, 1, 5, 120}}};
    for (const auto& [paths, parts] : known)
        for (const std::string& path : paths)
            for (std::size_t n = 0; n < counts.size(); ++n)
                EXPECT_EQ(PartOf(files, path, counts[n]), parts[n]) << path << " of " << counts[n];
}

TEST(RunShard, APartDependsOnTheResultAloneNotOnTheListsOrder) {
    MemoryFiles tree;
    MemoryFileSystem files{tree};
    std::vector<TFileName> drawings;
    for (const char* folder : {"\\a", "\\b\\表", "\\c"})
        for (const char* name : {"X", "plan-1F", "ソケット", "q", "r", "s"})
            drawings.push_back({std::string("D:") + folder + "\\" + name + ".dwg", folder});
    const TargetRules flat{false, "E:\\out", false};
    for (const int count : {2, 3, 5}) {
        SCOPED_TRACE(count);
        std::size_t taken = 0;
        for (int part = 1; part <= count; ++part) {
            const auto inOrder = DrawingsOfPart(files, drawings, flat, ".dxf", {part, count});
            auto reversed = DrawingsOfPart(files, {drawings.rbegin(), drawings.rend()}, flat,
                                           ".dxf", {part, count});
            std::reverse(reversed.begin(), reversed.end());
            EXPECT_EQ(inOrder, reversed);
            // A name's three drawings share one result, so one part.
            EXPECT_EQ(inOrder.size() % 3, 0u);
            taken += inOrder.size();
        }
        EXPECT_EQ(taken, drawings.size());
    }
    // Which path decides, by the four rules (parts of 4 worked out apart).
    const TFileName q{"D:\\b\\表\\q.dwg", "\\b\\表"};
    const auto partOfQ = [&](const TargetRules& rules, std::optional<std::string_view> extension) {
        for (int part = 1; part <= 4; ++part)
            if (!DrawingsOfPart(files, {q}, rules, extension, {part, 4}).empty()) return part;
        return 0;
    };
    EXPECT_EQ(partOfQ(flat, ".dxf"), 2);                       // E:\out\q.dxf
    EXPECT_EQ(partOfQ({false, "E:\\out", true}, ".dxf"), 4);   // E:\out\b\表\q.dxf
    EXPECT_EQ(partOfQ({true, "", false}, ".dxf"), 1);          // D:\b\表\q.dxf
    EXPECT_EQ(partOfQ(flat, std::nullopt), 3);                 // no result: D:\b\表\q.dwg
}

// Three workstations on one list, one after the other. Each part's count
// counts what /u passes over and what the check of results taken twice
// lists; parts worked out apart from this code.
TEST_F(ConsoleRunTest, ThreePartsConvertEveryDrawingOnceAndAPairSharingAResultInOnePart) {
    files.AddFolder("E:\\out");
    const std::map<std::string, int> partOf{
        {"D:\\a\\X.dwg", 3},    {"D:\\a\\plan-1F.dwg", 1}, {"D:\\a\\ソケット.dwg", 2},
        {"D:\\b\\ｐ２.dwg", 1}, {"D:\\b\\空調.dwg", 3},    {"D:\\b\\x.DWG", 3},
        {"D:\\c\\表題欄.dwg", 2}, {"D:\\c\\q.dwg", 1}};
    for (const auto& [path, part] : partOf) AddDrawing(path);
    const std::vector<std::string> counts{"分担 1/3: 3 枚", "分担 2/3: 2 枚", "分担 3/3: 3 枚"};
    for (int part = 1; part <= 3; ++part) {
        SCOPED_TRACE(part);
        console.lines.clear();
        windows.ClearMessages();
        const std::string shard = std::to_string(part) + "/3";
        EXPECT_EQ(Run({"dxf", "/shard", shard, "/o", "E:\\out", "/-k", "/f", "C:\\f.txt", "D:\\c",
                       "D:\\a", "D:\\b"}),
                  part == 3 ? ExitSomeSkipped : ExitAllConverted);
        const auto out = console.Texts(false);
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.front(), counts[part - 1]);
        for (const auto& [path, itsPart] : partOf)
            EXPECT_EQ(CountTyped(path + "\n"), itsPart == part && path != "D:\\b\\x.DWG" ? 1 : 0) << path;
    }
    // The later of the pair is listed by the part that converted the first.
    EXPECT_TRUE(console.Has(false, "D:\\b\\x.DWG  (同じ名前の変換後ファイルになる図面が先にあります)"));
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "D:\\b\\x.DWG\r\n");
    EXPECT_EQ(Result("E:\\out\\X.dxf")->source, "D:\\a\\X.dwg");

    // Run again with /u: the part passes over what it converted.
    console.lines.clear();
    EXPECT_EQ(Run({"dxf", "/shard", "2/3", "/u", "/o", "E:\\out", "/-k", "D:\\a", "D:\\b", "D:\\c"}),
              ExitAllConverted);
    EXPECT_EQ(console.Texts(false), (std::vector<std::string>{counts[1], "最新のため省略: 2"}));
}

TEST_F(ConsoleRunTest, APartWithoutDrawingsEndsWith0AndNeverStartsAutoCad) {
    AddDrawing("D:\\図面\\A.dwg");
    // Its result D:\図面\A.dxf falls in part 1 of 3.
    EXPECT_EQ(Run({"dxf", "/shard", "2/3", "/f", "C:\\f.txt", "/log", "C:\\run.csv", "D:\\図面"}),
              ExitAllConverted);
    EXPECT_EQ(console.Texts(false), std::vector<std::string>{"分担 2/3: 0 枚"});
    EXPECT_TRUE(processes.Calls().empty());
    EXPECT_EQ(files.ReadFile("C:\\f.txt"), "");
    EXPECT_EQ(CountTyped("D:\\図面\\A.dwg\n"), 0);

    // A macro that names no result: the drawing's own path (part 2 of 3) decides.
    toDxfMacro = {"open", "#FILE", "saveas", "DXF", "#ENTER", "D:\\図面\\B"};
    WriteIni();
    console.lines.clear();
    EXPECT_EQ(Run({"dxf", "/shard", "1/3", "D:\\図面"}), ExitAllConverted);
    EXPECT_EQ(console.Texts(false), std::vector<std::string>{"分担 1/3: 0 枚"});
    EXPECT_EQ(Run({"dxf", "/shard", "2/3", "D:\\図面"}), ExitAllConverted);
    EXPECT_EQ(CountTyped("D:\\図面\\A.dwg\n"), 1);
}


TEST_F(ConsoleRunTest, TheRunLogHasALinePerDrawingAndThoseNeverReachedGetTheEndsReason) {
    AddDrawing("D:\\図面\\A.dwg");
    AddDrawing("D:\\図面\\B,1.dwg", "FAIL");
    AddDrawing("D:\\図面\\C.dwg", "HANG");
    AddDrawing("D:\\図面\\D.dwg");
    mainForm["WaitLimit"] = "5";
    mainForm["RestartLimit"] = "0";
    EXPECT_EQ(Run({"dxf", "/log", "C:\\run.csv", "D:\\図面"}), ExitSomeSkipped);
    const std::vector<std::string> lines = files.Lines("C:\\run.csv");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], Utf8(u8"\uFEFF番号,図面,変換後,結果,理由,秒,AutoCADの表示"));
    // The seconds as S; the last column is what AutoCAD showed.
    const auto timed = [&](std::size_t i) {
        return std::regex_replace(lines.at(i), std::regex(",[0-9]+\\.[0-9],"), ",S,");
    };
    EXPECT_EQ(timed(1), Utf8(u8"1,D:\\図面\\A.dwg,D:\\図面\\A.dxf,変換済,,S,"));
    EXPECT_EQ(timed(2),
              Utf8(u8"2,\"D:\\図面\\B,1.dwg\",\"D:\\図面\\B,1.dxf\",未変換,AutoCADで開けませんでした,S,"
                   u8"\"D:\\図面\\B,1.dwg は有効な図面ファイルではありません。\""));
    // C ran into the send limit; its seconds tell, and the prompt read before.
    EXPECT_EQ(lines[3].substr(0, lines[3].find(",5.") + 3),
              Utf8(u8"3,D:\\図面\\C.dwg,D:\\図面\\C.dxf,未変換,AutoCADが応答しません,5."));
    EXPECT_EQ(timed(3).substr(timed(3).find(",S,")), Utf8(u8",S,開く図面ﾌｧｲﾙ名を入力: "));
    EXPECT_EQ(lines[4], Utf8(u8"4,D:\\図面\\D.dwg,D:\\図面\\D.dxf,未変換,AutoCADが応答しません,0.0,"));
}

TEST_F(ConsoleRunTest, ALogHeldByAnotherProgramLosesNoLineAndKeepsTheOrder) {
    for (const char* name : {"A", "B", "C", "D"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    const std::vector<std::string> args{"dxf", "/log", "C:\\run.csv", "D:\\図面"};
    const auto numbers = [&] {
        std::string firsts;
        for (const std::string& line : files.Lines("C:\\run.csv")) firsts += line.substr(0, 1);
        return firsts;
    };
    const auto hold = [&](bool held) { files.Hold("C:\\run.csv", held); };
    // Held while B and C end (the user looks at it in Excel): their lines
    // cannot be written then, and go in before D's.
    OnceTyped("D:\\図面\\B.dwg\n", [&] {
        hold(true);
        OnceTyped("D:\\図面\\D.dwg\n", [&] { hold(false); });
    });
    EXPECT_EQ(Run(args), ExitAllConverted);
    EXPECT_EQ(numbers(), "\xEF" "1234");  // the header's BOM, then the drawings
    EXPECT_TRUE(console.Texts(true).empty());

    // Still held when the run ends: tried again until it is let go 4 s on.
    OnceTyped("D:\\図面\\C.dwg\n", [&] {
        hold(true);
        OnceTyped("quit\n", [&] { clock.ScheduleAfter(4000, [&] { hold(false); }); });
    });
    EXPECT_EQ(Run(args), ExitAllConverted);
    EXPECT_EQ(numbers(), "\xEF" "1234");
    EXPECT_TRUE(console.Texts(true).empty());

    // Held for good: 10 s later the lines never written are named, and the
    // run is not complete.
    std::int64_t closed = 0;
    OnceTyped("D:\\図面\\C.dwg\n", [&] {
        hold(true);
        OnceTyped("quit\n", [&] { closed = clock.NowMs(); });
    });
    EXPECT_EQ(Run(args), ExitSomeSkipped);
    EXPECT_GE(clock.NowMs() - closed, RunLog::RetryLimitMs);
    EXPECT_LT(clock.NowMs() - closed, RunLog::RetryLimitMs + 2 * RunLog::RetryMs);
    hold(false);
    EXPECT_EQ(numbers(), "\xEF" "12");
    const auto errors = console.Texts(true);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], "ログファイル C:\\run.csv に書き込めなかった行 (2 行):");
    EXPECT_EQ(errors[1].rfind("  3,D:\\図面\\C.dwg,D:\\図面\\C.dxf,変換済,,", 0), 0u) << errors[1];
    EXPECT_EQ(errors[2].rfind("  4,D:\\図面\\D.dwg,D:\\図面\\D.dxf,変換済,,", 0), 0u) << errors[2];
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

    // One that starts but shows no windows within StartWait is not left
    // behind: it is ended by the process it was started as, and the run
    // ends as before.
    console.lines.clear();
    mainForm["AcadPath"] = Program;
    mainForm["AcadArg"] = "/startdelay:100000000";
    WriteIni();
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitAcadStartFailed);
    EXPECT_EQ(console.Texts(true), (std::vector<std::string>{"AutoCAD (1台目) が起動しないため終了させました。",
                                                             "Auto CADを起動できません"}));
    ASSERT_EQ(windows.Standins().size(), 1u);
    EXPECT_TRUE(windows.Standins()[0]->Terminated());
    mainForm.erase("AcadArg");

    // An AutoCAD the user started: nothing is typed into it.
    console.lines.clear();
    mainForm["AcadPath"] = Program;
    WriteIni();
    FakeStandin& users = windows.StartStandin(std::vector<std::string>{});
    clock.Sleep(100);
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitOtherAcad);
    EXPECT_EQ(console.Texts(true), std::vector<std::string>{"起動中のAuto CADを終了させてください。"});
    EXPECT_TRUE(users.Typed().empty());
    EXPECT_EQ(windows.Standins().size(), 2u);
    EXPECT_FALSE(users.Terminated());
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
    // While AutoCAD starts, at its startup dialog: it is still waited for
    // while Pelkadu presses the dialog (WaitLimit is far), and then only
    // closed: no variable set, no drawing opened.
    mainForm["AcadArg"] = "/startdelay:2000 /startup";
    mainForm["WaitLimit"] = "600";
    mainForm["StartWait"] = "10";
    processes.onStartHidden = [&](const std::string&) {
        clock.ScheduleAfter(2500, [&] { windows.LatestStandin()->PressButton("ｷｬﾝｾﾙ"); });
    };
    windows.onStandinStarted = [&](FakeStandin&) { current->RequestCancel(); };
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitCanceled);
    EXPECT_EQ(Typed(), std::vector<std::string>{"quit\n"});
    EXPECT_TRUE(windows.LatestStandin()->Ended());
    EXPECT_FALSE(windows.LatestStandin()->Terminated());
    EXPECT_EQ(console.Texts(false).back(), Interrupted);
    EXPECT_LT(clock.NowMs(), 10000);

    // A dialog that nobody presses: AutoCAD is given StartWait (10 s), not
    // WaitLimit, and is then ended by its process, which the run says.
    processes.onStartHidden = nullptr;
    windows.ClearMessages();
    console.lines.clear();
    const std::int64_t start = clock.NowMs();
    EXPECT_EQ(Run({"dxf", "D:\\図面"}), ExitCanceled);
    EXPECT_TRUE(Typed().empty());
    EXPECT_TRUE(windows.LatestStandin()->Terminated());
    EXPECT_EQ(processes.EndedProcesses(), std::vector<std::uint32_t>{windows.LatestStandin()->ProcessId()});
    EXPECT_LT(clock.NowMs() - start, 60000);
    EXPECT_EQ(console.Texts(true),
              std::vector<std::string>{"AutoCAD (1台目) が起動しないため終了させました。"});
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
    // Ctrl+Break is Ctrl+C; other events are left to the system.
    CancelRelay breaks;
    EXPECT_TRUE(breaks.OnConsoleEvent(ConsoleCtrlBreak));
    EXPECT_FALSE(breaks.OnConsoleEvent(ConsoleCtrlC));
    EXPECT_FALSE(breaks.OnConsoleEvent(5));  // CTRL_LOGOFF_EVENT
}

// Closing the console: the system ends the program soon after. An AutoCAD
// still starting is ended at once, and the handler waits for the run's end.
TEST_F(ConsoleRunTest, TheConsolesCloseEndsAnAutoCadStillStartingAndWaitsForTheRunsEnd) {
    AddDrawing("D:\\図面\\A.dwg");
    mainForm["AcadArg"] = "/startdelay:100000000";
    mainForm["StartWait"] = "600";
    WriteIni();
    CancelRelay relay;
    ConsoleRun run({windows, clock, pump, processes, encoding, profile, fileSystem, order, console, lists});
    relay.Attach(run);
    windows.onStandinStarted = [&](FakeStandin&) { EXPECT_FALSE(relay.Close(0)); };
    EXPECT_EQ(run.Run({"dxf", "D:\\図面"}), ExitCanceled);
    EXPECT_LT(clock.NowMs(), 1000);
    ASSERT_EQ(windows.Standins().size(), 1u);
    EXPECT_TRUE(windows.Standins()[0]->Terminated());
    EXPECT_TRUE(windows.CopyDataTexts().empty());
    EXPECT_EQ(console.Texts(true), std::vector<std::string>{"AutoCAD (1台目) が起動しないため終了させました。"});
    // The handler returns once the run is over.
    std::thread handler([&] { EXPECT_TRUE(relay.Close(60000)); });
    relay.Detach();
    handler.join();
    EXPECT_TRUE(relay.OnConsoleEvent(ConsoleClose));
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
        Refusal{"ShardBeyondItsCount", nullptr, {"dxf", "/shard", "4/3", "D:\\図面"}, "/shard"},
        Refusal{"ShardWithoutValue", nullptr, {"dxf", "D:\\図面", "/shard"}, "/shard"},
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
