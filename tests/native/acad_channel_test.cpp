// The command channel: typing into AutoCAD, reading its prompt, system
// variables, AutoCAD's message boxes, and closing AutoCAD.
#include <gtest/gtest.h>

#include "acad_fixture.h"
#include "acadlink/acad_shown_text.h"

namespace tovimo::testing {
namespace {

using Sleeps = std::vector<int>;

class AcadChannel : public AcadFixture {
protected:
    // A main window and a command line the test controls.
    void FakeAcadWindows(const std::string& commandLineText) {
        acad.MainWindow = windows.AddTopWindow("AutoCAD - [Drawing1.dwg]");
        acad.CommandLineWindow = windows.AddChildWindow(acad.MainWindow, commandLineText);
    }
};

TEST_F(AcadChannel, SendCommandTypesTheTextWithItsZeroAndWakesAutoCad) {
    FakeAcadWindows("ｺﾏﾝﾄﾞ: ");
    const std::string text(255, 'a');
    EXPECT_TRUE(acad.SendCommand(text));
    const auto& sent = windows.Messages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].kind, MessageKind::CopyData);
    EXPECT_EQ(sent[0].target, acad.MainWindow);
    EXPECT_EQ(sent[0].dwData, 1u);
    EXPECT_EQ(sent[0].cbData, 256u);
    EXPECT_EQ(sent[0].bytes, text + '\0');
    EXPECT_EQ(sent[1].kind, MessageKind::Null);
    EXPECT_EQ(sent[1].timeMs, 30);
    EXPECT_EQ(clock.Sleeps(), (Sleeps{30, 30}));
    EXPECT_EQ(pump.runs, 1);
}

TEST_F(AcadChannel, SendCommandSendsNothingForEmptyOrTooLongTextButLetsMessagesRun) {
    FakeAcadWindows("ｺﾏﾝﾄﾞ: ");
    EXPECT_TRUE(acad.SendCommand(""));
    EXPECT_FALSE(acad.SendCommand(std::string(256, 'a')));
    EXPECT_TRUE(windows.Messages().empty());
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(pump.runs, 2);
}

TEST_F(AcadChannel, PromptTestsLookAnywhereInTheCommandLine) {
    FakeAcadWindows("直前: コマンド: ");
    EXPECT_TRUE(acad.IsCommandPrompt());
    windows.SetText(acad.CommandLineWindow, "ｺﾏﾝﾄﾞ:");
    EXPECT_TRUE(acad.IsCommandPrompt());
    EXPECT_TRUE(acad.IsPrompting());  // the command prompt is a prompt too
    windows.SetText(acad.CommandLineWindow, "ｺﾏﾝﾄﾞ");
    EXPECT_FALSE(acad.IsCommandPrompt());
    EXPECT_FALSE(acad.IsPrompting());
    EXPECT_EQ(clock.Sleeps(), Sleeps(5, 50));

    // A stale handle reads empty.
    acad.CommandLineWindow = 0xDEAD;
    EXPECT_EQ(acad.ReadCommandLine(), "");
    EXPECT_FALSE(acad.IsPrompting());
}

