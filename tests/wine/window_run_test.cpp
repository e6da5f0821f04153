// Tovimo.exe's run from end to end: the window program started with a
// folder on its command line, its run button pressed from this process, the
// stand-in AutoCAD process typed into; the results, the list of drawings not
// converted, the end message, Cancel, another AutoCAD already running, and a
// close asked for during a run.
#include <gtest/gtest.h>

#include "mainwindow/form_design.h"
#include "platform/win32_api.h"

#include <commctrl.h>

#include "program_guard.h"
#include "standin_drawing.h"
#include "standin_log_file.h"
#include "started_program.h"
#include "test_files.h"
#include "wait_until.h"
#include "window_finder.h"

namespace tovimo::wine_tests {
namespace {

constexpr const char* Finished = "   作業が終わりました      ";
constexpr const char* Interrupted = "   作業を中断しました      ";
constexpr int RunLimitMs = 60000;

std::string Drawing(const std::string& marker = "") {
    return std::string(standin::DrawingHeader) + "\r\nFORMAT DWG2000\r\n" +
           (marker.empty() ? "" : marker + "\r\n");
}

class WindowRunTest : public ::testing::Test {
protected:
    WindowRunTest() {
        program = temp.MakeFolder("program");
        for (const char* file : {"Tovimo.exe", "Pelkadu.exe"}) CopyInto(BinFolder() + file, program);
        dwg = temp.MakeFolder("図面");
        temp.MakeFolder("図面\\設備図");
        for (const char* name : {"A.dwg", "設備図\\C.dwg"}) WriteWholeFile(dwg + name, Drawing());
        WriteWholeFile(dwg + "B.dwg", Drawing("FAIL"));
    }
    ~WindowRunTest() override {
        if (!WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000))
            ADD_FAILURE() << "the stand-in AutoCAD was left running";
        guard.EndAll();
    }

    void WriteIni(const std::string& mainForm = "", const std::string& acadArg = "") {
        iniText = "[MainForm]\r\n" + mainForm + "AcadPath=" + BinFolder() + "standin-acad.exe\r\n"
                  "AcadArg=/startup " + log.Switch() + (acadArg.empty() ? "" : " " + acadArg) + "\r\n"
                  "CommandWait=20\r\nGetChildFolder=1\r\nWaitLimit=30\r\n"
                  "\r\n[dwgtodxf]\r\nMACRO_LINES=6\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
                  "MACRO3=DXF\r\nMACRO4=#ENTER\r\nMACRO5=#SAVEFILE\r\n"
                  "\r\n[dxftodwg]\r\nMACRO_LINES=5\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
                  "MACRO3=2000\r\nMACRO4=#SAVEFILE\r\n";
        ASSERT_TRUE(WriteWholeFile(program + "tovimo.ini", iniText));
    }

    // Starts Tovimo.exe on the drawings' folder and waits for its tree.
    void Start() {
        std::string folder = dwg.substr(0, dwg.size() - 1);
        tovimo = std::make_unique<StartedProgram>("\"" + program + "Tovimo.exe\" \"" + folder + "\"");
        ASSERT_TRUE(tovimo->Started());
        main = WaitForVisibleWindow("TForm1", tovimo->ProcessId(), 20000);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdToDxfBitBtn)); }, 10000));
    }
    HWND Control(int id) { return FindControl(main, id); }
    void Press(int id) { ::PostMessageA(Control(id), BM_CLICK, 0, 0); }

    // The next message box of the run: its text; OK is pressed.
    std::string AnswerMessageBox(const std::string& caption = "Tovimo メッセージ") {
        HWND box = WaitForVisibleWindow("#32770", tovimo->ProcessId(), RunLimitMs);
        if (!box) return "(no message box)";
        EXPECT_EQ(TextOf(box), caption);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), main);
        const std::vector<std::string> texts = StaticTexts(box);
        PressButton(box, IDOK);
        WaitUntil([&] { return !::IsWindowVisible(box); }, 5000);
        return texts.empty() ? "" : texts.back();
    }
    // The list of drawings not converted: its lines; OK is pressed.
    std::vector<std::string> AnswerSkipForm() {
        HWND form = WaitForVisibleWindow("TSkipForm", tovimo->ProcessId(), RunLimitMs);
        if (!form) return {"(no TSkipForm)"};
        EXPECT_EQ(TextOf(form), "Tovimoメッセージ");
        const std::vector<std::string> lines = ListBoxLines(FindControl(form, IdListBox1));
        PressButton(form, IdOKButton);
        return lines;
    }
    void CloseAndWait() {
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(tovimo->WaitForExit(15000), std::optional<DWORD>(0));
    }

    ProgramGuard guard{[] {
        auto programs = ProgramGuard::OurPrograms();
        programs.push_back("Tovimo.exe");
        return programs;
    }()};
    TempFolder temp{"tovimo-window-run"};
    std::string program;
    std::string dwg;
    const StandinLogFile log{temp.Path() + "acad.log"};
    std::string iniText;
    std::unique_ptr<StartedProgram> tovimo;
    HWND main = nullptr;
};

