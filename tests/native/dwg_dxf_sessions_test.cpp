// Runs with several AutoCADs side by side, on the stand-in: every drawing
// handed out once and converted as with one AutoCAD, the list in the run's
// order, each session's set-up and restore, one session lost while the
// others go on, and Cancel with every session busy.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "conversion_fixture.h"
#include "dismisser/pelkadu.h"
#include "virtual_threads.h"

namespace tovimo::testing {
namespace {

const std::vector<std::string> VariablesSetUp{"FILEDIA\n", "0\n", "ISAVEBAK\n", "0\n", "PROXYNOTICE\n", "0\n"};
const std::vector<std::string> Restore{"FILEDIA\n", "1\n", "ISAVEBAK\n", "1\n", "PROXYNOTICE\n", "1\n"};

class SessionsTest : public ConversionFixture {
protected:
    SessionsTest() {
        converter->SetWorkerThreads(threads);
        files.AddFolder("D:\\図面");
        settings.AcadClose = true;
        settings.Rewite = true;
        settings.AcadArg = "/opendelay:400 /savedelay:200";
    }

    // D01.dwg ... Dnn.dwg; the drawings named in failing fail to open.
    std::vector<std::string> Drawings(int count, const std::set<int>& failing = {},
                                      const std::map<int, std::string>& markers = {}) {
        std::vector<std::string> paths;
        for (int i = 1; i <= count; ++i) {
            const std::string path = "D:\\図面\\D" + std::string(i < 10 ? "0" : "") +
                                     std::to_string(i) + ".dwg";
            const auto marker = markers.find(i);
            AddDrawing(path, failing.count(i) ? "FAIL"
                             : marker != markers.end() ? marker->second
                                                        : "");
            paths.push_back(path);
        }
        return paths;
    }

    static std::vector<std::string> Texts(const FakeStandin& standin) {
        std::vector<std::string> texts;
        for (const auto& t : standin.Typed()) texts.push_back(t.text);
        return texts;
    }
    // The drawings each stand-in opened ("read" in its log).
    static std::vector<std::string> Opened(const FakeStandin& standin) {
        std::vector<std::string> paths;
        for (const auto& entry : standin.Log("read")) paths.push_back(entry.Field(0));
        return paths;
    }
    std::vector<std::pair<std::string, SkipReason>> Listed() const {
        std::vector<std::pair<std::string, SkipReason>> listed;
        for (const auto& s : converter->LastSkipped()) listed.emplace_back(s.path, s.reason);
        return listed;
    }
    // How often each file was written, over every stand-in.
    std::map<std::string, int> Writes() const {
        std::map<std::string, int> writes;
        for (const auto* standin : windows.Standins())
            for (const auto& entry : standin->Log("write")) ++writes[entry.Field(0)];
        return writes;
    }

    // Runs Pelkadu as WinExecHidden was asked to, on a thread of its own,
    // for the process its command line names.
    void RunPelkadu(const std::string& commandLine) {
        std::vector<std::string> arguments;
        if (const auto at = commandLine.find("/pid:"); at != std::string::npos)
            arguments.push_back(commandLine.substr(at, commandLine.find('"', at) - at));
        const std::optional<PelkaduTarget> target = PelkaduTargetOf(arguments);
        pelkadus_.push_back(threads.Start([this, target] {
            if (target) tovimo::RunPelkadu(windows, clock, *target);
        }));
    }
    // Lets every Pelkadu end: at the latest after its 200 attempts.
    void EndPelkadus() {
        const auto running = [this] {
            return std::any_of(pelkadus_.begin(), pelkadus_.end(),
                               [](const auto& pelkadu) { return !pelkadu->Finished(); });
        };
        while (running()) clock.Sleep(100);
        pelkadus_.clear();
    }

    VirtualThreads threads{clock};

private:
    std::vector<std::unique_ptr<Worker>> pelkadus_;
};

TEST_F(SessionsTest, ThreeSessionsConvertTwentyDrawingsOnceEachAndListTheRestInTheRunsOrder) {
    const auto sources = Drawings(20, {5, 13});
    files.AddFile("D:\\図面\\D17.dxf", "old result");
    settings.Rewite = false;  // D17's result exists: listed as a run with one lists it
    settings.AcadCount = 3;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);

