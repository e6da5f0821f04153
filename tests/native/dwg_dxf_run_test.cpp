// The frame of a conversion run: the exact texts and pauses of the variable
// set-up, a drawing and the restore, Cancel, and the run's refusals.
#include <gtest/gtest.h>

#include <tuple>

#include "conversion_fixture.h"

namespace tovimo::testing {
namespace {

// An AutoCAD made of test windows whose command line always shows the
// command prompt: every wait ends at its first test.
class ConvertFrame : public ConversionFixture {
protected:
    ConvertFrame() { LinkTestWindows("ｺﾏﾝﾄﾞ: "); }
};

TEST_F(ConvertFrame, TheWorkedExampleTypesEachLineAtItsTime) {
    converter->MacroLines = {"C1", "#FILE", "C2", "#SAVEFILE"};
    ASSERT_EQ(Run({"D:\\図面\\A.dwg"}), ConvertCarriedOut);
    // Pelkadu 100, reached 500, first prompt 50; each set-up text 60 + W.
    const std::vector<TimedText> expected{
        {650, "FILEDIA\n"}, {810, "0\n"}, {970, "ISAVEBAK\n"}, {1130, "0\n"},
        {1290, "PROXYNOTICE\n"}, {1450, "0\n"},
        // The drawing: C1 60 + prompt 50 + W; the open watch 50 and the
        // prompt wait 50; "#SAVEFILE" waits W before its checks too.
        {1610, "C1\n"}, {1820, "D:\\図面\\A.dwg\n"}, {2080, "C2\n"}, {2290, "D:\\図面\\A\n"},
        {2600, "FILEDIA\n"}, {2760, "1\n"}, {2920, "ISAVEBAK\n"}, {3080, "1\n"},
        {3240, "PROXYNOTICE\n"}, {3400, "1\n"}};
    EXPECT_EQ(TypedSinceRun(), expected);
    EXPECT_EQ(clock.NowMs() - runStart, 3560);
    EXPECT_EQ(view.cancelStates, (std::vector<bool>{true, false}));
    EXPECT_EQ(view.ranges, std::vector<int>{1});
    EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 0}));
    // Test windows write nothing, so the target that the macro named is missing.
    ASSERT_EQ(view.skippedShown.size(), 1u);
    ASSERT_EQ(view.skippedShown[0].size(), 1u);
    EXPECT_EQ(view.skippedShown[0][0].reason, SkipReason::ResultNotWritten);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, FinishedText);
    EXPECT_EQ(view.messages[0].second, EndCaption);
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden).size(), 1u);  // Pelkadu, every run
}

TEST_F(ConvertFrame, TheRestoreSendsTheConfiguredEndValues) {
    settings.FileDia = -1;
    settings.ISaveBak = 0;
    settings.ProxyNotice = 12;
    settings.CommandWait = 0;
    converter->MacroLines.clear();
    Run({});
    const auto texts = TextsSinceRun();
    EXPECT_EQ(std::vector<std::string>(texts.end() - 6, texts.end()),
              (std::vector<std::string>{"FILEDIA\n", "-1\n", "ISAVEBAK\n", "0\n", "PROXYNOTICE\n", "12\n"}));
}

TEST_F(ConvertFrame, AnEmptyMacroOnlyAdvancesTheProgress) {
    converter->MacroLines.clear();
    settings.SaveTmpdwg = true;
    Run({"D:\\a.dwg", "D:\\b.dwg"});
    const auto texts = TextsSinceRun();
    // Set-up, one tmp.dwg save per drawing and one after them, restore.
    const std::vector<std::string> save{"saveas\n", "\n", "C:\\Tovimo\\tmp.dwg\n"};
    std::vector<std::string> expected{"FILEDIA\n", "0\n", "ISAVEBAK\n", "0\n", "PROXYNOTICE\n", "0\n"};
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), save.begin(), save.end());
    for (auto t : {"FILEDIA\n", "1\n", "ISAVEBAK\n", "1\n", "PROXYNOTICE\n", "1\n"}) expected.push_back(t);
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(ConvertFrame, AnEmptySourceListStillReachesAutoCadAndSetsTheVariables) {
    settings.AcadClose = true;
    Run({});
    EXPECT_EQ(TextsSinceRun().size(), 12u + 1u);  // set-up, restore, quit
    EXPECT_EQ(TextsSinceRun().back(), "quit\n");
    EXPECT_EQ(view.ranges, std::vector<int>{0});
    EXPECT_EQ(converter->MainWindow, 0u);  // closed and forgotten
}