TEST_F(AcadChannel, AWindowClaimingAHugeTextIsReadWithinTheCap) {
    FakeAcadWindows("ｺﾏﾝﾄﾞ: ");
    // A window that claims INT_MAX bytes on every poll: no 2 GiB buffer, no
    // overflow of the length, and the text it really has.
    windows.ClaimTextLength(acad.CommandLineWindow, 2147483647);
    EXPECT_EQ(acad.ReadCommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_TRUE(acad.IsCommandPrompt());
    EXPECT_EQ(windows.LargestTextBuffer(), static_cast<int>(MaxWindowTextBytes) + 1);

    // A text longer than the cap is read cut to it.
    windows.ClaimTextLength(acad.CommandLineWindow, -1);
    windows.SetText(acad.CommandLineWindow, std::string(MaxWindowTextBytes + 10, 'x'));
    EXPECT_EQ(acad.ReadCommandLine(), std::string(MaxWindowTextBytes, 'x'));
}

TEST_F(AcadChannel, AnswerPromptSendsEnterOnlyWhenTheTextShows) {
    FakeAcadWindows("ｼｪｲﾌﾟ ファイル ltypeshp.shx を読めません: ");
    EXPECT_FALSE(acad.AnswerPrompt("シェイプ"));
    EXPECT_TRUE(windows.Messages().empty());
    EXPECT_TRUE(clock.Sleeps().empty());  // no wait before the read
    EXPECT_TRUE(acad.AnswerPrompt("ｼｪｲﾌﾟ"));
    EXPECT_EQ(windows.CopyDataTexts(), (std::vector<TimedText>{{0, "\n"}}));
}

TEST_F(AcadChannel, SystemVariablesRoundTripThroughTheStandIn) {
    LinkStandin("/fullwidth");
    EXPECT_EQ(acad.GetSysVar("FILEDIA"), "1");
    acad.SetSysVar("FILEDIA", "0");
    acad.SetSysVar("DYNMODE", "-2");
    EXPECT_EQ(windows.LatestStandin()->Model().SysVar("FILEDIA"), "0");
    EXPECT_EQ(acad.GetSysVar("DYNMODE"), "-2");
    EXPECT_TRUE(acad.IsCommandPrompt());
    const auto typed = windows.LatestStandin()->Typed();
    ASSERT_GE(typed.size(), 2u);
    EXPECT_EQ(typed[0].text, "FILEDIA\n");
    EXPECT_EQ(typed[1].text, "\x1b");
}

TEST_F(AcadChannel, GetSysVarCutsTheValueOutOfTheTextReadLast) {
    struct Case {
        const char* prompt;
        const char* value;
    };
    for (const Case& c : {Case{"FILEDIA の新しい値を入力 <1>: ", "1"},
                          Case{"DIMPOST の新しい値を入力 <\"mm\">: ", "mm"},
                          Case{"値: \"a\"b\"", "a"},  // no angle brackets
                          Case{"値 \"x\" <3>: ", "3"},  // quotes outside the brackets
                          Case{"値を入力: ", "値を入力: "},
                          Case{"<表>: ", "表"}}) {
        SCOPED_TRACE(c.prompt);
        FakeAcadWindows(c.prompt);
        clock.ClearSleeps();
        EXPECT_EQ(acad.GetSysVar("X"), c.value);
        // The prompt came at once: one read, and the cancel after it.
        EXPECT_EQ(clock.Sleeps(), (Sleeps{30, 30, 10, 30, 30}));
    }
}

TEST_F(AcadChannel, ThePromptWaitGivesUpAfter301Reads) {
    FakeAcadWindows("<7> 処理中");
    EXPECT_EQ(acad.GetSysVar("X"), "7");
    Sleeps expected{30, 30};
    expected.insert(expected.end(), 301, 10);
    expected.insert(expected.end(), {30, 30});
    EXPECT_EQ(clock.Sleeps(), expected);

    clock.ClearSleeps();
    windows.ClearMessages();
    acad.SetSysVar("X", "5");  // sends the value all the same
    EXPECT_EQ(clock.Sleeps(), expected);
    const auto texts = windows.CopyDataTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "X\n");
    EXPECT_EQ(texts[1].text, "5\n");
    EXPECT_EQ(texts[1].timeMs - texts[0].timeMs, 60 + 3010);
}

TEST_F(AcadChannel, FindAcadDialogTakesTheFirstWindowOwnedByTheMainWindow) {
    FakeAcadWindows("ｺﾏﾝﾄﾞ: ");
    windows.AddTopWindow("AutoCAD メッセージ (unowned)");
    const WindowHandle stranger = windows.AddTopWindow("Other");
    windows.AddTopWindow("AutoCAD メッセージ (not ours)", "Dlg", stranger);
    const WindowHandle second = windows.AddTopWindow("AutoCAD メッセージ 2", "Dlg", acad.MainWindow);
    const WindowHandle first = windows.AddTopWindow("AutoCAD メッセージ 1", "Dlg", acad.MainWindow);
    EXPECT_EQ(acad.FindAcadDialog("AutoCAD"), first);
    windows.BringToFront(second);
    EXPECT_EQ(acad.FindAcadDialog("AutoCAD"), second);
    EXPECT_EQ(acad.FindAcadDialog("ﾒｯｾｰｼﾞ"), 0u);

    // Without a main window no window counts as AutoCAD's.
    acad.MainWindow = 0;
    EXPECT_EQ(acad.FindAcadDialog("AutoCAD"), 0u);
}

TEST_F(AcadChannel, PressDialogButtonsTakeTheFirstCaptionThenTheSecond) {
    FakeAcadWindows("ｺﾏﾝﾄﾞ: ");
    const WindowHandle box = windows.AddTopWindow("AutoCAD LT ﾒｯｾｰｼﾞ", "Dlg", acad.MainWindow);
    // Its message: the first Static with a text, whatever comes before it.
    windows.AddChildWindow(box, "", "Static");  // the icon
    windows.AddChildWindow(box, "not the message", "Edit");
    windows.AddChildWindow(box, "図面ファイルが無効です", "Static");
    windows.AddChildWindow(box, "a later one", "Static");
    const WindowHandle yes = windows.AddButton(box, "はい(&Y)");
    const WindowHandle ok = windows.AddButton(box, "OK");
    const WindowHandle no = windows.AddButton(box, "いいえ(&N)");

    EXPECT_TRUE(acad.PressDialogOk("ﾒｯｾｰｼﾞ"));
    EXPECT_EQ(acad.LastDialogMessage(), "図面ファイルが無効です");
    acad.ForgetShown();
    EXPECT_EQ(acad.LastDialogMessage(), "");
    EXPECT_EQ(windows.PressCount(ok), 1);
    EXPECT_EQ(windows.PressCount(yes), 0);
    EXPECT_EQ(windows.Foreground(), ok);
    EXPECT_TRUE(acad.PressDialogNo("AutoCAD LT"));
    EXPECT_EQ(windows.PressCount(no), 1);
    EXPECT_EQ(clock.Sleeps(), (Sleeps{300, 300}));

    windows.RemoveWindow(ok);
    EXPECT_TRUE(acad.PressDialogOk("AutoCAD"));
    EXPECT_EQ(windows.PressCount(yes), 1);
}

