#pragma once
// Tovimo.exe started from a test, in a folder of its own with Pelkadu and a
// settings file whose AutoCAD is the stand-in, on a folder of stand-in
// drawings; its buttons pressed and its messages answered from the test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

inline constexpr const char* Finished = "   作業が終わりました      ";
inline constexpr const char* Interrupted = "   作業を中断しました      ";
inline constexpr int RunLimitMs = 60000;

inline std::string Drawing(const std::string& marker = "") {
    return std::string(standin::DrawingHeader) + "\r\nFORMAT DWG2000\r\n" +
           (marker.empty() ? "" : marker + "\r\n");
}

class WindowRunFixture : public ::testing::Test {
protected:
    WindowRunFixture() {
        program = temp.MakeFolder("program");
        for (const char* file : {"Tovimo.exe", "Pelkadu.exe"}) CopyInto(BinFolder() + file, program);
        dwg = temp.MakeFolder("図面");
        temp.MakeFolder("図面\\設備図");
        for (const char* name : {"A.dwg", "設備図\\C.dwg"}) WriteWholeFile(dwg + name, Drawing());
        WriteWholeFile(dwg + "B.dwg", Drawing("FAIL"));
    }
    ~WindowRunFixture() override {
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
    // A menu item, as a click on it sends it: another process cannot read
    // the window's menus under Wine.
    void ChooseMenuItem(int id) { ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

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

}  // namespace tovimo::wine_tests