TEST_F(ConvertFrame, AMacroWithoutFileIsSentAlikeForEveryDrawing) {
    converter->MacroLines = {"zoom", "#ENTER", "#ESC", "#TMPNAME", " #FILE", "#file"};
    settings.CommandWait = 0;
    Run({"D:\\a.dwg", "D:\\b.dwg"});
    auto texts = TextsSinceRun();
    const std::vector<std::string> lines{"zoom\n", "\n", "\x1b", "C:\\Tovimo\\tmp.dwg\n", " #FILE\n", "#file\n"};
    ASSERT_EQ(texts.size(), 12u + 2 * lines.size());
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 6, texts.begin() + 12), lines);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 12, texts.begin() + 18), lines);
}

TEST_F(ConvertFrame, CancelDuringDrawingKFinishesItAndStillRunsTheClosingSteps) {
    converter->MacroLines = {"open", "#FILE", "qsave"};
    settings.SaveTmpdwg = true;
    const std::vector<std::string> sources{"D:\\0.dwg", "D:\\1.dwg", "D:\\2.dwg", "D:\\3.dwg"};
    pump.onRun = [&](int) {
        const auto typed = windows.CopyDataTexts();
        if (!typed.empty() && typed.back().text == "D:\\1.dwg\n") converter->Canceled = true;
    };
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    const auto texts = TextsSinceRun();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "qsave\n"), 2);  // drawing 1 ran to its end
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "D:\\2.dwg\n"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "C:\\Tovimo\\tmp.dwg\n"), 3);  // 2 drawings + the last
    EXPECT_EQ(texts.back(), "1\n");  // the restore ran
    EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(LastMessage(), CanceledText);
    EXPECT_EQ(view.cancelStates.back(), false);

    // A run leaves the flag to whoever starts it: still set, it holds from
    // the start and no drawing is opened; cleared, the run goes through.
    view.messages.clear();
    pump.onRun = nullptr;
    const std::size_t typedBefore = windows.CopyDataTexts().size();
    Run({"D:\\0.dwg"});
    EXPECT_EQ(LastMessage(), CanceledText);
    for (std::size_t i = typedBefore; i < windows.CopyDataTexts().size(); ++i)
        EXPECT_NE(windows.CopyDataTexts()[i].text, "D:\\0.dwg\n");
    converter->Canceled = false;
    Run({"D:\\0.dwg"});
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(ConvertFrame, DynCancelSavesDynModeAndPutsItBack) {
    // A command line that answers the DYNMODE question with its value.
    pump.onRun = [&](int) {
        const auto typed = windows.CopyDataTexts();
        const bool asked = !typed.empty() && typed.back().text == "DYNMODE\n";
        windows.SetText(converter->CommandLineWindow,
                        asked ? "DYNMODE の新しい値を入力 <-3>: " : "ｺﾏﾝﾄﾞ: ");
    };
    settings.DYNCancel = true;
    settings.CommandWait = 0;
    converter->MacroLines.clear();
    Run({});
    EXPECT_EQ(TextsSinceRun(),
              (std::vector<std::string>{"FILEDIA\n", "0\n", "ISAVEBAK\n", "0\n", "PROXYNOTICE\n", "0\n",
                                        "DYNMODE\n", "\x1b", "DYNMODE\n", "0\n",
                                        "DYNMODE\n", "-3\n",
                                        "FILEDIA\n", "1\n", "ISAVEBAK\n", "1\n", "PROXYNOTICE\n", "1\n"}));
}

