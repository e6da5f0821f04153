// Runs that lose AutoCAD on the way, a crash or a hang, and go on with a new
// one; and runs that start AutoCAD afresh every few drawings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion_fixture.h"

namespace tovimo::testing {
namespace {

class ConvertRestart : public ConversionFixture {
protected:
    void SetUp() override {
        settings.WaitLimit = 5;
        settings.AcadClose = true;
        settings.StartWait = 15;
    }
    // Five drawings; a marker on those named.
    std::vector<std::string> FiveDrawings(const std::vector<std::pair<int, std::string>>& markers = {}) {
        std::vector<std::string> sources;
        for (int n = 1; n <= 5; ++n) {
            std::string marker;
            for (const auto& [which, text] : markers)
                if (which == n) marker = text;
            sources.push_back("D:\\図面\\" + std::to_string(n) + ".dwg");
            AddDrawing(sources.back(), marker);
        }
        return sources;
    }
    bool Converted(int n) const {
        return files.ReadFile("D:\\図面\\" + std::to_string(n) + ".dxf").has_value();
    }
    std::vector<std::pair<std::string, SkipReason>> Listed() const {
        std::vector<std::pair<std::string, SkipReason>> listed;
        for (const auto& s : converter->LastSkipped()) listed.emplace_back(s.name, s.reason);
        return listed;
    }
    // FILEDIA was set to 0 in the stand-in (the run's set-up reached it).
    static bool SetUp(const FakeStandin& standin) {
        for (const auto& entry : standin.Log("sysvar"))
            if (entry.Field(0) == "FILEDIA" && entry.Field(1) == "0") return true;
        return false;
    }
    static bool Restored(const FakeStandin& standin) {
        const auto sysvars = standin.Log("sysvar");
        return !sysvars.empty() && sysvars.back().Field(0) == "PROXYNOTICE" &&
               sysvars.back().Field(1) == "1";
    }
};

TEST_F(ConvertRestart, ACrashOnTheSecondDrawingCostsThatDrawingOnly) {
    const auto sources = FiveDrawings({{2, "CRASH"}});
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 2u);
    EXPECT_TRUE(standins[0]->Crashed());
    EXPECT_TRUE(processes.EndedProcesses().empty());  // it had ended by itself
    for (int n : {1, 3, 4, 5}) EXPECT_TRUE(Converted(n)) << n;
    EXPECT_FALSE(Converted(2));
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{{"2.dwg", SkipReason::AcadGone}}));
    EXPECT_EQ(view.restarts, (std::vector<std::pair<int, RestartCause>>{{1, RestartCause::AcadGone}}));
    // The new AutoCAD is prepared as at the run's start, and put back and closed at its end.
    EXPECT_TRUE(SetUp(*standins[1]));
    EXPECT_TRUE(Restored(*standins[1]));
    EXPECT_TRUE(standins[1]->Ended());
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden).size(), 2u);  // Pelkadu for each start
    EXPECT_EQ(LastMessage(), FinishedText);
    EXPECT_FALSE(converter->LastRunLostAcad());
    EXPECT_EQ(converter->LastRunRestarts(), 1);
    EXPECT_EQ(view.positions.back(), 0);
    EXPECT_EQ(view.ended.size(), 5u);
}

TEST_F(ConvertRestart, AHungAutoCadIsEndedAndNothingMoreIsTypedIntoIt) {
    const auto sources = FiveDrawings({{2, "HANG"}});
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 2u);
    EXPECT_TRUE(standins[0]->Terminated());
    EXPECT_EQ(processes.EndedProcesses(), std::vector<std::uint32_t>{standins[0]->ProcessId()});
    EXPECT_EQ(standins[0]->Typed().back().text, "D:\\図面\\2.dwg\n");
    for (int n : {1, 3, 4, 5}) EXPECT_TRUE(Converted(n)) << n;
    EXPECT_EQ(Listed(),
              (std::vector<std::pair<std::string, SkipReason>>{{"2.dwg", SkipReason::AcadNotAnswering}}));
    EXPECT_EQ(view.restarts,
              (std::vector<std::pair<int, RestartCause>>{{1, RestartCause::AcadNotAnswering}}));
    EXPECT_TRUE(SetUp(*standins[1]));
    EXPECT_EQ(LastMessage(), FinishedText);
    EXPECT_FALSE(converter->LastRunAcadNotAnswering());
}

