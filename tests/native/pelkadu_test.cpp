// Pelkadu's search for AutoCAD's startup dialog, on windows the tests make
// and on the stand-in AutoCAD.
#include <gtest/gtest.h>

#include "dismisser/pelkadu.h"
#include "fake_window_system.h"
#include "memory_files.h"
#include "virtual_clock.h"

namespace tovimo::testing {
namespace {

using Sleeps = std::vector<int>;

class Pelkadu : public ::testing::Test {
protected:
    VirtualClock clock;
    MemoryFiles files;
    FakeWindowSystem windows{clock, files};
};

TEST_F(Pelkadu, WithoutAutoCadItEndsAfter200AttemptsWithZero) {
    windows.AddTopWindow("スタートアップ");  // no owner, no "AutoCAD" in its own title
    EXPECT_EQ(RunPelkadu(windows, clock), 0);
    EXPECT_EQ(clock.Sleeps(), Sleeps(200, 100));
}

TEST_F(Pelkadu, ADialogOnShowIsPressedInTheFirstAttempt) {
    const WindowHandle acad = windows.AddTopWindow("AutoCAD LT 2000 - [Drawing1.dwg]");
    const WindowHandle dialog = windows.AddTopWindow("ｽﾀｰﾄｱｯﾌﾟ", "Dlg", acad);
    windows.AddButton(dialog, "OK");
    const WindowHandle cancel = windows.AddButton(dialog, "ｷｬﾝｾﾙ");
    EXPECT_EQ(RunPelkadu(windows, clock), 0);
    EXPECT_EQ(clock.Sleeps(), (Sleeps{100, 200, 200, 100}));
    EXPECT_EQ(windows.PressCount(cancel), 1);
    EXPECT_EQ(windows.Foreground(), cancel);
    const auto down = windows.MessagesOfKind(MessageKind::LButtonDown);
    const auto up = windows.MessagesOfKind(MessageKind::LButtonUp);
    ASSERT_EQ(down.size(), 1u);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].timeMs - down[0].timeMs, 100);
}

TEST_F(Pelkadu, TheOwnersTitleMustNameAutoCad) {
    const WindowHandle other = windows.AddTopWindow("Setup Wizard");
    const WindowHandle passedOver = windows.AddTopWindow("スタートアップ", "Dlg", other);
    windows.AddButton(passedOver, "キャンセル");
    const WindowHandle ownTitle = windows.AddTopWindow("AutoCAD スタートアップ");
    const WindowHandle pressed = windows.AddButton(ownTitle, "キャンセル");
    windows.BringToFront(passedOver);
    EXPECT_EQ(FindStartupDialog(windows), ownTitle);
    EXPECT_TRUE(PressCancel(windows, clock));
    EXPECT_EQ(windows.PressCount(pressed), 1);
}

TEST_F(Pelkadu, TheFirstMatchInEnumerationOrderIsPressedAndFullWidthComesFirst) {
    const WindowHandle acad = windows.AddTopWindow("AutoCAD 2000 - [Drawing1.dwg]");
    const WindowHandle later = windows.AddTopWindow("スタートアップ 2", "Dlg", acad);
    windows.AddButton(later, "キャンセル");
    const WindowHandle first = windows.AddTopWindow("スタートアップ 1", "Dlg", acad);
    const WindowHandle half = windows.AddButton(first, "ｷｬﾝｾﾙ");
    const WindowHandle full = windows.AddButton(first, "キャンセル");
    EXPECT_EQ(FindStartupDialog(windows), first);
    EXPECT_TRUE(PressCancel(windows, clock));
    EXPECT_EQ(windows.PressCount(full), 1);
    EXPECT_EQ(windows.PressCount(half), 0);
}

TEST_F(Pelkadu, ADialogWithoutACancelButtonStillEndsTheSearch) {
    const WindowHandle acad = windows.AddTopWindow("AutoCAD LT");
    windows.AddTopWindow("ｽﾀｰﾄｱｯﾌﾟ", "Dlg", acad);
    EXPECT_EQ(RunPelkadu(windows, clock), 0);
    EXPECT_EQ(clock.Sleeps(), (Sleeps{100, 200, 200, 100}));
    EXPECT_TRUE(windows.MessagesOfKind(MessageKind::LButtonDown).empty());
}

TEST_F(Pelkadu, PressesTheStandInsStartupDialogOnceItShows) {
    for (const char* form : {"/halfwidth", "/fullwidth"}) {
        SCOPED_TRACE(form);
        FakeStandin& standin = windows.StartStandin({"/startup", "/startdelay:2000", form});
        clock.ClearSleeps();
        EXPECT_EQ(RunPelkadu(windows, clock), 0);
        // Twenty attempts pass before the windows show at 2 s.
        EXPECT_EQ(clock.Sleeps().size(), 20u + 3u);
        EXPECT_EQ(standin.DialogWindow(), 0u);
        EXPECT_NE(standin.CommandLineText().find(standin.Model().Texts().commandPrompt),
                  std::string::npos);
    }
}

TEST_F(Pelkadu, ToldItsAutoCadsProcessItPressesThatOnesDialogAndPassesOverTheOthers) {
    // Two stand-ins at their startup dialogs; the newer one, first in
    // enumeration order, is not the one this Pelkadu is for.
    FakeStandin& own = windows.StartStandin({"/startup"});
    FakeStandin& other = windows.StartStandin({"/startup"});
    clock.Sleep(100);
    ASSERT_NE(other.DialogWindow(), 0u);
    ASSERT_NE(own.DialogWindow(), 0u);
    ASSERT_NE(other.ProcessId(), own.ProcessId());
    EXPECT_EQ(FindStartupDialog(windows), other.DialogWindow());
    EXPECT_EQ(FindStartupDialog(windows, own.ProcessId()), own.DialogWindow());

    EXPECT_EQ(RunPelkadu(windows, clock, own.ProcessId()), 0);
    EXPECT_EQ(own.DialogWindow(), 0u);
    EXPECT_NE(other.DialogWindow(), 0u);
    EXPECT_EQ(own.Log("pressed").size(), 1u);
    EXPECT_TRUE(other.Log("pressed").empty());

    // A process with no dialog: nothing is pressed in all 200 attempts.
    clock.ClearSleeps();
    EXPECT_EQ(RunPelkadu(windows, clock, own.ProcessId()), 0);
    EXPECT_EQ(clock.Sleeps(), Sleeps(200, 100));
    EXPECT_NE(other.DialogWindow(), 0u);
}

TEST_F(Pelkadu, ItsCommandLineNamesAnyAutoCadOrOneProcessAndNothingElse) {
    using Arguments = std::vector<std::string>;
    EXPECT_EQ(PelkaduTargetOf({}), AnyAcad);
    EXPECT_EQ(PelkaduTargetOf(Arguments{"/pid:1234"}), 1234u);
    EXPECT_EQ(PelkaduTargetOf(Arguments{"/pid:4294967295"}), 4294967295u);
    for (const Arguments& bad : {Arguments{"/pid:"}, Arguments{"/pid:0"}, Arguments{"/pid:12x"},
                                 Arguments{"/pid:-3"}, Arguments{"/pid:4294967296"},
                                 Arguments{"/pid:99999999999999999999"}, Arguments{"1234"},
                                 Arguments{"/pid: 12"}, Arguments{""},
                                 Arguments{"/pid:12", "/pid:13"}}) {
        SCOPED_TRACE(bad.empty() ? "" : bad[0]);
        EXPECT_EQ(PelkaduTargetOf(bad), std::nullopt);
    }
}

}  // namespace
}  // namespace tovimo::testing