TEST_F(ConvertFrame, AWaitOutsideItsRangeIsRefusedBeforeAnythingIsSent) {
    const ConvertSettings good = settings;
    for (const auto& [wait, value, key] :
         {std::make_tuple(&ConvertSettings::CommandWait, -1, "CommandWait"),
          std::make_tuple(&ConvertSettings::CommandWait, 60001, "CommandWait"),
          std::make_tuple(&ConvertSettings::StartWait, 2147483647, "StartWait"),
          std::make_tuple(&ConvertSettings::WaitLimit, 0, "WaitLimit"),
          std::make_tuple(&ConvertSettings::WaitLimit, 86401, "WaitLimit"),
          std::make_tuple(&ConvertSettings::SingleDocument, 2, "SingleDocument"),
          std::make_tuple(&ConvertSettings::SingleDocument, -1, "SingleDocument")}) {
        settings = good;
        settings.*wait = value;
        view.messages.clear();
        EXPECT_EQ(Run({"D:\\a.dwg"}), ConvertRefused) << key << " " << value;
        EXPECT_TRUE(windows.Messages().empty());
        EXPECT_TRUE(processes.Calls().empty());
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].first.find(key), std::string::npos);
    }
}

TEST_F(ConvertFrame, AnAutoCadThatShowsNoPromptIsEndedThroughItsMainWindowsProcess) {
    // Its windows come at once, but its command line never shows a prompt;
    // the program started is a launcher, so the main window's process is
    // opened to hold it.
    windows.RemoveWindow(converter->MainWindow);
    windows.RemoveWindow(converter->TextWindow);
    converter->ClearWindows();
    FakeStandin* acad = nullptr;
    std::vector<WindowHandle> shown;
    bool cancelSoon = true;
    processes.onCreateProcess = [&](const std::string&) {
        acad = &windows.StartStandin(std::vector<std::string>{"/startdelay:100000000"});
        const WindowHandle main = windows.AddTopWindow("AutoCAD LT - [Drawing1.dwg]");
        windows.AddChildWindow(main, "ｺﾏﾝﾄﾞ");
        windows.AddChildWindow(main, "");
        windows.SetProcessId(main, acad->ProcessId());
        shown = {main, windows.AddTopWindow("AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ")};
        // A Cancel 2 s into the wait for its first prompt.
        clock.ScheduleAfter(2000, [&] { converter->Canceled = cancelSoon; });
        return true;
    };
    settings.WaitLimit = 600;
    settings.StartWait = 15;
    settings.AcadClose = true;
    ASSERT_EQ(Run({"D:\\a.dwg"}), ConvertCarriedOut);
    // StartWait after the Cancel, not WaitLimit; nothing typed, not even quit.
    EXPECT_LT(clock.NowMs() - runStart, 20000);
    EXPECT_TRUE(windows.CopyDataTexts().empty());
    ASSERT_NE(acad, nullptr);
    EXPECT_EQ(processes.OpenedProcesses(), std::vector<std::uint32_t>{acad->ProcessId()});
    EXPECT_TRUE(acad->Terminated());
    EXPECT_EQ(view.unstarted, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_TRUE(converter->LastSkipped().empty());  // cancelled, not skipped
    EXPECT_FALSE(converter->LastRunLostAcad());
    EXPECT_EQ(LastMessage(), CanceledText);

    // Without a Cancel it is given WaitLimit, then ended the same way, and
    // the drawing is listed with the limit.
    for (const WindowHandle window : shown) windows.RemoveWindow(window);  // they went with it
    cancelSoon = false;
    converter->Canceled = false;
    view = RecordingView{};
    settings.WaitLimit = 30;
    ASSERT_EQ(Run({"D:\\a.dwg"}), ConvertCarriedOut);
    EXPECT_GE(clock.NowMs() - runStart, 30000);
    EXPECT_TRUE(acad->Terminated());
    EXPECT_TRUE(windows.CopyDataTexts().empty());
    EXPECT_EQ(view.unstarted, (std::vector<std::pair<int, int>>{{1, 0}}));
    ASSERT_EQ(converter->LastSkipped().size(), 1u);
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::TimeLimit);
}