    ASSERT_EQ(windows.Standins().size(), 3u);
    EXPECT_EQ(threads.Started(), 3);
    // Every drawing opened by exactly one session; every session did some.
    std::multiset<std::string> opened;
    for (const auto* standin : windows.Standins()) {
        const auto mine = Opened(*standin);
        EXPECT_GE(mine.size(), 4u);
        opened.insert(mine.begin(), mine.end());
        // Each session's set-up before its first drawing, the restore and quit after its last.
        const auto texts = Texts(*standin);
        ASSERT_GE(texts.size(), 13u);
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 6), VariablesSetUp);
        EXPECT_EQ(std::vector<std::string>(texts.end() - 7, texts.end() - 1), Restore);
        EXPECT_EQ(texts.back(), "quit\n");
        EXPECT_TRUE(standin->Ended());
    }
    EXPECT_EQ(opened, std::multiset<std::string>(sources.begin(), sources.end()));
    // 17 results, each written once, none by two sessions.
    const auto writes = Writes();
    for (int i = 1; i <= 20; ++i) {
        const std::string result = sources[i - 1].substr(0, sources[i - 1].size() - 4) + ".dxf";
        const bool converted = i != 5 && i != 13 && i != 17;
        EXPECT_EQ(writes.count(result) ? writes.at(result) : 0, converted ? 1 : 0) << result;
        if (converted) {
            EXPECT_NE(files.ReadFile(result)->find("FORMAT DXF"), std::string::npos);
        }
    }
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {sources[4], SkipReason::OpenFailed},
                            {sources[12], SkipReason::OpenFailed},
                            {sources[16], SkipReason::ResultExists}}));
    // What AutoCAD showed comes through from each session: the box's
    // message, the overwrite question; nothing for those converted.
    EXPECT_EQ(converter->LastSkipped()[0].acadShown,
              sources[4] + " は有効な図面ファイルではありません。");
    EXPECT_EQ(converter->LastSkipped()[2].acadShown, "上書きしますか? <N> ");
    EXPECT_EQ(std::count(view.shown.begin(), view.shown.end(), ""), 17);
    ASSERT_EQ(view.skippedShown.size(), 1u);
    EXPECT_EQ(view.skippedShown[0].size(), 3u);
    // The progress counts finished drawings, up to all of them, then rests at 0.
    EXPECT_EQ(view.ranges, std::vector<int>{20});
    std::vector<int> counted(view.positions.begin(), view.positions.end() - 1);
    std::vector<int> expected(21);
    for (int i = 0; i <= 20; ++i) expected[i] = i;
    EXPECT_EQ(counted, expected);
    EXPECT_EQ(view.positions.back(), 0);
    EXPECT_EQ(view.cancelStates, (std::vector<bool>{true, false}));
    EXPECT_EQ(LastMessage(), FinishedText);
    // One Pelkadu per session.
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden).size(), 3u);
}

TEST_F(SessionsTest, SeveralSessionsListWhatOneListsAndAreFasterForIt) {
    const auto sources = Drawings(12, {3, 10}, {{7, "CONTINUE"}});
    settings.SaveTmpdwg = true;
    settings.AcadCount = 1;
    Run(sources);
    const auto one = Listed();
    const std::int64_t oneTook = clock.NowMs() - runStart;

    settings.AcadCount = 4;
    Run(sources);
    EXPECT_EQ(Listed(), one);
    ASSERT_EQ(one.size(), 3u);
    const std::int64_t fourTook = clock.NowMs() - runStart;
    EXPECT_LT(fourTook * 2, oneTook) << oneTook << " " << fourTook;
    // Each session saves its scratch drawing under its own name.
    std::set<std::string> scratch;
    for (const auto* standin : windows.Standins())
        for (const auto& entry : standin->Log("write"))
            if (entry.Field(0).find("tmp") != std::string::npos) scratch.insert(entry.Field(0));
    EXPECT_EQ(scratch, (std::set<std::string>{"C:\\Tovimo\\tmp.dwg", "C:\\Tovimo\\tmp2.dwg",
                                              "C:\\Tovimo\\tmp3.dwg", "C:\\Tovimo\\tmp4.dwg"}));
}