TEST_F(WindowRunTest, TheRunButtonConvertsTheTreeAndShowsWhatWasNotConvertedThenTheEndMessage) {
    WriteIni();
    Start();
    Press(IdToDxfBitBtn);
    EXPECT_EQ(AnswerSkipForm(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_EQ(::SendMessageA(Control(IdProgressBar1), PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdToDxfBitBtn)) != FALSE; }, 5000));
    EXPECT_FALSE(::IsWindowEnabled(Control(IdCancelBitBtn)));
    EXPECT_TRUE(::IsWindowEnabled(Control(IdCloseBitBtn)));
    for (const char* name : {"A.dxf", "設備図\\C.dxf"}) {
        const auto result = ReadWholeFile(dwg + name);
        ASSERT_TRUE(result) << name;
        EXPECT_EQ(standin::ParseDrawing(*result).format, "DXF");
    }
    EXPECT_FALSE(FileExists(dwg + "B.dxf"));
    EXPECT_FALSE(log.OfKind("pressed").empty()) << log.Text();  // Pelkadu, at every run
    EXPECT_TRUE(log.WaitFor("quit"));
    CloseAndWait();
}

TEST_F(WindowRunTest, AUnicodeAutoCadIsTypedIntoInUtf16AndConvertsAsAnyOther) {
    WriteWholeFile(dwg + "ソケット表.dwg", Drawing());
    WriteIni("FileDia=1\r\nISaveBak=0\r\nProxyNotice=1\r\nAcadClose=1\r\n", "/unicode");
    Start();
    Press(IdToDxfBitBtn);
    EXPECT_EQ(AnswerSkipForm(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(AnswerMessageBox(), Finished);
    for (const char* name : {"A", "ソケット表", "設備図\\C"}) {
        SCOPED_TRACE(name);
        const auto result = ReadWholeFile(dwg + name + ".dxf");
        ASSERT_TRUE(result);
        EXPECT_EQ(standin::ParseDrawing(*result).format, "DXF");
        EXPECT_EQ(standin::ParseDrawing(*result).source, dwg + name + ".dwg");
    }
    EXPECT_FALSE(FileExists(dwg + "B.dxf"));
    EXPECT_TRUE(log.WaitFor("quit")) << log.Text();
    EXPECT_TRUE(log.Has("unicode"));
    EXPECT_TRUE(log.OfKind("bad-cbdata").empty()) << log.Text();
    std::vector<std::string> isavebak;
    for (const auto& entry : log.OfKind("sysvar"))
        if (entry.Field(0) == "ISAVEBAK") isavebak.push_back(entry.Field(1));
    EXPECT_EQ(isavebak, (std::vector<std::string>{"0", "0"}));
    EXPECT_TRUE(log.Has("sysvar", {"PROXYNOTICE", "1"}));
    CloseAndWait();
}

TEST_F(WindowRunTest, TheOutputFolderTakesTheResultsWithOrWithoutTheSubFolders) {
    const std::string out = temp.MakeFolder("出力");
    WriteIni("SaveSameDir=0\r\nSaveDir=" + out.substr(0, out.size() - 1) + "\r\nSaveChildDir=1\r\n");
    Start();
    Press(IdToDxfBitBtn);
    AnswerSkipForm();
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_TRUE(FileExists(out + "図面\\A.dxf"));
    EXPECT_TRUE(FileExists(out + "図面\\設備図\\C.dxf"));
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));

    // "変換後ﾌｫﾙﾀﾞ保持" off: every result directly in the output folder.
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdToDxfBitBtn)) != FALSE; }, 5000));
    ::SendMessageA(Control(IdSaveChildDirCheckBox), BM_CLICK, 0, 0);
    Press(IdToDxfBitBtn);
    AnswerSkipForm();
    EXPECT_EQ(AnswerMessageBox(), Finished);
    EXPECT_TRUE(FileExists(out + "A.dxf"));
    EXPECT_TRUE(FileExists(out + "C.dxf"));
    CloseAndWait();
    EXPECT_NE(ReadWholeFile(program + "tovimo.ini").value_or("").find("SaveChildDir=0"), std::string::npos);
}