TEST_F(ConvertFrame, StartResultsArePassedOnAndNothingIsSent) {
    // Another AutoCAD, last in enumeration order.
    windows.SendToBack(windows.AddTopWindow("AutoCAD 2000 テキスト ウィンドウ"));
    EXPECT_EQ(Run({"D:\\a.dwg"}), ConvertOtherAcadRunning);
    EXPECT_TRUE(windows.CopyDataTexts().empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden).size(), 1u);  // Pelkadu still started
}

TEST_F(ConvertFrame, ACommandTextOver255BytesSkipsTheDrawingBeforeAnythingIsTyped) {
    converter->MacroLines = {"open", "#FILE", "saveas", "#SAVEFILE"};
    settings.CommandWait = 0;
    const std::string longPath = "D:\\" + std::string(250, 'x') + ".dwg";  // 258 bytes with Enter
    const std::string fits = "D:\\" + std::string(247, 'y') + ".dwg";   // 255 with Enter
    settings.SaveSameDir = false;
    settings.SaveChildDir = false;
    settings.SaveDir = "E:\\" + std::string(240, 'o');  // the long target of "fits" passes 255
    ASSERT_EQ(Run({longPath, "D:\\short.dwg", fits}), ConvertCarriedOut);
    const auto texts = TextsSinceRun();
    for (const auto& t : texts) EXPECT_LE(t.size(), 255u);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "open\n"), 1);
    // The short one is typed whole; test windows write no result for it.
    ASSERT_EQ(converter->LastSkipped().size(), 3u);
    EXPECT_EQ(converter->LastSkipped()[0].path, longPath);
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::PathTooLong);
    EXPECT_EQ(converter->LastSkipped()[1].reason, SkipReason::ResultNotWritten);
    EXPECT_EQ(converter->LastSkipped()[2].path, fits);
    EXPECT_EQ(converter->LastSkipped()[2].reason, SkipReason::PathTooLong);
    ASSERT_EQ(view.skippedShown.size(), 1u);
    EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 2, 3, 0}));
}

TEST_F(ConvertFrame, TargetPathRules) {
    converter->MacroLines = {"#SAVEFILE"};
    settings.CommandWait = 0;
    struct Case {
        bool sameDir, childDir;
        std::string source, expected;
    };
    const std::vector<Case> cases{
        {true, true, "D:\\図面\\A.dwg", "D:\\図面\\A\n"},  // Targets is not read
        {true, false, "D:\\a.b\\c", "D:\\a.b\\c\n"},
        {true, false, "D:\\x\\a.b.dwg", "D:\\x\\a.b\n"},
        {false, true, "D:\\図面\\A.dwg", "T:\\from-the-list\n"},
        {false, false, "D:\\図面\\A.dwg", "E:\\出力\\A\n"},
        {false, false, "D:\\ソ\\表.dxf", "E:\\出力\\表\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        settings.SaveSameDir = c.sameDir;
        settings.SaveChildDir = c.childDir;
        settings.SaveDir = "E:\\出力";
        windows.ClearMessages();
        Run({c.source}, {"T:\\from-the-list"});
        EXPECT_EQ(TextsSinceRun().at(6), c.expected);
    }
}

TEST(SkipNames, AreTheTrimmedFileName) {
    EXPECT_EQ(SkipName("D:\\図面\\ A.dwg \t"), "A.dwg");
    EXPECT_EQ(SkipName("D:a.dwg"), "a.dwg");
    EXPECT_EQ(SkipName("D:\\ソ"), "ソ");  // the trail byte 0x5C is no separator
}

}  // namespace
}  // namespace tovimo::testing
