// Finding and starting AutoCAD: the passes of the wait, the recognition of
// its windows, and the link to the AutoCAD the object started.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "acad_fixture.h"

namespace tovimo::testing {
namespace {

using Sleeps = std::vector<int>;

class AcadStart : public AcadFixture {
protected:
    // A program that starts, at CreateProcess, windows the test makes.
    void StartsWindows(std::function<void()> make) {
        processes.onCreateProcess = [make](const std::string&) {
            make();
            return true;
        };
        acad.SetAcadPath("C:\\Acad\\fake.exe");
    }
};

TEST_F(AcadStart, StartWaitGivesTheNumberOfPasses) {
    processes.onCreateProcess = [](const std::string&) { return true; };  // starts nothing
    acad.SetAcadPath("C:\\Acad\\nothing.exe");

    EXPECT_EQ(acad.StartAcad(0), StartFailed);
    EXPECT_EQ(clock.Sleeps(), Sleeps{100});

    clock.ClearSleeps();
    EXPECT_EQ(acad.StartAcad(1), StartFailed);
    EXPECT_EQ(clock.Sleeps(), Sleeps(11, 100));

    clock.ClearSleeps();
    EXPECT_EQ(acad.StartAcad(-1), StartFailed);
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(processes.CallsOf(LaunchKind::CreateProcess).size(), 3u);
}

TEST_F(AcadStart, PausesTenMsPerNewWindowAndFiftyPerWindowStored) {
    WindowHandle main = 0, commandLine = 0, companion = 0, text = 0, other = 0;
    StartsWindows([&] {
        main = windows.AddTopWindow("AutoCAD LT - [Drawing1.dwg]", "AcadMain");
        commandLine = windows.AddChildWindow(main, "ｺﾏﾝﾄﾞ: ", "CmdLine");
        companion = windows.AddChildWindow(main, "前の行", "CmdLine");
        other = windows.AddTopWindow("ツールパレット");
        text = windows.AddTopWindow("AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - Drawing1.dwg");
    });
    EXPECT_EQ(acad.StartAcad(15), AcadReady);
    // Newest first: text window, palette, main window with its command line.
    EXPECT_EQ(clock.Sleeps(), (Sleeps{100, 10, 50, 10, 10, 50, 50}));
    EXPECT_EQ(acad.TextWindow, text);
    EXPECT_EQ(acad.MainWindow, main);
    EXPECT_EQ(acad.CommandLineWindow, commandLine);
    // Half-width form: any descendant qualifies, and the last one counts.
    EXPECT_EQ(acad.CompanionWindow, companion);
}

TEST_F(AcadStart, WindowsThatExistedBeforeTheStartAreNeverTaken) {
    const WindowHandle oldMain = windows.AddTopWindow("AutoCAD LT - [Drawing1.dwg]");
    windows.AddChildWindow(oldMain, "ｺﾏﾝﾄﾞ: ");
    WindowHandle main = 0;
    StartsWindows([&] {
        main = windows.AddTopWindow("AutoCAD - [Drawing1.dwg]");
        windows.AddChildWindow(main, "コマンド: ");
        windows.AddChildWindow(main, "");
    });
    // Without a new text window the wait runs out.
    EXPECT_EQ(acad.StartAcad(0), StartFailed);
    EXPECT_EQ(acad.MainWindow, main);
    EXPECT_NE(acad.CommandLineWindow, 0u);
    EXPECT_NE(windows.ParentOf(acad.CommandLineWindow), oldMain);
    EXPECT_EQ(acad.TextWindow, 0u);
}

TEST_F(AcadStart, TheTextWindowIsNotSearchedButEveryOtherNewWindowIs) {
    WindowHandle paletteLine = 0, textChild = 0;
    StartsWindows([&] {
        const WindowHandle main = windows.AddTopWindow("AutoCAD - [Drawing1.dwg]");
        windows.AddChildWindow(main, "作図");
        const WindowHandle palette = windows.AddTopWindow("コマンド ライン");
        paletteLine = windows.AddChildWindow(palette, "コマンド: ");
        const WindowHandle text = windows.AddTopWindow("AutoCAD テキスト ウィンドウ");
        textChild = windows.AddChildWindow(text, "コマンド: ");
    });
    EXPECT_EQ(acad.StartAcad(0), AcadReady);
    EXPECT_EQ(acad.CommandLineWindow, paletteLine);
    EXPECT_NE(acad.CommandLineWindow, textChild);
}

TEST_F(AcadStart, TheLastMatchOfEachRuleWins) {
    WindowHandle second = 0, firstMain = 0, lastLine = 0;
    StartsWindows([&] {
        // Enumerated newest first: firstMain comes before the older main window.
        const WindowHandle olderMain = windows.AddTopWindow("AutoCAD - [Drawing2.dwg]");
        windows.AddChildWindow(olderMain, "コマンド: ");
        lastLine = windows.AddChildWindow(olderMain, "コマンド: _line");
        firstMain = windows.AddTopWindow("AutoCAD - [Drawing1.dwg]");
        windows.AddTopWindow("AutoCAD テキスト 1");
        second = windows.AddTopWindow("AutoCAD テキスト 2");
        windows.BringToFront(windows.FindTopWindow("テキスト 1"));
    });
    EXPECT_EQ(acad.StartAcad(0), AcadReady);
    EXPECT_EQ(acad.TextWindow, second);
    EXPECT_NE(acad.MainWindow, firstMain);
    EXPECT_EQ(acad.CommandLineWindow, lastLine);
}

TEST_F(AcadStart, ACompanionIsNeededForReady) {
    StartsWindows([&] {
        windows.AddTopWindow("AutoCAD - [Drawing1.dwg]");  // no children at all
        const WindowHandle palette = windows.AddTopWindow("コマンド ライン");
        windows.AddChildWindow(palette, "コマンド: ");
        windows.AddTopWindow("AutoCAD テキスト");
    });
    EXPECT_EQ(acad.StartAcad(0), StartFailed);
    EXPECT_NE(acad.CommandLineWindow, 0u);
    EXPECT_EQ(acad.CompanionWindow, 0u);
}

TEST_F(AcadStart, ATitleIsTestedOnItsFirst254BytesOnly) {
    StartsWindows([&] {
        const WindowHandle main = windows.AddTopWindow("AutoCAD - [Drawing1.dwg]");
        windows.AddChildWindow(main, "ｺﾏﾝﾄﾞ: ");
        windows.AddTopWindow("Auto" + std::string(250, 'x') + "ﾃｷｽﾄ");  // starts at byte 255
    });
    EXPECT_EQ(acad.StartAcad(0), StartFailed);
    EXPECT_EQ(acad.TextWindow, 0u);
}

TEST_F(AcadStart, AnotherAutoCadsTextWindowMeansOtherAcadRunning) {
    windows.AddTopWindow("AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - Drawing1.dwg");
    acad.SetAcadPath(StandinProgram);
    EXPECT_EQ(acad.StartAcad(15), OtherAcadRunning);
    EXPECT_TRUE(processes.Calls().empty());
    EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(AcadStart, TheLastTextWindowDecidesBetweenReadyAndOtherRunning) {
    const WindowHandle a = windows.AddTopWindow("AutoCAD テキスト A");
    const WindowHandle b = windows.AddTopWindow("AutoCAD テキスト B");
    windows.BringToFront(b);  // enumeration order: b, a
    acad.MainWindow = 1;
    acad.CommandLineWindow = 2;
    acad.CompanionWindow = 3;

    acad.TextWindow = b;
    EXPECT_EQ(acad.StartAcad(15), OtherAcadRunning);
    acad.TextWindow = a;
    EXPECT_EQ(acad.StartAcad(15), AcadReady);
    EXPECT_TRUE(processes.Calls().empty());
}

TEST_F(AcadStart, ALinkedObjectIsReadyAtOnceOnlyWithAllItsWindows) {
    LinkStandin();
    const WindowHandle main = acad.MainWindow;
    EXPECT_EQ(acad.StartAcad(15), AcadReady);
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(processes.CallsOf(LaunchKind::CreateProcess).size(), 1u);
    EXPECT_EQ(acad.MainWindow, main);

    // An earlier start that stopped with a window missing is not ready.
    acad.CompanionWindow = 0;
    EXPECT_EQ(acad.StartAcad(15), StartFailed);
    EXPECT_EQ(processes.CallsOf(LaunchKind::CreateProcess).size(), 1u);
}

TEST_F(AcadStart, TheStandInIsRecognisedInBothForms) {
    for (const char* form : {"/halfwidth /lt", "/fullwidth /full"}) {
        SCOPED_TRACE(form);
        AcadControl other(Platform());
        other.SetAcadPath(StandinProgram);
        other.AcadArgs = form;
        ASSERT_EQ(other.StartAcad(15), AcadReady);
        FakeStandin* standin = windows.LatestStandin();
        EXPECT_EQ(other.MainWindow, standin->MainWindow());
        EXPECT_EQ(other.TextWindow, standin->TextWindow());
        EXPECT_EQ(other.CommandLineWindow, standin->CommandLineWindow());
        EXPECT_NE(other.CompanionWindow, 0u);
        other.CloseAcad();
        EXPECT_TRUE(standin->Ended());
    }
}

TEST_F(AcadStart, ProgramPathIsQuotedAndArgumentsFollowAfterOneBlank) {
    processes.onCreateProcess = [](const std::string&) { return false; };
    acad.SetAcadPath("C:\\Program Files\\AutoCAD LT\\aclt.exe");
    EXPECT_EQ(acad.StartAcad(15), StartFailed);
    acad.AcadArgs = "/p tovimo";
    EXPECT_EQ(acad.StartAcad(15), StartFailed);
    EXPECT_EQ(processes.CallsOf(LaunchKind::CreateProcess),
              (std::vector<std::string>{"\"C:\\Program Files\\AutoCAD LT\\aclt.exe\"",
                                        "\"C:\\Program Files\\AutoCAD LT\\aclt.exe\" /p tovimo"}));
    // A failed start waits for nothing and leaves no handle.
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(acad.MainWindow + acad.TextWindow + acad.CommandLineWindow + acad.CompanionWindow, 0u);
}

TEST_F(AcadStart, WithoutAProgramPathDrawing1BesideTheProgramIsOpened) {
    processes.AssociateDrawings(windows);
    processes.SetProgramFolder("D:\\ツール\\Tovimo\\");
    acad.AcadArgs = "/full";  // plays no part here
    EXPECT_EQ(acad.StartAcad(15), AcadReady);
    EXPECT_EQ(processes.CallsOf(LaunchKind::ShellOpen),
              std::vector<std::string>{"D:\\ツール\\Tovimo\\Drawing1.dwg"});
    EXPECT_TRUE(processes.CallsOf(LaunchKind::CreateProcess).empty());

    AcadControl failing(Platform());
    processes.onShellOpen = [](const std::string&) { return false; };
    clock.ClearSleeps();
    EXPECT_EQ(failing.StartAcad(15), OtherAcadRunning);  // the first one runs
    acad.CloseAcad();
    EXPECT_EQ(failing.StartAcad(15), StartFailed);
    EXPECT_EQ(clock.Sleeps(), (Sleeps{30, 30, 300}));  // only the close of the first
}

TEST_F(AcadStart, ASlowStandInIsWaitedForPassByPass) {
    acad.SetAcadPath(StandinProgram);
    acad.AcadArgs = "/startdelay:1500";
    EXPECT_EQ(acad.StartAcad(2), AcadReady);
    // Its windows appear at 1.5 s: the fifteenth pass finds them.
    const auto& sleeps = clock.Sleeps();
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 100), 15);

