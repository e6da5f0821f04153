// Tovimo.exe answers at every moment of a run and loses no setting: posted
// messages are fetched throughout a run with a slow AutoCAD, Cancel works
// during AutoCAD's start, logoff and shutdown save the settings (and during
// a run are refused, the run going on), two copies keep each other's
// changes, and a stray WM_APP+1 does nothing.
#include <algorithm>
#include <thread>

#include "fetch_probe.h"
#include "window_run_fixture.h"

namespace tovimo::wine_tests {
namespace {

class WindowResponsiveTest : public WindowRunFixture {
protected:
    std::string Ini() const { return ReadWholeFile(program + "tovimo.ini").value_or(""); }
    void Click(int id) { ::SendMessageA(Control(id), BM_CLICK, 0, 0); }
    LRESULT SendToMain(UINT message, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR result = 0xBAD;
        EXPECT_TRUE(::SendMessageTimeoutA(main, message, wParam, lParam, SMTO_NORMAL, 5000, &result));
        return static_cast<LRESULT>(result);
    }
    bool RunShowsItsEnd() {
        return VisibleWindow("TSkipForm", tovimo->ProcessId()) ||
               VisibleWindow("#32770", tovimo->ProcessId());
    }
};

TEST_F(WindowResponsiveTest, PostedMessagesAreFetchedWithinASecondThroughoutARun) {
    WriteIni("", "/startdelay:4000 /opendelay:1000");
    Start();
    FetchProbe probe(Control(IdAcadArgEdit));
    Press(IdToDxfBitBtn);
    std::vector<double> delays;
    int unseen = 0;
    const DWORD start = ::GetTickCount();
    while (!RunShowsItsEnd() && ::GetTickCount() - start < static_cast<DWORD>(RunLimitMs)) {
        const DWORD posted = ::GetTickCount();
        if (const auto delay = probe.Measure(1000)) {
            delays.push_back(*delay);
        } else {
            ++unseen;
        }
        const DWORD spent = ::GetTickCount() - posted;
        if (spent < 100) ::Sleep(100 - spent);
    }
    EXPECT_EQ(AnswerSkipForm(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(AnswerMessageBox(), Finished);
    // The run took AutoCAD's 4 s start and three 1 s opens at least.
    EXPECT_GE(delays.size() + static_cast<std::size_t>(unseen), 40u);
    EXPECT_EQ(unseen, 0) << "posted messages not fetched within 1 s";
    if (!delays.empty())
        std::cout << "fetch delay: max " << *std::max_element(delays.begin(), delays.end())
                  << " ms over " << delays.size() << " posts\n";
    CloseAndWait();
}

TEST_F(WindowResponsiveTest, CancelDuringAutoCadsStartEndsTheRunWithoutOpeningADrawing) {
    WriteIni("", "/startdelay:6000");
    Start();
    Press(IdToDxfBitBtn);
    // Open as soon as the run starts, while AutoCAD has no window yet.
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdCancelBitBtn)) != FALSE; }, 5000));
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 1; }, 15000));
    EXPECT_FALSE(log.Has("window")) << log.Text();
    Press(IdCancelBitBtn);
    EXPECT_EQ(AnswerMessageBox(), Interrupted);
    EXPECT_TRUE(log.OfKind("read").empty()) << log.Text();
    // Nothing was set in AutoCAD; it is only closed once it answers.
    EXPECT_TRUE(log.OfKind("sysvar").empty()) << log.Text();
    EXPECT_TRUE(log.WaitFor("quit")) << log.Text();
    CloseAndWait();
}

TEST_F(WindowResponsiveTest, LogoffWhileIdleSavesTheEditedSettings) {
    WriteIni();
    Start();
    Click(IdDYNCancelChkBox);
    EXPECT_EQ(SendToMain(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(Ini().find("DYNCancel=1"), std::string::npos);  // nothing written yet
    SendToMain(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    const std::string ini = Ini();
    EXPECT_NE(ini.find("DYNCancel=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MACRO5=#SAVEFILE"), std::string::npos) << ini;
    EXPECT_TRUE(::IsWindow(main));
    CloseAndWait();
}

TEST_F(WindowResponsiveTest, ALogoffCalledOffDuringARunLetsTheRunConvertEveryDrawing) {
    WriteWholeFile(dwg + "B.dwg", Drawing());
    for (const char* name : {"D.dwg", "E.dwg"}) WriteWholeFile(dwg + name, Drawing());
    WriteIni("", "/cmddelay:150");
    Start();
    Click(IdDYNCancelChkBox);
    Press(IdToDxfBitBtn);
    ASSERT_TRUE(log.WaitFor("read", {}, RunLimitMs)) << log.Text();
    // Refused with its reason while the run goes on; then the user calls
    // the logoff off on Windows' screen.
    EXPECT_EQ(SendToMain(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    SendToMain(WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_EQ(log.OfKind("read").size(), 5u) << log.Text();
    for (const char* name : {"A", "B", "設備図\\C", "D", "E"})
        EXPECT_TRUE(FileExists(dwg + name + ".dxf")) << name;
    EXPECT_TRUE(::IsWindow(main));
    EXPECT_EQ(Ini().find("DYNCancel=1"), std::string::npos);  // nothing saved meanwhile
    CloseAndWait();
}

TEST_F(WindowResponsiveTest, ACopyThatClosesLastKeepsWhatTheFirstChanged) {
    WriteIni();
    const auto startCopy = [&] {
        auto copy = std::make_unique<StartedProgram>("\"" + program + "Tovimo.exe\"");
        EXPECT_TRUE(copy->Started());
        return copy;
    };
    std::unique_ptr<StartedProgram> first = startCopy();
    std::unique_ptr<StartedProgram> second = startCopy();
    HWND firstMain = WaitForVisibleWindow("TForm1", first->ProcessId(), 20000);
    HWND secondMain = WaitForVisibleWindow("TForm1", second->ProcessId(), 20000);
    ASSERT_TRUE(firstMain && secondMain);
    ::SendMessageA(FindControl(firstMain, IdDYNCancelChkBox), BM_CLICK, 0, 0);
    ::PostMessageA(firstMain, WM_CLOSE, 0, 0);
    ASSERT_EQ(first->WaitForExit(15000), std::optional<DWORD>(0));
    ASSERT_NE(Ini().find("DYNCancel=1"), std::string::npos) << Ini();

    ::PostMessageA(secondMain, WM_CLOSE, 0, 0);
    ASSERT_EQ(second->WaitForExit(15000), std::optional<DWORD>(0));
    const std::string ini = Ini();
    EXPECT_NE(ini.find("DYNCancel=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("WaitLimit=30"), std::string::npos) << ini;
    EXPECT_FALSE(FileExists(program + "tovimo.ini.tmp"));
}

TEST_F(WindowResponsiveTest, StrayMessagesUnderTheWindowsOwnNumbersDoNothing) {
    WriteIni();
    Start();
    const LRESULT items = ::SendMessageA(Control(IdTreeView1), TVM_GETCOUNT, 0, 0);
    for (UINT message : {WM_APP + 1, WM_APP + 2, WM_APP + 3})
        for (LPARAM lParam : {LPARAM{0}, LPARAM{0x1234}}) ::PostMessageA(main, message, 0x5678, lParam);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_TRUE(tovimo->Running());
    EXPECT_EQ(::SendMessageA(Control(IdTreeView1), TVM_GETCOUNT, 0, 0), items);
    EXPECT_TRUE(::IsWindowEnabled(Control(IdToDxfBitBtn)));
    CloseAndWait();
}

}  // namespace
}  // namespace tovimo::wine_tests