TEST_F(WindowRunTest, CancelEndsTheRunAfterTheDrawingUnderWay) {
    for (const char* name : {"D.dwg", "E.dwg", "F.dwg"}) WriteWholeFile(dwg + name, Drawing());
    WriteIni("", "/cmddelay:150");
    Start();
    Press(IdToDxfBitBtn);
    ASSERT_TRUE(log.WaitFor("read", {}, RunLimitMs)) << log.Text();
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdCancelBitBtn)) != FALSE; }, 5000));
    Press(IdCancelBitBtn);
    // The drawing under way is finished; no other one is begun.
    const std::string text = AnswerMessageBox();
    EXPECT_EQ(text, Interrupted);
    EXPECT_EQ(log.OfKind("read").size(), 1u) << log.Text();
    EXPECT_EQ(::SendMessageA(Control(IdProgressBar1), PBM_GETPOS, 0, 0), 0);
    CloseAndWait();
}

TEST_F(WindowRunTest, AnotherAutoCadAlreadyRunningIsReportedAndNothingIsTyped) {
    WriteIni();
    StartedProgram other("\"" + BinFolder() + "standin-acad.exe\" /log:" + temp.Path() + "other.log");
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 1; }, 15000));
    Start();
    Press(IdToDxfBitBtn);
    EXPECT_EQ(AnswerMessageBox(), "起動中のAuto CADを終了させてください。");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(Control(IdToDxfBitBtn)) != FALSE; }, 5000));
    EXPECT_FALSE(FileExists(dwg + "A.dxf"));
    CloseAndWait();
    ::PostMessageA(VisibleWindow("StandinAcadFrame", other.ProcessId()), WM_CLOSE, 0, 0);
    EXPECT_TRUE(other.WaitForExit(15000));
}

TEST_F(WindowRunTest, ACloseDuringARunWaitsForTheRunAndKeepsTheSettings) {
    for (const char* name : {"D.dwg", "E.dwg"}) WriteWholeFile(dwg + name, Drawing());
    WriteIni("", "/cmddelay:150");
    Start();
    Press(IdToDxfBitBtn);
    ASSERT_TRUE(log.WaitFor("read", {}, RunLimitMs)) << log.Text();
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    // The run ends as cancelled; the window closes only then.
    EXPECT_EQ(AnswerMessageBox(), Interrupted);
    EXPECT_EQ(tovimo->WaitForExit(15000), std::optional<DWORD>(0));
    const std::string ini = ReadWholeFile(program + "tovimo.ini").value_or("");
    EXPECT_NE(ini.find("AcadPath=" + BinFolder() + "standin-acad.exe"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MACRO5=#SAVEFILE"), std::string::npos) << ini;
    EXPECT_NE(ini.find("WaitLimit=30"), std::string::npos) << ini;
}

}  // namespace
}  // namespace tovimo::wine_tests