    AcadControl tooShort(Platform());
    acad.CloseAcad();
    tooShort.SetAcadPath(StandinProgram);
    tooShort.AcadArgs = "/startdelay:1500";
    EXPECT_EQ(tooShort.StartAcad(1), StartFailed);  // 11 passes, about 1.1 s
    // It keeps running, and its handles found so far stay (none yet).
    EXPECT_FALSE(windows.LatestStandin()->Ended());
    EXPECT_EQ(tooShort.TextWindow, 0u);
}

}  // namespace
}  // namespace tovimo::testing

namespace tovimo::testing {
namespace {

// Sessions of one run: an AutoCAD assigned to another session is neither
// "another AutoCAD" nor a source of new windows; one nobody assigned still is.
class SessionBoundStart : public AcadFixture {
protected:
    SessionBoundStart() {
        acad.SetAcadPath(StandinProgram);
        acad.BindToSession(&processes_, 1);
    }
    SessionProcesses processes_;
};

TEST_F(SessionBoundStart, AnotherSessionsAutoCadIsPassedOverAndItsNewWindowsAreNotTaken) {
    FakeStandin& sibling = windows.StartStandin(std::vector<std::string>{});
    clock.Sleep(100);
    processes_.Assign(sibling.ProcessId(), 0);
    // The sibling's message box appears while this session waits for its own windows.
    processes.onCreateProcess = [&](const std::string&) {
        windows.AddTopWindow("AutoCAD LT - [Drawing9.dwg]", "AcadMain", sibling.MainWindow());
        windows.SetProcessId(windows.TopWindows().front(), sibling.ProcessId());
        windows.StartStandin(std::vector<std::string>{});
        return true;
    };
    ASSERT_EQ(acad.StartAcad(15), AcadReady);
    FakeStandin& mine = *windows.LatestStandin();
    EXPECT_EQ(acad.MainWindow, mine.MainWindow());
    EXPECT_EQ(acad.TextWindow, mine.TextWindow());
    EXPECT_EQ(acad.CommandLineWindow, mine.CommandLineWindow());
    // The session's own AutoCAD is now its, and is found again.
    EXPECT_FALSE(processes_.OfOtherSession(mine.ProcessId(), 1));
    EXPECT_TRUE(processes_.OfOtherSession(mine.ProcessId(), 0));
    EXPECT_EQ(acad.StartAcad(15), AcadReady);
}

TEST_F(SessionBoundStart, ASessionStartingAnotherAutoCadGivesUpTheIdOfItsLastOne) {
    ASSERT_EQ(acad.StartAcad(15), AcadReady);
    const std::uint32_t first = windows.LatestStandin()->ProcessId();
    windows.LatestStandin()->Terminate();
    acad.ClearWindows();
    ASSERT_EQ(acad.StartAcad(15), AcadReady);
    const std::uint32_t second = windows.LatestStandin()->ProcessId();
    ASSERT_NE(first, second);
    EXPECT_FALSE(processes_.OfOtherSession(first, 0));
    EXPECT_TRUE(processes_.OfOtherSession(second, 0));
}

TEST_F(SessionBoundStart, ItsAutoCadGetsAPelkaduOfItsOwnStartedRightAfterIt) {
    ASSERT_EQ(acad.StartAcad(15), AcadReady);
    const auto& calls = processes.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, LaunchKind::CreateProcess);
    EXPECT_EQ(calls[1].kind, LaunchKind::StartHidden);
    EXPECT_EQ(calls[1].argument, "\"C:\\Windows\\system32\\cmd.exe\" /c \"\"C:\\Tovimo\\Pelkadu\" /pid:" +
                                     std::to_string(windows.LatestStandin()->ProcessId()) + "\"");
    // No Pelkadu of the kind that presses any AutoCAD's dialog.
    acad.StartPelkadu();
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden).size(), 1u);
}