TEST_F(ConvertRestart, OnlyTheLostAutoCadsProcessIsEnded) {
    // Another program's AutoCAD-like window lives on beside the run.
    const WindowHandle bystander = windows.AddTopWindow("AutoCAD 2000 - [other.dwg]");
    const auto sources = FiveDrawings({{1, "HANG"}, {3, "HANG"}});
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 3u);
    EXPECT_EQ(processes.EndedProcesses(),
              (std::vector<std::uint32_t>{standins[0]->ProcessId(), standins[1]->ProcessId()}));
    EXPECT_TRUE(windows.Exists(bystander));
    EXPECT_FALSE(standins[2]->Terminated());
    for (int n : {2, 4, 5}) EXPECT_TRUE(Converted(n)) << n;
}

TEST_F(ConvertRestart, AProcessIdGivenAgainWhileTheLostAutoCadIsWaitedForIsNeverEnded) {
    const auto sources = FiveDrawings();
    // During the second drawing's open AutoCAD's windows go, but its
    // process lingers 250 ms (a crash report); then it ends and Windows
    // gives its id to a program of the user's.
    FakeStandin* stranger = nullptr;
    bool staged = false;
    pump.onRun = [&](int) {
        const auto typed = windows.CopyDataTexts();
        if (staged || typed.empty() || typed.back().text != sources[1] + "\n") return;
        staged = true;
        FakeStandin& lost = Standin();
        windows.RemoveWindow(lost.TextWindow());
        windows.RemoveWindow(lost.MainWindow());
        clock.ScheduleAfter(250, [&] {
            lost.Terminate();
            windows.ReuseProcessId(lost.ProcessId());
            stranger = &windows.StartStandin(std::vector<std::string>{"/startdelay:100000000"});
        });
    };
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    ASSERT_NE(stranger, nullptr);
    EXPECT_EQ(stranger->ProcessId(), windows.Standins()[0]->ProcessId());
    // The wait ended with the lost one's end, and nothing was ended by its id.
    EXPECT_FALSE(stranger->Terminated());
    EXPECT_TRUE(processes.EndedProcesses().empty());
    for (int n : {1, 3, 4, 5}) EXPECT_TRUE(Converted(n)) << n;
    EXPECT_EQ(view.restarts, (std::vector<std::pair<int, RestartCause>>{{1, RestartCause::AcadGone}}));
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(ConvertRestart, AHungAutoCadWhoseProcessCannotBeOpenedIsNeverEnded) {
    // Started through the file association, without a process handle: its
    // main window's process is opened once, and here that fails.
    converter->SetAcadPath("");
    processes.AssociateDrawings(windows);
    processes.onShellOpen = [this](const std::string& file) {
        windows.StartStandin(std::vector<std::string>{file});
        return true;
    };
    processes.onOpenProcess = [](std::uint32_t) { return false; };
    const auto sources = FiveDrawings({{2, "HANG"}});
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    ASSERT_EQ(windows.Standins().size(), 1u);  // nor is another started beside it
    EXPECT_EQ(processes.OpenedProcesses(), std::vector<std::uint32_t>{windows.Standins()[0]->ProcessId()});
    EXPECT_TRUE(processes.EndedProcesses().empty());
    EXPECT_FALSE(windows.Standins()[0]->Terminated());
    EXPECT_TRUE(converter->LastRunAcadNotAnswering());
    windows.Standins()[0]->Terminate();
}

TEST_F(ConvertRestart, CrashesOnEveryDrawingEndTheRunAtTheRestartLimit) {
    struct Case {
        int limit;
        std::size_t starts;
    };
    for (const Case c : {Case{3, 3}, Case{0, 1}, Case{1, 1}}) {
        SCOPED_TRACE(c.limit);
        const std::size_t before = windows.Standins().size();
        view = RecordingView{};
        settings.RestartLimit = c.limit;
        const auto sources = FiveDrawings({{1, "CRASH"}, {2, "CRASH"}, {3, "CRASH"}, {4, "CRASH"}, {5, "CRASH"}});
        ASSERT_EQ(Run(sources), ConvertCarriedOut);
        EXPECT_EQ(windows.Standins().size() - before, c.starts);
        // Every drawing is listed once, those never reached with the loss.
        ASSERT_EQ(converter->LastSkipped().size(), 5u);
        for (const auto& s : converter->LastSkipped()) EXPECT_EQ(s.reason, SkipReason::AcadGone);
        EXPECT_EQ(view.restarts.size(), c.starts - 1);
        EXPECT_TRUE(converter->LastRunLostAcad());
        EXPECT_EQ(LastMessage(), CanceledText);
    }
}

TEST_F(ConvertRestart, LossesApartDoNotAddUp) {
    settings.RestartLimit = 1;
    const auto sources = FiveDrawings({{1, "CRASH"}, {3, "CRASH"}});
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    // One loss in a row reaches a limit of 1: the run ends at the first.
    EXPECT_EQ(windows.Standins().size(), 1u);
    settings.RestartLimit = 2;
    const auto again = FiveDrawings({{1, "CRASH"}, {3, "CRASH"}, {5, "CRASH"}});
    ASSERT_EQ(Run(again), ConvertCarriedOut);
    EXPECT_EQ(windows.Standins().size(), 1u + 4u);
    for (int n : {2, 4}) EXPECT_TRUE(Converted(n)) << n;
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(ConvertRestart, CancelDuringARestartEndsTheRunAtOnce) {
    const auto sources = FiveDrawings({{2, "HANG"}});
    view.onRestarting = [this](int, RestartCause) { converter->Canceled = true; };
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    // The hung AutoCAD is still ended, but none is started after it.
    ASSERT_EQ(windows.Standins().size(), 1u);
    EXPECT_TRUE(windows.Standins()[0]->Terminated());
    EXPECT_TRUE(Converted(1));
    for (int n : {3, 4, 5}) EXPECT_FALSE(Converted(n)) << n;
    EXPECT_EQ(Listed(),
              (std::vector<std::pair<std::string, SkipReason>>{{"2.dwg", SkipReason::AcadNotAnswering}}));
    EXPECT_EQ(LastMessage(), CanceledText);
}

TEST_F(ConvertRestart, CancelWhileWaitingForTheLostProcessEndsTheWait) {
    const auto sources = FiveDrawings({{2, "HANG"}});
    // TerminateProcess that does not take at once: the wait goes on until cancelled.
    processes.onEndProcess = [](std::uint32_t) { return true; };
    int pumped = 0;
    view.onRestarting = [&](int, RestartCause) {
        pump.onRun = [&](int) {
            if (++pumped == 3) converter->Canceled = true;
        };
    };
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(pumped, 3);
    EXPECT_EQ(windows.Standins().size(), 1u);
    EXPECT_EQ(LastMessage(), CanceledText);
}

TEST_F(ConvertRestart, AnAutoCadThatCannotBeStartedAgainEndsTheRun) {
    const auto sources = FiveDrawings({{2, "CRASH"}});
    view.onRestarting = [this](int, RestartCause) { processes.SetCreateProcessResult(false); };
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(windows.Standins().size(), 1u);
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {"2.dwg", SkipReason::AcadGone},
                            {"3.dwg", SkipReason::AcadRestartFailed},
                            {"4.dwg", SkipReason::AcadRestartFailed},
                            {"5.dwg", SkipReason::AcadRestartFailed}}));
    EXPECT_TRUE(converter->LastRunLostAcad());
    EXPECT_EQ(LastMessage(), CanceledText);
    EXPECT_TRUE(view.unstarted.empty());  // none was started

    // One started that shows no windows within StartWait is ended, and the
    // run says so before it ends as above.
    processes.SetCreateProcessResult(true);
    view = RecordingView{};
    view.onRestarting = [this](int, RestartCause) {
        processes.SetEnvironmentOptions("/startdelay:100000000");
    };
    ASSERT_EQ(Run(FiveDrawings({{2, "CRASH"}})), ConvertCarriedOut);
    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 3u);
    EXPECT_TRUE(standins[2]->Terminated());
    EXPECT_EQ(processes.EndedProcesses(), std::vector<std::uint32_t>{standins[2]->ProcessId()});
    EXPECT_EQ(view.unstarted, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(converter->LastSkipped().back().reason, SkipReason::AcadRestartFailed);
}