TEST_F(SessionsTest, ASessionWhoseAutoCadHangsIsRestartedWhileTheOthersConvertTheRest) {
    const auto sources = Drawings(9, {}, {{2, "HANG"}});
    settings.AcadCount = 3;
    settings.WaitLimit = 5;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {sources[1], SkipReason::AcadNotAnswering}}));
    const auto writes = Writes();
    for (int i = 0; i < 9; ++i) {
        if (i != 1) {
            EXPECT_EQ(writes.count(sources[i].substr(0, sources[i].size() - 4) + ".dxf"), 1u);
        }
    }
    // The hung one was ended and got nothing more; a fourth AutoCAD took its place.
    ASSERT_EQ(windows.Standins().size(), 4u);
    int hung = 0;
    for (const auto* standin : windows.Standins()) {
        if (standin->Hung()) {
            ++hung;
            EXPECT_TRUE(standin->Terminated());
            EXPECT_EQ(Opened(*standin).back(), sources[1]);
        } else {
            EXPECT_TRUE(standin->Ended());
            EXPECT_EQ(Texts(*standin).back(), "quit\n");
        }
    }
    EXPECT_EQ(hung, 1);
    EXPECT_EQ(view.restarts, (std::vector<std::pair<int, RestartCause>>{
                                 {1, RestartCause::AcadNotAnswering}}));
    EXPECT_FALSE(converter->LastRunLostAcad());  // the run reached its end
    EXPECT_EQ(LastMessage(), FinishedText);

    // Not started again: the others still convert the rest, but the run
    // ends as a run with one AutoCAD that stopped answering does.
    settings.RestartLimit = 0;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {sources[1], SkipReason::AcadNotAnswering}}));
    EXPECT_TRUE(converter->LastRunLostAcad());
    EXPECT_TRUE(converter->LastRunAcadNotAnswering());
}

TEST_F(SessionsTest, ASessionWhoseAutoCadCrashesIsRestartedAndTheOthersGoOnMeanwhile) {
    const auto sources = Drawings(10, {}, {{4, "CRASH"}});
    settings.AcadCount = 3;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {sources[3], SkipReason::AcadGone}}));
    ASSERT_EQ(windows.Standins().size(), 4u);
    const FakeStandin* crashed = nullptr;
    for (const auto* standin : windows.Standins())
        if (standin->Crashed()) crashed = standin;
    ASSERT_NE(crashed, nullptr);
    // While the crashed session started anew and prepared its AutoCAD, the
    // others opened drawings.
    const FakeStandin& fresh = *windows.Standins().back();
    const std::int64_t crashedAt = crashed->StartedAtMs() + crashed->Log().back().ms;
    ASSERT_FALSE(fresh.Log("read").empty());
    const std::int64_t freshFirstRead = fresh.StartedAtMs() + fresh.Log("read").front().ms;
    int openedMeanwhile = 0;
    for (const auto* standin : windows.Standins())
        if (standin != crashed && standin != &fresh)
            for (const auto& entry : standin->Log("read")) {
                const std::int64_t at = standin->StartedAtMs() + entry.ms;
                if (at > crashedAt && at < freshFirstRead) ++openedMeanwhile;
            }
    EXPECT_GE(openedMeanwhile, 1);
    // The fresh AutoCAD was prepared like the first ones, converted drawings and was closed.
    const auto texts = Texts(fresh);
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 6), VariablesSetUp);
    EXPECT_FALSE(Opened(fresh).empty());
    EXPECT_EQ(texts.back(), "quit\n");
    EXPECT_EQ(view.restarts, (std::vector<std::pair<int, RestartCause>>{
                                 {1, RestartCause::AcadGone}}));
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(SessionsTest, EachSessionCountsItsOwnLossesInARow) {
    // Two sessions each lose their first drawing: two losses in a row for
    // the run, but one for each session, so both start again and go on.
    const auto sources = Drawings(8, {}, {{1, "CRASH"}, {2, "CRASH"}});
    settings.AcadCount = 2;
    settings.RestartLimit = 2;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {sources[0], SkipReason::AcadGone}, {sources[1], SkipReason::AcadGone}}));
    EXPECT_EQ(windows.Standins().size(), 4u);
    EXPECT_EQ(view.restarts.size(), 2u);
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(SessionsTest, RestartEveryCountsEachSessionsOwnDrawings) {
    const auto sources = Drawings(12);
    settings.AcadCount = 3;
    settings.RestartEvery = 2;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_TRUE(Listed().empty());
    std::multiset<std::string> opened;
    for (const auto* standin : windows.Standins()) {
        const auto mine = Opened(*standin);
        // No AutoCAD converted more than two, and each was restored and closed.
        EXPECT_LE(mine.size(), 2u);
        opened.insert(mine.begin(), mine.end());
        const auto texts = Texts(*standin);
        ASSERT_GE(texts.size(), 7u);
        EXPECT_EQ(std::vector<std::string>(texts.end() - 7, texts.end() - 1), Restore);
        EXPECT_TRUE(standin->Ended());
    }
    EXPECT_EQ(opened, std::multiset<std::string>(sources.begin(), sources.end()));
    EXPECT_GE(windows.Standins().size(), 6u);
    for (const auto& [number, cause] : view.restarts) EXPECT_EQ(cause, RestartCause::Scheduled);
    EXPECT_EQ(view.restarts.size() + 3, windows.Standins().size());
}

