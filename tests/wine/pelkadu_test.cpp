// Pelkadu from end to end under Wine: the real program pressing the startup
// dialog of stand-in AutoCAD processes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "acad_on_win32.h"
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

constexpr int StartWait = 15;

class PelkaduTest : public ::testing::Test {
protected:
    ProgramGuard guard;
    TempFolder temp{"tovimo-pelkadu"};
    StandinLogFile log{temp.Path() + "acad.log"};
    Win32Platform platform;
    AcadControl acad{platform.Get()};

    static std::string Program(const char* name) { return BinFolder() + name; }

    void ExpectEverythingEnds() {
        EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 0; }, 10000))
            << "Pelkadu is still running";
        EXPECT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 10000))
            << "the stand-in is still running";
    }
};

struct Variant {
    const char* name;
    const char* switches;
    const char* dialogTitle;
    const char* cancelCaption;
};

class PelkaduPressTest : public PelkaduTest, public ::testing::WithParamInterface<Variant> {};

// As a run does it: Pelkadu first, then AutoCAD, whose command line shows
// nothing until its startup dialog is gone.
TEST_P(PelkaduPressTest, PressesTheStartupDialogAndTheCommandPromptComes) {
    acad.StartPelkadu();
    EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 1; }, 10000))
        << "Pelkadu started from the program folder";
    acad.SetAcadPath(Program("standin-acad.exe"));
    acad.AcadArgs = std::string("/startup ") + GetParam().switches + " " + log.Switch();

    ASSERT_EQ(acad.StartAcad(StartWait), AcadReady) << log.Text();
    EXPECT_TRUE(log.Has("dialog", {GetParam().dialogTitle})) << log.Text();
    EXPECT_TRUE(log.WaitFor("pressed", {GetParam().dialogTitle, GetParam().cancelCaption}))
        << log.Text();
    EXPECT_TRUE(WaitForCommandPrompt(acad)) << acad.ReadCommandLine();
    // One press, and Pelkadu is done.
    EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 0; }, 10000));
    EXPECT_EQ(log.OfKind("pressed").size(), 1u) << log.Text();

    acad.CloseAcad();
    ExpectEverythingEnds();
}

INSTANTIATE_TEST_SUITE_P(
    Products, PelkaduPressTest,
    ::testing::Values(Variant{"LtHalfWidth", "/lt /halfwidth", "ｽﾀｰﾄｱｯﾌﾟ", "ｷｬﾝｾﾙ"},
                      Variant{"FullFullWidth", "/full /fullwidth", "スタートアップ", "キャンセル"}),
    [](const ::testing::TestParamInfo<Variant>& info) { return std::string(info.param.name); });

// Windows of this test that look like a startup dialog, but not AutoCAD's.
struct Decoys {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++pressed;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    static inline int pressed = 0;