TEST_F(ConvertRestart, AHungProcessThatCannotBeEndedIsNotStartedBeside) {
    const auto sources = FiveDrawings({{2, "HANG"}});
    processes.onEndProcess = [](std::uint32_t) { return false; };
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    // Waited StartWait for its end, then gave up: a second AutoCAD would meet the first.
    EXPECT_EQ(windows.Standins().size(), 1u);
    EXPECT_EQ(converter->LastSkipped().back().reason, SkipReason::AcadRestartFailed);
    EXPECT_TRUE(converter->LastRunAcadNotAnswering());
}

TEST_F(ConvertRestart, ACrashOnTheLastDrawingStillEndsInAnAutoCadThatIsPutBack) {
    settings.AcadClose = false;
    const auto sources = FiveDrawings({{5, "CRASH"}});
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 2u);
    EXPECT_TRUE(Restored(*standins[1]));
    EXPECT_FALSE(standins[1]->Ended());  // AcadClose off: left running, linked
    EXPECT_EQ(converter->MainWindow, standins[1]->MainWindow());
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(ConvertRestart, RestartEveryGivesAFreshPreparedAutoCadEveryNDrawings) {
    settings.RestartEvery = 2;
    settings.AcadClose = false;
    const auto sources = FiveDrawings();
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 3u);
    for (const FakeStandin* standin : standins) EXPECT_TRUE(SetUp(*standin));
    // Closed, whatever AcadClose says, and never ended from outside.
    for (int k : {0, 1}) {
        EXPECT_TRUE(Restored(*standins[k]));
        EXPECT_TRUE(standins[k]->Ended());
        EXPECT_FALSE(standins[k]->Terminated());
    }
    EXPECT_FALSE(standins[2]->Ended());
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(Converted(n)) << n;
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(view.restarts, (std::vector<std::pair<int, RestartCause>>{
                                 {1, RestartCause::Scheduled}, {2, RestartCause::Scheduled}}));
    EXPECT_EQ(LastMessage(), FinishedText);
}

