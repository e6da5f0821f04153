// The AutoCAD link from end to end under Wine: the real Win32 side driving
// stand-in AutoCAD processes, checked against what the stand-in logs.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "acad_on_win32.h"
#include "acadlink/window_list.h"
#include "program_guard.h"
#include "scoped_environment.h"
#include "standin_log_file.h"
#include "standin_options.h"
#include "started_program.h"
#include "test_files.h"
#include "text/cp932_text.h"
#include "wait_until.h"

namespace tovimo::wine_tests {
namespace {

constexpr int StartWait = 15;  // seconds, as a user would set it

class AcadLinkTest : public ::testing::Test {
protected:
    ProgramGuard guard;  // first in, last out: ends the stand-ins after all else
    TempFolder temp{"tovimo-acad"};
    StandinLogFile log{temp.Path() + "acad.log"};
    Win32Platform platform;
    AcadControl acad{platform.Get()};

    static std::string StandinProgram() { return BinFolder() + "standin-acad.exe"; }

    std::string Title(WindowHandle window) { return ReadTitle(platform.windows, window); }

    // After a test that linked, nothing may be left running.
    void ExpectStandinEnds() {
        EXPECT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 10000))
            << "the stand-in is still running";
    }
};

// --- starting ---

struct Variant {
    const char* name;
    const char* switches;
    const char* commandPrompt;
    const char* textWindowWord;
    unsigned unitBytes;  // 1: code page 932 bytes; 2: UTF-16
};

class AcadStartTest : public AcadLinkTest, public ::testing::WithParamInterface<Variant> {};

TEST_P(AcadStartTest, StartsByProgramPathTypesAndCloses) {
    acad.SetAcadPath(StandinProgram());
    acad.AcadArgs = std::string(GetParam().switches) + " /nologo " + log.Switch();
    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady) << log.Text();
    const unsigned unit = GetParam().unitBytes;
    EXPECT_EQ(acad.CommandForm(), unit == 2 ? CommandTextForm::Utf16 : CommandTextForm::Cp932);
    // Every window of a Unicode program is a Unicode window; its texts read as any other's.
    EXPECT_EQ(platform.windows.IsWindowUnicode(acad.CommandLineWindow), unit == 2);

    // The four windows are the stand-in's own.
    EXPECT_TRUE(StartsWithText(Title(acad.MainWindow), "AutoCAD"));
    EXPECT_TRUE(ContainsText(Title(acad.MainWindow), "Drawing1.dwg"));
    EXPECT_TRUE(ContainsText(Title(acad.TextWindow), GetParam().textWindowWord));
    EXPECT_EQ(ReadClassName(platform.windows, acad.CommandLineWindow), "StandinAcadCommandLine");
    EXPECT_NE(acad.CompanionWindow, 0u);
    EXPECT_EQ(platform.windows.GetParent(acad.TextWindow), 0u);
    // Every argument arrived, the one the stand-in does not know included.
    EXPECT_TRUE(log.Has("ignored-option", {"/nologo"})) << log.Text();

    ASSERT_TRUE(WaitForCommandPrompt(acad)) << acad.ReadCommandLine();
    EXPECT_TRUE(StartsWithText(acad.ReadCommandLine(), GetParam().commandPrompt));

    // A system variable set and read back through its prompt.
    acad.SetSysVar("FILEDIA", "0");
    EXPECT_TRUE(log.WaitFor("sysvar", {"FILEDIA", "0"})) << log.Text();
    ASSERT_TRUE(WaitForCommandPrompt(acad));
    EXPECT_EQ(acad.GetSysVar("FILEDIA"), "0");
    EXPECT_EQ(acad.GetSysVar("DYNMODE"), "3");
    ASSERT_TRUE(WaitForCommandPrompt(acad)) << "the escape ended the prompt";
    EXPECT_TRUE(log.Has("copydata", {"1", std::to_string(9 * unit), "FILEDIA\n"}))
        << "dwData 1, the zero counted";
    EXPECT_TRUE(log.Has("copydata", {"1", std::to_string(2 * unit), "\x1B"}));
    EXPECT_TRUE(log.Has("null"));
    EXPECT_TRUE(log.OfKind("bad-cbdata").empty()) << log.Text();

    const WindowHandle mainWindow = acad.MainWindow;
    acad.CloseAcad();
    EXPECT_EQ(acad.MainWindow, 0u);
    EXPECT_EQ(acad.TextWindow, 0u);
    EXPECT_EQ(acad.CommandLineWindow, 0u);
    EXPECT_EQ(acad.CompanionWindow, 0u);
    EXPECT_EQ(acad.GetAcadPath(), StandinProgram());
    EXPECT_TRUE(log.WaitFor("quit")) << log.Text();
    ExpectStandinEnds();
    EXPECT_FALSE(platform.windows.IsWindow(mainWindow));
}