TEST_F(SessionsTest, ACancelStopsEachSessionBeforeItsFreshStart) {
    const auto sources = Drawings(6);
    settings.AcadCount = 2;
    settings.RestartEvery = 1;
    settings.AcadClose = false;
    // Once both sessions are in their first drawing.
    pump.onRun = [&](int) {
        const auto standins = windows.Standins();
        if (standins.size() == 2 && std::all_of(standins.begin(), standins.end(), [](const auto* s) {
                const auto texts = Texts(*s);
                return std::count(texts.begin(), texts.end(), "open\n") == 1;
            }))
            converter->Canceled = true;
    };
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(Writes().size(), 2u);
    // Neither was closed for a fresh start, nor was another started.
    EXPECT_TRUE(view.restarts.empty());
    ASSERT_EQ(windows.Standins().size(), 2u);
    for (const auto* standin : windows.Standins()) EXPECT_FALSE(standin->Ended());
    EXPECT_EQ(LastMessage(), CanceledText);
}

TEST_F(SessionsTest, EachSessionSetsItsAutoCadToOneDrawingAtATimeAndPutsSdiBack) {
    const auto sources = Drawings(9);
    settings.AcadCount = 3;
    settings.SingleDocument = 1;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    ASSERT_EQ(windows.Standins().size(), 3u);
    for (const auto* standin : windows.Standins()) {
        EXPECT_FALSE(Opened(*standin).empty());
        std::vector<std::string> sdi;
        for (const auto& entry : standin->Log("sysvar"))
            if (entry.Field(0) == "SDI") sdi.push_back(entry.Field(1));
        EXPECT_EQ(sdi, (std::vector<std::string>{"1", "0"}));
        for (const auto& entry : standin->Log("documents")) EXPECT_EQ(entry.Field(0), "1");
        // After the other variables, before quit.
        const auto texts = Texts(*standin);
        ASSERT_GE(texts.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
                  (std::vector<std::string>{"SDI\n", "0\n", "quit\n"}));
    }
    EXPECT_TRUE(Listed().empty());
}

TEST_F(SessionsTest, WhenEverySessionIsLostTheDrawingsNoneTookAreListedWithTheReason) {
    const auto sources = Drawings(5, {}, {{1, "HANG"}, {2, "HANG"}});
    settings.AcadCount = 2;
    settings.WaitLimit = 5;
    settings.RestartLimit = 0;
    Run(sources);
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {sources[0], SkipReason::AcadNotAnswering},
                            {sources[1], SkipReason::AcadNotAnswering},
                            {sources[2], SkipReason::AcadNotAnswering},
                            {sources[3], SkipReason::AcadNotAnswering},
                            {sources[4], SkipReason::AcadNotAnswering}}));
    EXPECT_TRUE(converter->LastRunAcadNotAnswering());
    EXPECT_EQ(LastMessage(), CanceledText);
}