TEST_F(AcadChannel, TheLastCommandLineReadIsKeptAndAnEmptyReadTellsNothing) {
    FakeAcadWindows("開く図面ﾌｧｲﾙ名を入力: ");
    EXPECT_TRUE(acad.IsPrompting());
    windows.SetText(acad.CommandLineWindow, "");
    EXPECT_FALSE(acad.IsPrompting());
    EXPECT_EQ(acad.LastCommandLineRead(), "開く図面ﾌｧｲﾙ名を入力: ");
    acad.ForgetShown();
    EXPECT_EQ(acad.LastCommandLineRead(), "");
}

TEST(AcadShownText, LineEndsBecomeBlanksAndTheTextIsCutWholeCharactersAt200Bytes) {
    EXPECT_EQ(AcadShownText("a\r\nb\rc\nd\r\n\r\n"), "a b c d  ");
    EXPECT_EQ(AcadShownText(std::string(250, 'x')), std::string(200, 'x'));
    // "表" is two bytes: cut at 199 a split would leave a lead byte alone.
    const std::string text = std::string(199, 'x') + "表示";
    EXPECT_EQ(AcadShownText(text), std::string(199, 'x'));
    EXPECT_EQ(AcadShownText(std::string(198, 'x') + "表示"), std::string(198, 'x') + "表");
    EXPECT_EQ(AcadShownText(std::string(199, 'x') + "\r\nyz"), std::string(199, 'x') + " ");
}

TEST_F(AcadChannel, ADialogWithoutTheButtonsStillCountsAsAnswered) {
    FakeAcadWindows("ｺﾏﾝﾄﾞ: ");
    const WindowHandle box = windows.AddTopWindow("AutoCAD", "Dlg", acad.MainWindow);
    windows.AddButton(box, "閉じる");
    EXPECT_TRUE(acad.PressDialogOk("AutoCAD"));
    EXPECT_EQ(clock.Sleeps(), Sleeps{300});
    EXPECT_TRUE(windows.MessagesOfKind(MessageKind::LButtonDown).empty());

    clock.ClearSleeps();
    EXPECT_FALSE(acad.PressDialogNo("AutoCAD LT"));  // no such dialog: at once
    EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(AcadChannel, CloseAcadAnswersTheSaveQuestionWithNo) {
    LinkStandin("/lt /dirty");
    FakeStandin* standin = windows.LatestStandin();
    acad.CloseAcad();
    EXPECT_TRUE(standin->Ended());
    EXPECT_EQ(standin->Typed().front().text, "quit\n");
    EXPECT_EQ(clock.Sleeps(), (Sleeps{30, 30, 300, 300}));
    EXPECT_EQ(acad.MainWindow + acad.TextWindow + acad.CommandLineWindow + acad.CompanionWindow, 0u);
    EXPECT_EQ(acad.GetAcadPath(), StandinProgram);
    EXPECT_EQ(acad.GetAcadArgs(), "/lt /dirty");
}

TEST_F(AcadChannel, CloseAcadWithoutAQuestionOnlyWaits) {
    LinkStandin("/full");
    acad.CloseAcad();
    EXPECT_TRUE(windows.LatestStandin()->Ended());
    EXPECT_EQ(clock.Sleeps(), (Sleeps{30, 30, 300}));
    EXPECT_EQ(acad.MainWindow, 0u);
}

TEST_F(AcadChannel, StartPelkaduThroughTheCommandInterpreterOfThePlatform) {
    processes.SetProgramFolder("C:\\Program Files\\Tovimo\\");
    processes.SetPlatformId(1);
    acad.StartPelkadu();
    processes.SetPlatformId(2);
    acad.StartPelkadu();
    // The interpreter by its full path in the system folder, never by a bare
    // name that the current folder could answer.
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden),
              (std::vector<std::string>{
                  "COMMAND.COM /c \"C:\\Program Files\\Tovimo\\Pelkadu\"",
                  "\"C:\\Windows\\system32\\cmd.exe\" /c \"\"C:\\Program Files\\Tovimo\\Pelkadu\"\""}));
    EXPECT_EQ(clock.Sleeps(), (Sleeps{100, 100}));

    clock.ClearSleeps();
    processes.SetPlatformId(3);
    acad.StartPelkadu();
    processes.SetPlatformId(std::nullopt);
    acad.StartPelkadu();
    processes.SetPlatformId(2);
    processes.SetSystemFolder("");
    acad.StartPelkadu();
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden).size(), 2u);
    EXPECT_TRUE(clock.Sleeps().empty());
}

}  // namespace
}  // namespace tovimo::testing