INSTANTIATE_TEST_SUITE_P(
    Products, AcadStartTest,
    ::testing::Values(Variant{"LtHalfWidth", "/lt /halfwidth", "ｺﾏﾝﾄﾞ: ", "ﾃｷｽﾄ", 1},
                      Variant{"FullFullWidth", "/full /fullwidth", "コマンド: ", "テキスト", 1},
                      Variant{"UnicodeFullWidth", "/unicode /full /fullwidth", "コマンド: ", "テキスト", 2}),
    [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.name); });

TEST_F(AcadLinkTest, StartsFromAProgramFolderWithABlank) {
    const std::string folder = temp.MakeFolder("Program Files\\acad");
    ASSERT_TRUE(CopyInto(StandinProgram(), folder));
    acad.SetAcadPath(folder + "standin-acad.exe");
    acad.AcadArgs = log.Switch();
    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady) << log.Text();
    EXPECT_TRUE(log.Has("start")) << log.Text();
    EXPECT_TRUE(log.OfKind("ignored-option").empty()) << log.Text();
    acad.CloseAcad();
    ExpectStandinEnds();
}

TEST_F(AcadLinkTest, StartsThroughTheDrawingsFileAssociation) {
    ASSERT_TRUE(FileExists(BinFolder() + "Drawing1.dwg"));
    // The association passes only the drawing; the log switch comes through
    // the environment, which the started program inherits.
    ScopedEnvironment options(standin::OptionsVariable, log.Switch());
    acad.SetAcadPath("");
    acad.AcadArgs = "/full";  // plays no part in this start
    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady) << log.Text();
    EXPECT_TRUE(StartsWithText(Title(acad.MainWindow), "AutoCAD LT 2000 - [Drawing1.dwg]"));
    // Started with the drawing beside the program.
    ASSERT_FALSE(log.OfKind("start").empty()) << log.Text();
    EXPECT_TRUE(ContainsText(log.Text(), "Drawing1.dwg")) << log.Text();
    acad.CloseAcad();
    ExpectStandinEnds();
}

TEST_F(AcadLinkTest, AMissingProgramFailsAtOnce) {
    acad.SetAcadPath(temp.Path() + "no-acad.exe");
    const std::int64_t before = platform.clock.NowMs();
    EXPECT_EQ(acad.StartAcad(StartWait), StartFailed);
    EXPECT_LT(platform.clock.NowMs() - before, 5000) << "no wait for windows that cannot come";
    EXPECT_EQ(acad.MainWindow, 0u);
}

TEST_F(AcadLinkTest, AnAutoCadStartedBeforeIsAnotherProgramsAutoCad) {
    StartedProgram other(StandinProgram() + " " + log.Switch());
    ASSERT_TRUE(other.Started());
    ASSERT_TRUE(log.WaitFor("window", {}, 15000));
    ASSERT_TRUE(WaitUntil([&] {
        for (const WindowListEntry& entry : ListTopWindows(platform.windows).entries)
            if (ContainsText(Title(entry.window), "ﾃｷｽﾄ")) return true;
        return false;
    }, 15000));

    acad.SetAcadPath(StandinProgram());
    EXPECT_EQ(acad.StartAcad(StartWait), OtherAcadRunning);
    EXPECT_EQ(acad.TextWindow, 0u);
    EXPECT_EQ(CountRunning("standin-acad.exe"), 1) << "nothing more was started";
}