TEST_F(SessionsTest, TwoDrawingsSavedToOneResultAreNeverWrittenBySeveralSessions) {
    // Both X.dwg are saved to D:\出力\X.dxf: only the first in the run's order is.
    files.AddFolder("D:\\図面\\a");
    files.AddFolder("D:\\図面\\b");
    files.AddFolder("D:\\出力");
    const std::vector<std::string> sources{"D:\\図面\\a\\X.dwg", "D:\\図面\\a\\Y.dwg",
                                           "D:\\図面\\b\\X.dwg", "D:\\図面\\b\\Z.dwg"};
    for (const auto& source : sources) AddDrawing(source);
    settings.SaveSameDir = false;
    settings.SaveDir = "D:\\出力";
    settings.SaveChildDir = false;
    settings.AcadCount = 3;
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, SkipReason>>{
                            {sources[2], SkipReason::TargetTaken}}));
    const auto writes = Writes();
    EXPECT_EQ(writes.at("D:\\出力\\X.dxf"), 1);
    std::multiset<std::string> opened;
    for (const auto* standin : windows.Standins())
        for (const auto& path : Opened(*standin)) opened.insert(path);
    EXPECT_EQ(opened.count(sources[2]), 0u);
    EXPECT_EQ(opened.size(), 3u);
    EXPECT_EQ(view.ended.size(), 4u);
}

TEST_F(SessionsTest, CancelWithThreeSessionsBusyLetsEachFinishItsDrawingThenRestoresAndCloses) {
    const auto sources = Drawings(15);
    settings.AcadCount = 3;
    // Well into the run, when every session is in a drawing.
    const std::int64_t cancelAt = 9000;
    clock.ScheduleAfter(cancelAt, [&] { converter->Canceled = true; });
    ASSERT_EQ(Run(sources), ConvertCarriedOut);

    std::size_t openedCount = 0;
    for (const auto* standin : windows.Standins()) {
        const auto log = standin->Log();
        // Its last drawing was begun ("open" typed) before the cancel and saved after it.
        std::int64_t lastBegun = -1, lastWrite = -1;
        for (const auto& typed : standin->Typed())
            if (typed.text == "open\n") lastBegun = typed.timeMs;
        for (const auto& entry : log)
            if (entry.kind == "write") lastWrite = entry.ms + standin->StartedAtMs();
        EXPECT_LT(lastBegun, cancelAt);
        EXPECT_GT(lastWrite, cancelAt);
        openedCount += Opened(*standin).size();
        const auto texts = Texts(*standin);
        EXPECT_EQ(std::vector<std::string>(texts.end() - 7, texts.end() - 1), Restore);
        EXPECT_TRUE(standin->Ended());
    }
    EXPECT_LT(openedCount, sources.size());
    // Every drawing begun was finished and converted; the rest were never reached.
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(Writes().size(), openedCount);
    EXPECT_EQ(view.positions.end()[-2], static_cast<int>(openedCount));
    EXPECT_EQ(LastMessage(), CanceledText);
}

TEST_F(SessionsTest, AnotherAutoCadStopsTheRunBeforeAnySessionStarts) {
    windows.StartStandin(std::vector<std::string>{});
    clock.Sleep(100);
    settings.AcadCount = 3;
    EXPECT_EQ(Run(Drawings(4)), ConvertOtherAcadRunning);
    EXPECT_EQ(windows.Standins().size(), 1u);
    EXPECT_TRUE(processes.CallsOf(LaunchKind::CreateProcess).empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.cancelStates.empty());
}

TEST_F(SessionsTest, SessionsStartSideBySideAndEachPelkaduPressesOnlyItsOwnAutoCadsDialog) {
    // AutoCADs that show their windows and startup dialogs at the same moment,
    // three seconds after they are started; every Pelkadu runs.
    processes.onStartHidden = [this](const std::string& commandLine) { RunPelkadu(commandLine); };
    settings.AcadArg += " /startup /startdelay:3000";
    settings.AcadCount = 3;
    ASSERT_EQ(Run(Drawings(6)), ConvertCarriedOut);
    EndPelkadus();
    EXPECT_TRUE(converter->LastSkipped().empty());

    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 3u);
    const auto pelkadus = processes.CallsOf(LaunchKind::StartHidden);
    ASSERT_EQ(pelkadus.size(), 3u);
    for (const LaunchCall& call : processes.Calls()) EXPECT_EQ(call.creationFlags, DetachedFromConsole);
    for (std::size_t k = 0; k < standins.size(); ++k) {
        SCOPED_TRACE(k);
        // Started with the others, not after their prompts.
        EXPECT_EQ(standins[k]->StartedAtMs(), standins[0]->StartedAtMs());
        EXPECT_EQ(standins[k]->Log("pressed").size(), 1u);
        EXPECT_EQ(Opened(*standins[k]).size(), 2u);
        const std::string target = "/pid:" + std::to_string(standins[k]->ProcessId()) + "\"";
        EXPECT_EQ(std::count_if(pelkadus.begin(), pelkadus.end(),
                                [&](const std::string& line) {
                                    return line.find(target) != std::string::npos;
                                }),
                  1);
    }
}

