// Windows whose thread has stopped: the AutoCAD link and Pelkadu read them as
// empty within a short bound, and stop typing into an AutoCAD that does not
// take its text.
#include <gtest/gtest.h>

#include "acad_fixture.h"
#include "dismisser/pelkadu.h"

namespace tovimo::testing {
namespace {

class HungWindows : public AcadFixture {};

TEST_F(HungWindows, ReadWindowTextOfAHungWindowIsEmptyAfterOneShortWait) {
    const WindowHandle window = windows.AddTopWindow("凍ったウィンドウ");
    windows.HangWindow(window);
    EXPECT_EQ(acad.ReadWindowText(window), "");
    // One bounded send, not two: WM_GETTEXT is not tried after a length that did not come.
    EXPECT_EQ(clock.NowMs(), TextReadTimeoutMs);
    EXPECT_EQ(windows.UnansweredSends(), 1);

    // Once the system counts it as hung, a read costs nothing.
    clock.Sleep(static_cast<int>(HungAfterMs));
    const std::int64_t before = clock.NowMs();
    EXPECT_EQ(acad.ReadWindowText(window), "");
    EXPECT_EQ(clock.NowMs(), before);
}

TEST_F(HungWindows, ATextAutoCadDoesNotTakeStopsAllFurtherTyping) {
    LinkStandin();
    windows.HangWindow(acad.MainWindow);
    EXPECT_TRUE(acad.SendCommand("FILEDIA\n"));
    EXPECT_TRUE(acad.AcadNotAnswering());
    EXPECT_EQ(Slept(), DefaultCommandSendLimitMs);
    EXPECT_EQ(pump.runs, 1);  // pending messages (a Cancel) still run

    const std::int64_t afterFirst = clock.NowMs();
    acad.SendCommand("0\n");
    EXPECT_EQ(acad.GetSysVar("DYNMODE"), "");
    EXPECT_EQ(windows.MessagesOfKind(MessageKind::CopyData).size(), 1u);
    EXPECT_TRUE(windows.MessagesOfKind(MessageKind::Null).empty());
    // GetSysVar does not poll 301 times a window that takes nothing.
    EXPECT_LT(clock.NowMs() - afterFirst, 1000);
    EXPECT_EQ(pump.runs, 4);
}

TEST_F(HungWindows, TheSendLimitIsTheBoundOfEachCommandText) {
    LinkStandin();
    acad.SetCommandSendLimitMs(4000);
    windows.HangWindow(acad.MainWindow);
    acad.SendCommand("quit\n");
    EXPECT_EQ(Slept(), 4000);
    EXPECT_TRUE(acad.AcadNotAnswering());
}

TEST_F(HungWindows, ASendToAWindowThatIsGoneIsNotTakenForAHang) {
    LinkStandin();
    windows.RemoveWindow(acad.MainWindow);
    acad.SendCommand("FILEDIA\n");
    EXPECT_FALSE(acad.AcadNotAnswering());
    EXPECT_EQ(Slept(), 60);  // the usual pauses, no wait
}

TEST_F(HungWindows, StartAcadReadsAHungForeignWindowOnceAndStillLinks) {
    windows.HangWindow(windows.AddTopWindow("固まったプログラム"));
    acad.SetAcadPath(StandinProgram);
    EXPECT_EQ(acad.StartAcad(15), AcadReady);
    EXPECT_EQ(windows.UnansweredSends(), 1);
    EXPECT_FALSE(acad.AcadNotAnswering());
}

TEST_F(HungWindows, AForeignWindowThatHangsDuringTheStartCostsAtMostTheHangDetection) {
    // A program that comes up hung while AutoCAD (slowly) starts: it is a
    // new window, looked at on every pass.
    acad.SetAcadPath(StandinProgram);
    acad.AcadArgs = "/startdelay:9000";
    clock.ScheduleAfter(200, [this] { windows.HangWindow(windows.AddTopWindow("固まった")); });
    EXPECT_EQ(acad.StartAcad(30), AcadReady);
    const std::int64_t total = clock.NowMs();

    // The same start without it.
    VirtualClock otherClock;
    MemoryFiles otherFiles;
    FakeWindowSystem otherWindows{otherClock, otherFiles};
    FakeProcessLauncher otherProcesses{&otherClock};
    otherProcesses.InstallStandin(otherWindows, StandinProgram);
    AcadControl other({otherWindows, otherClock, pump, otherProcesses, encoding});
    other.SetAcadPath(StandinProgram);
    other.AcadArgs = "/startdelay:9000";
    EXPECT_EQ(other.StartAcad(30), AcadReady);
    EXPECT_LE(total - otherClock.NowMs(), HungAfterMs + TextReadTimeoutMs);
}

TEST_F(HungWindows, FindAcadDialogAndPressesDoNotWaitOnAHungAutoCad) {
    LinkStandin();
    const WindowHandle dialog = windows.AddTopWindow("AutoCAD LT ﾒｯｾｰｼﾞ", "Dlg", acad.MainWindow);
    const WindowHandle ok = windows.AddButton(dialog, "OK");
    windows.HangWindow(dialog);
    // Its title cannot be read: as if there were no dialog.
    EXPECT_FALSE(acad.PressDialogOk("AutoCAD LT ﾒｯｾｰｼﾞ"));
    EXPECT_EQ(Slept(), TextReadTimeoutMs);
    EXPECT_EQ(windows.PressCount(ok), 0);
}

class HungPelkadu : public AcadFixture {};

TEST_F(HungPelkadu, AHungWindowOnTheDesktopCostsItAtMostTheHangDetection) {
    windows.HangWindow(windows.AddTopWindow("固まったプログラム"));
    EXPECT_EQ(RunPelkadu(windows, clock), 0);
    EXPECT_LE(clock.NowMs(), PelkaduAttempts * 100 + HungAfterMs + TextReadTimeoutMs);
}

TEST_F(HungPelkadu, StillPressesTheStartupDialogBesideAHungWindow) {
    windows.HangWindow(windows.AddTopWindow("固まったプログラム"));
    FakeStandin& standin = windows.StartStandin(std::vector<std::string>{"/startup"});
    ASSERT_NE(standin.DialogWindow(), 0u);
    EXPECT_EQ(RunPelkadu(windows, clock), 0);
    EXPECT_EQ(standin.DialogWindow(), 0u);
    EXPECT_FALSE(standin.Log("pressed").empty());
}

TEST_F(HungPelkadu, AHungStartupDialogEndsItAfterItsAttempts) {
    FakeStandin& standin = windows.StartStandin(std::vector<std::string>{"/startup"});
    windows.HangWindow(standin.DialogWindow());
    EXPECT_EQ(RunPelkadu(windows, clock), 0);
    EXPECT_LE(clock.NowMs(), PelkaduAttempts * 100 + HungAfterMs + TextReadTimeoutMs);
    EXPECT_EQ(windows.PressCount(windows.FindWindowEx(standin.DialogWindow(), 0, "Button", "ｷｬﾝｾﾙ")), 0);
}

}  // namespace
}  // namespace tovimo::testing
