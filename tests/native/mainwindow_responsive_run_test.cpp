// A run lives off the window's thread: the run button's click returns before
// any wait of the run, everything the run shows comes back through the
// window's thread, and what the user does at any moment of the run (start,
// first prompt, open, save) is taken at once: Cancel and the close box hold
// from the start, a drop, a second run and every modal window are refused.
#include <gtest/gtest.h>

#include <algorithm>

#include "main_form_fixture.h"

namespace tovimo::testing {
namespace {

constexpr const char* Finished = "   作業が終わりました      ";
constexpr const char* Canceled = "   作業を中断しました      ";
constexpr const char* SourceA = "D:\\図面\\A.dwg";
constexpr const char* SourceB = "D:\\図面\\sub\\B.dwg";

class ResponsiveRunTest : public MainFormFixture {
protected:
    MainForm& OpenWithDrop(const std::string& acadArg = "") {
        host.childFolders = true;
        AddDrawing(SourceA);
        AddDrawing(SourceB);
        SetIni("[MainForm]\r\nAcadPath=C:\\Acad\\acad.exe\r\nCommandWait=10\r\nAcadArg=" + acadArg +
               "\r\n[dwgtodxf]\r\nMACRO_LINES=6\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
               "MACRO3=DXF\r\nMACRO4=#ENTER\r\nMACRO5=#SAVEFILE\r\n");
        MainForm& f = Open();
        f.WMDropFiles({"D:\\図面"});
        return f;
    }
    bool Typed(const std::string& text) const {
        const auto typed = MainFormFixture::Typed();
        return std::find(typed.begin(), typed.end(), text) != typed.end();
    }
};

TEST_F(ResponsiveRunTest, TheClickReturnsBeforeAnyWaitAndCancelIsOpenFromTheStart) {
    MainForm& f = OpenWithDrop();
    runs.deferred = true;
    f.ToDxfBitBtnClick();
    // Nothing of the run has happened on the window's thread: no pause, no
    // program started, nothing typed.
    EXPECT_TRUE(runs.Pending());
    EXPECT_EQ(clock.TotalSlept(), 0);
    EXPECT_TRUE(processes.Calls().empty());
    EXPECT_TRUE(f.RunUnderWay());
    EXPECT_TRUE(f.States.CancelBitBtn);
    EXPECT_FALSE(f.States.ToDxfBitBtn || f.States.CloseBitBtn || f.States.ClearBitBtn);

    runs.RunPending();
    EXPECT_FALSE(f.RunUnderWay());
    EXPECT_EQ(host.MessageTexts().back(), Finished);
    EXPECT_FALSE(f.States.CancelBitBtn);
    EXPECT_TRUE(f.States.ToDxfBitBtn);
    EXPECT_TRUE(files.FileExists("D:\\図面\\sub\\B.dxf"));
}

TEST_F(ResponsiveRunTest, EveryModalWindowIsRefusedDuringARunAndOpensAgainAfterwards) {
    files.AddFolder("E:\\Out");
    MainForm& f = OpenWithDrop();
    host.chosenProgram = "C:\\Other\\acad.exe";
    host.browseAnswer = "E:\\Out";
    runs.deferred = true;
    f.ToDxfBitBtnClick();
    EXPECT_FALSE(f.States.AcadBitBtn || f.States.AboutVer || f.States.TreeLabelEdit);
    f.AboutVerClick();
    f.AcadBitBtnClick();
    f.Controls.SaveSameDirChkBox = false;
    f.SaveDirBitBtnClick();
    EXPECT_EQ(host.aboutShown, 0);
    EXPECT_TRUE(host.programDialogStart.empty());
    EXPECT_TRUE(host.browseCalls.empty());
    EXPECT_EQ(f.Controls.AcadPath, "C:\\Acad\\acad.exe");

    runs.RunPending();
    EXPECT_TRUE(f.States.AcadBitBtn && f.States.AboutVer && f.States.TreeLabelEdit);
    f.AboutVerClick();
    f.AcadBitBtnClick();
    EXPECT_EQ(host.aboutShown, 1);
    EXPECT_EQ(f.Controls.AcadPath, "C:\\Other\\acad.exe");
}

enum class Phase { Start, FirstPrompt, Open, Save };
enum class Action { Cancel, CloseBox, DropAndSecondRun };

struct PhaseCase {
    Phase phase;
    Action action;
};

std::string CaseName(const ::testing::TestParamInfo<PhaseCase>& info) {
    static const char* const phases[] = {"Start", "FirstPrompt", "Open", "Save"};
    static const char* const actions[] = {"Cancel", "CloseBox", "DropAndSecondRun"};
    return std::string(actions[static_cast<int>(info.param.action)]) + "During" +
           phases[static_cast<int>(info.param.phase)];
}

class RunPhaseTest : public ResponsiveRunTest,
                     public ::testing::WithParamInterface<PhaseCase> {
protected:
    // Runs the action once the run has reached the phase; acted tells
    // whether it did.
    void ActDuringPhase(MainForm& f) {
        const auto act = [this, &f] {
            acted = true;
            cancelOpenWhenActed = f.States.CancelBitBtn;
            AsUser([&] {
                switch (GetParam().action) {
                    case Action::Cancel: f.CancelBitBtnClick(); break;
                    case Action::CloseBox: closeAnswer = f.FormCloseQuery(); break;
                    case Action::DropAndSecondRun:
                        f.WMDropFiles({"D:\\other.dwg"});
                        f.ToDxfBitBtnClick();
                        f.AllDeletePopClick();
                        break;
                }
            });
        };
        switch (GetParam().phase) {
            case Phase::Start:
                // AutoCAD's windows take 3 s to come.
                windows.onStandinStarted = [this, act](FakeStandin&) { clock.ScheduleAfter(1000, act); };
                break;
            case Phase::FirstPrompt:
                // AutoCAD is found and nothing is typed yet.
                poll = [this, act, &f] {
                    if (f.ToDxfConverter()->CompanionWindow != 0 && windows.CopyDataTexts().empty())
                        act();
                    else
                        clock.ScheduleAfter(5, poll);
                };
                windows.onStandinStarted = [this](FakeStandin&) { clock.ScheduleAfter(5, poll); };
                break;
            case Phase::Open:
            case Phase::Save: {
                // The first drawing's open or save takes 2 s.
                const std::string marker = GetParam().phase == Phase::Open
                                               ? std::string(SourceA) + "\n"
                                               : std::string("D:\\図面\\A\n");
                pump.onRun = [this, act, marker](int) {
                    const auto typed = windows.CopyDataTexts();
                    if (!scheduled && !typed.empty() && typed.back().text == marker) {
                        scheduled = true;
                        clock.ScheduleAfter(300, act);
                    }
                };
                break;
            }
        }
    }

    std::function<void()> poll;
    bool scheduled = false;
    bool acted = false;
    bool cancelOpenWhenActed = false;
    bool closeAnswer = true;
};

TEST_P(RunPhaseTest, TheUsersActionIsTakenAtOnceAndHoldsFromThen) {
    const char* const delays[] = {"/startdelay:3000", "", "/opendelay:2000", "/savedelay:2000"};
    MainForm& f = OpenWithDrop(delays[static_cast<int>(GetParam().phase)]);
    ActDuringPhase(f);
    f.ToDxfBitBtnClick();
    ASSERT_TRUE(acted);
    EXPECT_TRUE(cancelOpenWhenActed);
    const bool duringADrawing = GetParam().phase == Phase::Open || GetParam().phase == Phase::Save;

    if (GetParam().action == Action::DropAndSecondRun) {
        // Refused: the list, the run and its end are as without them.
        EXPECT_EQ(runs.starts, 1);
        EXPECT_EQ(f.List().DwgCount, 2);
        EXPECT_EQ(host.fileTypeQuestions, 0);
        EXPECT_EQ(host.MessageTexts().back(), Finished);
        EXPECT_TRUE(files.FileExists("D:\\図面\\sub\\B.dxf"));
        return;
    }
    EXPECT_EQ(host.MessageTexts().back(), Canceled);
    // The drawing under way is finished; no drawing is opened after the action.
    EXPECT_EQ(Typed(std::string(SourceA) + "\n"), duringADrawing);
    EXPECT_EQ(files.FileExists("D:\\図面\\A.dxf"), duringADrawing);
    EXPECT_FALSE(Typed(std::string(SourceB) + "\n"));
    // AutoCAD's variables are put back after a drawing; before any, they
    // were never set, and only the close is typed.
    EXPECT_EQ(Typed("FILEDIA\n"), duringADrawing);
    if (!duringADrawing) {
        EXPECT_EQ(MainFormFixture::Typed(), std::vector<std::string>{"quit\n"});
    }
    EXPECT_EQ(MainFormFixture::Typed().back(), "quit\n");
    if (GetParam().action == Action::CloseBox) {
        EXPECT_FALSE(closeAnswer);
        EXPECT_EQ(host.closeRequests, 1);  // once the run has ended
    } else {
        EXPECT_EQ(host.closeRequests, 0);
    }
}

std::vector<PhaseCase> AllCases() {
    std::vector<PhaseCase> cases;
    for (Phase phase : {Phase::Start, Phase::FirstPrompt, Phase::Open, Phase::Save})
        for (Action action : {Action::Cancel, Action::CloseBox, Action::DropAndSecondRun})
            cases.push_back({phase, action});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, RunPhaseTest, ::testing::ValuesIn(AllCases()), CaseName);

}  // namespace
}  // namespace tovimo::testing