TEST_F(SessionsTest, AnAutoCadThatShowsNoWindowsIsEndedAndTheOthersConvertEveryDrawing) {
    // The second AutoCAD started never shows its windows.
    windows.onStandinStarted = [this](FakeStandin&) {
        processes.SetEnvironmentOptions("/startdelay:100000000");
    };
    settings.AcadCount = 2;
    const auto sources = Drawings(5);
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(LastMessage(), FinishedText);
    const auto standins = windows.Standins();
    ASSERT_EQ(standins.size(), 2u);
    EXPECT_EQ(Opened(*standins[0]).size(), 5u);
    EXPECT_TRUE(standins[0]->Ended());
    EXPECT_FALSE(standins[0]->Terminated());
    EXPECT_TRUE(standins[1]->Terminated());
    EXPECT_EQ(processes.EndedProcesses(), std::vector<std::uint32_t>{standins[1]->ProcessId()});
    // Told as it happens, with the one AutoCAD that goes on.
    ASSERT_EQ(view.unstarted.size(), 1u);
    EXPECT_EQ(view.unstarted[0].second, 1);
    EXPECT_FALSE(converter->LastRunLostAcad());
}

TEST_F(SessionsTest, TheAutoCadsToldToGoOnLeaveOutOneThatCouldNotBeStartedAtAll) {
    int started = 0;
    windows.onStandinStarted = [&](FakeStandin&) {
        // The second never shows its windows; the third cannot be started.
        if (++started == 1)
            processes.SetEnvironmentOptions("/startdelay:100000000");
        else
            processes.SetCreateProcessResult(false);
    };
    settings.AcadCount = 3;
    ASSERT_EQ(Run(Drawings(5)), ConvertCarriedOut);
    EXPECT_EQ(Opened(*windows.Standins()[0]).size(), 5u);
    ASSERT_EQ(view.unstarted.size(), 1u);
    EXPECT_EQ(view.unstarted[0].second, 1);
}

TEST_F(SessionsTest, AnAutoCadThatCannotBeStartedEndsTheRunWithNoPelkaduLeftLooking) {
    converter->SetAcadPath("C:\\Acad\\missing.exe");
    settings.AcadCount = 4;
    EXPECT_EQ(Run(Drawings(4)), ConvertStartFailed);
    EXPECT_EQ(processes.CallsOf(LaunchKind::CreateProcess).size(), 4u);
    // A Pelkadu goes with an AutoCAD that was started, and none was.
    EXPECT_TRUE(processes.CallsOf(LaunchKind::StartHidden).empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(converter->LastSkipped().empty());
}

TEST_F(SessionsTest, SessionsLeftOpenAreTakenUpAgainByTheNextRun) {
    settings.AcadClose = false;
    settings.AcadCount = 2;
    const auto sources = Drawings(4);
    Run(sources);
    ASSERT_EQ(windows.Standins().size(), 2u);
    Run(sources);
    EXPECT_EQ(windows.Standins().size(), 2u);  // nothing started anew
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(SessionsTest, SessionCountsOutsideOneToEightAndSeveralWithoutAProgramAreRefused) {
    for (int count : {0, -1, 9}) {
        settings.AcadCount = count;
        EXPECT_EQ(Run({"D:\\図面\\A.dwg"}), ConvertRefused);
        EXPECT_NE(LastMessage().find("AcadCount"), std::string::npos);
        EXPECT_NE(LastMessage().find(std::to_string(count)), std::string::npos);
    }
    settings.AcadCount = 2;
    converter->SetAcadPath("");
    EXPECT_EQ(Run({"D:\\図面\\A.dwg"}), ConvertRefused);
    EXPECT_NE(LastMessage().find("AcadPath"), std::string::npos);
    EXPECT_TRUE(processes.Calls().empty());
    EXPECT_TRUE(windows.Messages().empty());
    // Eight is allowed.
    converter->SetAcadPath(StandinProgram);
    settings.AcadCount = 8;
    EXPECT_EQ(Run(Drawings(2)), ConvertCarriedOut);
}

}  // namespace
}  // namespace tovimo::testing