// A session whose new AutoCAD shows windows while its start is still being
// recorded: another session asking about them waits, and hears they are
// taken.
TEST(SessionProcessesStart, AnotherSessionAskingDuringTheStartHearsTheNewProcessIsTaken) {
    class AskingLauncher : public FakeProcessLauncher {
    public:
        explicit AskingLauncher(SessionProcesses& sessions) : sessions_(sessions) {}
        StartedProcess CreateProcess(const std::string&, std::uint32_t) override {
            struct Process : OwnedProcess {
                std::uint32_t Id() const override { return 77; }
                bool End() override { return false; }
                bool WaitForEnd(int) override { return false; }
            };
            asker = std::thread([this] {
                asking = true;
                answer = sessions_.OfOtherSession(77, 0);
            });
            while (!asking) std::this_thread::yield();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return {true, std::make_unique<Process>()};
        }
        std::thread asker;
        std::atomic<bool> asking{false};
        std::atomic<bool> answer{false};

    private:
        SessionProcesses& sessions_;
    };
    SessionProcesses sessions;
    AskingLauncher launcher(sessions);
    EXPECT_EQ(sessions.Start(1, launcher, "acad.exe", 0).process->Id(), 77u);
    launcher.asker.join();
    EXPECT_TRUE(launcher.answer);
}

TEST_F(SessionBoundStart, AnAutoCadNoSessionStartedIsStillAnotherAutoCad) {
    windows.StartStandin(std::vector<std::string>{});
    clock.Sleep(100);
    EXPECT_EQ(acad.StartAcad(15), OtherAcadRunning);
    EXPECT_TRUE(processes.CallsOf(LaunchKind::CreateProcess).empty());
}

}  // namespace
}  // namespace tovimo::testing