    Decoys() {
        pressed = 0;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TovimoDecoy";
        ::RegisterClassA(&windowClass);
        owner = Make("Other CAD viewer", nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        owned = Make("スタートアップ", owner, WS_POPUP | WS_CAPTION | WS_VISIBLE);
        alone = Make("ｽﾀｰﾄｱｯﾌﾟ", nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        for (HWND dialog : {owned, alone})
            for (const char* caption : {"キャンセル", "ｷｬﾝｾﾙ"})
                ::CreateWindowExA(0, "Button", caption, WS_CHILD | WS_VISIBLE, 0, 0, 80, 24, dialog,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    ~Decoys() {
        for (HWND window : {alone, owned, owner}) ::DestroyWindow(window);
    }
    static HWND Make(const char* title, HWND parent, DWORD style) {
        return ::CreateWindowExA(0, "TovimoDecoy", title, style, 0, 0, 200, 100, parent, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    }
    HWND owner, owned, alone;
};

TEST_F(PelkaduTest, PassesOverStartupDialogsThatAreNotAutoCads) {
    Decoys decoys;
    StartedProgram standin(Program("standin-acad.exe") + " /startup " + log.Switch());
    ASSERT_TRUE(log.WaitFor("dialog", {"ｽﾀｰﾄｱｯﾌﾟ"})) << log.Text();

    StartedProgram pelkadu(Program("Pelkadu.exe"));
    ASSERT_TRUE(pelkadu.Started());
    // Waiting handles the messages that Pelkadu sends to the decoys.
    EXPECT_EQ(pelkadu.WaitForExit(30000), std::optional<DWORD>(0));
    EXPECT_TRUE(log.Has("pressed", {"ｽﾀｰﾄｱｯﾌﾟ", "ｷｬﾝｾﾙ"})) << log.Text();
    EXPECT_EQ(Decoys::pressed, 0);
}

// Two AutoCADs at their startup dialogs, as several sessions of a run start
// them: a Pelkadu told one's process presses that one's dialog only.
TEST_F(PelkaduTest, ToldAProcessItPressesOnlyThatAutoCadsDialog) {
    StandinLogFile otherLog{temp.Path() + "other.log"};
    StartedProgram own(Program("standin-acad.exe") + " /startup " + log.Switch());
    StartedProgram other(Program("standin-acad.exe") + " /startup " + otherLog.Switch());
    ASSERT_TRUE(log.WaitFor("dialog", {"ｽﾀｰﾄｱｯﾌﾟ"})) << log.Text();
    ASSERT_TRUE(otherLog.WaitFor("dialog", {"ｽﾀｰﾄｱｯﾌﾟ"})) << otherLog.Text();

    StartedProgram pelkadu(Program("Pelkadu.exe") + " /pid:" + std::to_string(own.ProcessId()));
    ASSERT_TRUE(pelkadu.Started());
    EXPECT_EQ(pelkadu.WaitForExit(30000), std::optional<DWORD>(0));
    EXPECT_TRUE(log.Has("pressed", {"ｽﾀｰﾄｱｯﾌﾟ", "ｷｬﾝｾﾙ"})) << log.Text();
    EXPECT_FALSE(otherLog.Has("pressed")) << otherLog.Text();

    // An argument that names no process: it ends without pressing anything.
    StartedProgram confused(Program("Pelkadu.exe") + " /pid:other");
    ASSERT_TRUE(confused.Started());
    EXPECT_EQ(confused.WaitForExit(30000), std::optional<DWORD>(0));
    EXPECT_FALSE(otherLog.Has("pressed")) << otherLog.Text();
}

TEST_F(PelkaduTest, EndsByItselfWithExitCodeZeroWhenNoAutoCadShowsUp) {
    StartedProgram pelkadu(Program("Pelkadu.exe"));
    ASSERT_TRUE(pelkadu.Started());
    const std::int64_t started = platform.clock.NowMs();
    ::Sleep(1000);
    EXPECT_TRUE(pelkadu.Running()) << "it keeps looking";
    EXPECT_EQ(CountTopWindowsOf(pelkadu.ProcessId()), 0) << "it has no window of its own";
    EXPECT_EQ(pelkadu.WaitForExit(60000), std::optional<DWORD>(0));
    EXPECT_GE(platform.clock.NowMs() - started, 19000) << "200 attempts 100 ms apart";
}

// Tovimo in a folder with a blank, with Pelkadu and AutoCAD beside it: the
// demo program runs a whole start, system variable and close from there.
TEST_F(PelkaduTest, WorksFromAProgramFolderWithABlank) {
    const std::string folder = temp.MakeFolder("Program Files\\Tovimo");
    for (const char* program : {"tovimo-demo.exe", "Pelkadu.exe", "standin-acad.exe"})
        ASSERT_TRUE(CopyInto(Program(program), folder)) << program;
    ScopedEnvironment options(standin::OptionsVariable, "/startup " + log.Switch());

    StartedProgram demo("\"" + folder + "tovimo-demo.exe\"");
    ASSERT_TRUE(demo.Started());
    EXPECT_EQ(demo.WaitForExit(90000), std::optional<DWORD>(0)) << log.Text();
    EXPECT_TRUE(log.Has("pressed", {"ｽﾀｰﾄｱｯﾌﾟ", "ｷｬﾝｾﾙ"})) << log.Text();
    EXPECT_TRUE(log.Has("sysvar", {"FILEDIA", "0"})) << log.Text();
    EXPECT_TRUE(log.Has("quit")) << log.Text();
    ExpectEverythingEnds();
}

}  // namespace
}  // namespace tovimo::wine_tests