// Each AutoCAD of the run is set to one drawing at a time, the one after a
// crash and the renewed one alike; the renewed one and the last one get
// SDI back. An AutoCAD that finds the 1 a lost one kept gets the 0 the run
// first read.
TEST_F(ConvertRestart, EveryNewAutoCadIsSetToOneDrawingAtATime) {
    settings.SingleDocument = 1;
    settings.RestartEvery = 2;
    const auto sources = FiveDrawings({{2, "CRASH"}});
    using History = std::vector<std::vector<std::string>>;
    for (const auto& [kept, expected] : {std::make_pair(false, History{{"1"}, {"1", "0"}, {"1", "0"}}),
                                         std::make_pair(true, History{{"1"}, {"0"}, {"0"}})}) {
        const std::size_t first = windows.Standins().size();
        windows.onStandinStarted = [&, kept = kept](FakeStandin&) {
            if (kept) processes.SetEnvironmentOptions("/sdi:1");
        };
        ASSERT_EQ(Run(sources), ConvertCarriedOut);
        History sdi(3);
        ASSERT_EQ(windows.Standins().size(), first + 3);
        for (std::size_t k = 0; k < 3; ++k) {
            for (const auto& entry : windows.Standins()[first + k]->Log("sysvar"))
                if (entry.Field(0) == "SDI") sdi[k].push_back(entry.Field(1));
            for (const auto& entry : windows.Standins()[first + k]->Log("documents"))
                EXPECT_EQ(entry.Field(0), "1");
        }
        EXPECT_EQ(sdi, expected) << kept;
        processes.SetEnvironmentOptions("");
    }
    EXPECT_EQ(view.singleDocumentRefusals, 0);
}

TEST_F(ConvertRestart, RestartSettingsOutsideTheirRangesAreRefusedBeforeAnythingStarts) {
    struct Case {
        int limit, every;
        const char* key;
    };
    for (const Case c : {Case{-1, 0, "RestartLimit"}, Case{101, 0, "RestartLimit"},
                         Case{3, -1, "RestartEvery"}, Case{3, 100001, "RestartEvery"}}) {
        SCOPED_TRACE(c.key);
        settings.RestartLimit = c.limit;
        settings.RestartEvery = c.every;
        EXPECT_EQ(Run({"D:\\a.dwg"}), ConvertRefused);
        EXPECT_NE(LastMessage().find(c.key), std::string::npos);
    }
    EXPECT_TRUE(processes.Calls().empty());
    settings.RestartLimit = 100;
    settings.RestartEvery = 100000;
    AddDrawing("D:\\a.dwg");
    EXPECT_EQ(Run({"D:\\a.dwg"}), ConvertCarriedOut);
}

}  // namespace
}  // namespace tovimo::testing