TEST_F(AcadLinkTest, ALinkedObjectFindsItsAutoCadAgainAndTheOtherDirectionDoesNot) {
    acad.SetAcadPath(StandinProgram());
    acad.AcadArgs = log.Switch();
    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady) << log.Text();
    const WindowHandle mainWindow = acad.MainWindow;
    const WindowHandle textWindow = acad.TextWindow;

    EXPECT_EQ(acad.StartAcad(StartWait), AcadReady);
    EXPECT_EQ(acad.MainWindow, mainWindow);
    EXPECT_EQ(acad.TextWindow, textWindow);
    EXPECT_EQ(CountRunning("standin-acad.exe"), 1);

    AcadControl otherDirection{platform.Get()};
    otherDirection.SetAcadPath(StandinProgram());
    EXPECT_EQ(otherDirection.StartAcad(StartWait), OtherAcadRunning);
    EXPECT_EQ(CountRunning("standin-acad.exe"), 1);

    acad.CloseAcad();
    ExpectStandinEnds();
    // Once it is gone, the same object starts a new one.
    acad.AcadArgs.clear();
    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady);
    EXPECT_NE(acad.TextWindow, textWindow);
    acad.CloseAcad();
    ExpectStandinEnds();
}

// --- dialogs ---

TEST_F(AcadLinkTest, AFailedOpenShowsAMessageBoxThatIsPressed) {
    // A Japanese path: "表" and "ソ" end in the byte of "\", and must cross
    // to AutoCAD unchanged.
    const std::string folder = temp.MakeFolder("表示ソフト");
    ASSERT_FALSE(folder.empty());
    const std::string broken = folder + "broken.dwg";
    ASSERT_TRUE(WriteWholeFile(broken, "STANDIN-DRAWING\nFAIL\n"));
    acad.SetAcadPath(StandinProgram());
    acad.AcadArgs = log.Switch();
    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady) << log.Text();
    ASSERT_TRUE(WaitForCommandPrompt(acad));
    acad.SetSysVar("FILEDIA", "0");
    ASSERT_TRUE(WaitForCommandPrompt(acad));

    acad.SendCommand("open\n");
    acad.SendCommand(broken + "\n");
    const std::string title = "AutoCAD LT ﾒｯｾｰｼﾞ";
    ASSERT_TRUE(WaitUntil([&] { return acad.FindAcadDialog(title) != 0; }, 10000)) << log.Text();
    EXPECT_TRUE(log.Has("copydata", {"1", std::to_string(broken.size() + 2), broken + "\n"}))
        << log.Text();
    EXPECT_EQ(platform.windows.GetParent(acad.FindAcadDialog(title)), acad.MainWindow);
    EXPECT_FALSE(acad.IsCommandPrompt()) << "the box holds the command line";
    EXPECT_EQ(acad.FindAcadDialog("スタートアップ"), 0u);

    EXPECT_TRUE(acad.PressDialogOk(title));
    EXPECT_TRUE(log.WaitFor("pressed", {title, "OK"})) << log.Text();
    EXPECT_TRUE(WaitUntil([&] { return acad.FindAcadDialog(title) == 0; }, 5000));
    EXPECT_TRUE(WaitForCommandPrompt(acad));
    EXPECT_FALSE(acad.PressDialogOk(title)) << "no box any more";

    acad.CloseAcad();
    ExpectStandinEnds();
}

TEST_F(AcadLinkTest, CloseAnswersTheSaveQuestionWithNo) {
    // Its name must hold "Dra": that is how the main window is told.
    const std::string drawing = temp.Path() + "Drawing2.dwg";
    const std::string content = "STANDIN-DRAWING\n";
    ASSERT_TRUE(WriteWholeFile(drawing, content));
    acad.SetAcadPath(StandinProgram());
    acad.AcadArgs = "/dirty " + log.Switch() + " \"" + drawing + "\"";
    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady) << log.Text();
    ASSERT_TRUE(WaitForCommandPrompt(acad));

    acad.CloseAcad();
    EXPECT_TRUE(log.WaitFor("pressed", {"AutoCAD LT", "いいえ(&N)"})) << log.Text();
    EXPECT_TRUE(log.WaitFor("quit")) << log.Text();
    ExpectStandinEnds();
    EXPECT_TRUE(log.OfKind("write").empty()) << "nothing saved: " << log.Text();
    EXPECT_EQ(ReadWholeFile(drawing), content);
}

}  // namespace
}  // namespace tovimo::wine_tests
