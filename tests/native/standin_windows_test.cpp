// The stand-in's windows as Tovimo and Pelkadu find them: titles, classes,
// owners, the command line, the startup dialog and the start-up delay.
#include <gtest/gtest.h>

#include <algorithm>

#include "acadlink/acad_recognition.h"
#include "standin_fixture.h"

namespace tovimo::testing {
namespace {

std::vector<WindowHandle> Descendants(FakeWindowSystem& windows, WindowHandle parent) {
    std::vector<WindowHandle> found;
    windows.EnumChildWindows(
        parent, [](WindowHandle window, void* user) {
            static_cast<std::vector<WindowHandle>*>(user)->push_back(window);
            return true;
        },
        &found);
    return found;
}

using StandinWindowsTest = StandinTest;

TEST_F(StandinWindowsTest, WindowsMeetTheRecognitionRulesInEveryProductAndForm) {
    struct Case {
        std::vector<std::string> arguments;
        const char* mainTitle;
        const char* textTitle;
        const char* commandPrompt;
    };
    const Case cases[] = {
        {{"/lt", "/halfwidth"}, "AutoCAD LT 2000 - [Drawing1.dwg]", "AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - Drawing1.dwg", "ｺﾏﾝﾄﾞ: "},
        {{"/full", "/fullwidth"}, "AutoCAD 2000 - [Drawing1.dwg]", "AutoCAD テキスト ウィンドウ - Drawing1.dwg", "コマンド: "},
        {{"/full", "/halfwidth"}, "AutoCAD 2000 - [Drawing1.dwg]", "AutoCAD ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - Drawing1.dwg", "ｺﾏﾝﾄﾞ: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mainTitle);
        FakeStandin& acad = Start(c.arguments);
        EXPECT_EQ(windows.TextOf(acad.MainWindow()), c.mainTitle);
        EXPECT_EQ(windows.TextOf(acad.TextWindow()), c.textTitle);
        EXPECT_TRUE(IsAcadMainWindowTitle(windows.TextOf(acad.MainWindow())));
        EXPECT_TRUE(IsAcadTextWindowTitle(windows.TextOf(acad.TextWindow())));
        // Neither top-level window is owned: only dialogs are.
        EXPECT_EQ(windows.GetParent(acad.MainWindow()), 0u);
        EXPECT_EQ(windows.GetParent(acad.TextWindow()), 0u);

        const auto below = Descendants(windows, acad.MainWindow());
        ASSERT_NE(std::find(below.begin(), below.end(), acad.CommandLineWindow()), below.end());
        EXPECT_EQ(CommandLine(), c.commandPrompt);
        EXPECT_TRUE(IsCommandLineText(CommandLine()));
        // A second window of the command line's class, later in the walk.
        EXPECT_EQ(windows.ClassOf(acad.HistoryWindow()), windows.ClassOf(acad.CommandLineWindow()));
        EXPECT_EQ(below.back(), acad.HistoryWindow());
        EXPECT_FALSE(IsCommandLineText(History()));
        windows.RemoveWindow(acad.MainWindow());
        windows.RemoveWindow(acad.TextWindow());
    }
}

TEST_F(StandinWindowsTest, DrawingFromTheCommandLineNamesTheTitles) {
    AddDrawing("C:\\Tovimo\\Drawing1.dwg");
    Start({"C:\\Tovimo\\Drawing1.dwg", "/fullwidth"});
    EXPECT_EQ(MainTitle(), "AutoCAD LT 2000 - [Drawing1.dwg]");
    EXPECT_EQ(windows.TextOf(standin->TextWindow()), "AutoCAD LT テキスト ウィンドウ - Drawing1.dwg");
    EXPECT_EQ(standin->Log("read").at(0).Field(0), "C:\\Tovimo\\Drawing1.dwg");
    EXPECT_EQ(standin->Model().DrawingPath(), "C:\\Tovimo\\Drawing1.dwg");
}

TEST_F(StandinWindowsTest, NoWindowBeforeTheStartDelayHasPassed) {
    Start({"/startdelay:1500"});
    EXPECT_TRUE(windows.TopWindows().empty());
    clock.Sleep(1499);
    EXPECT_TRUE(windows.TopWindows().empty());
    clock.Sleep(1);
    EXPECT_EQ(windows.TopWindows().size(), 2u);
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
}

TEST_F(StandinWindowsTest, StartupDialogHoldsBackTheCommandPromptUntilCancelled) {
    for (const bool half : {true, false}) {
        SCOPED_TRACE(half ? "half-width" : "full-width");
        Start({"/startup", half ? "/halfwidth" : "/fullwidth"});
        const WindowHandle dialog = Dialog();
        ASSERT_NE(dialog, 0u);
        EXPECT_EQ(DialogTitle(), half ? "ｽﾀｰﾄｱｯﾌﾟ" : "スタートアップ");
        EXPECT_EQ(windows.GetParent(dialog), standin->MainWindow());
        EXPECT_TRUE(ContainsText(windows.TextOf(windows.GetParent(dialog)), "AutoCAD"));
        EXPECT_EQ(CommandLine(), "");

        // Typed input does not get past the dialog.
        Type("FILEDIA\n0\n");
        EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "1");

        const WindowHandle cancel = windows.FindWindowEx(dialog, 0, "Button", half ? "ｷｬﾝｾﾙ" : "キャンセル");
        ASSERT_NE(cancel, 0u);
        windows.SendLButtonDown(cancel);
        EXPECT_EQ(CommandLine(), "");  // a press is down and up
        windows.SendLButtonUp(cancel);
        EXPECT_FALSE(windows.Exists(dialog));
        EXPECT_EQ(CommandLine(), half ? "ｺﾏﾝﾄﾞ: " : "コマンド: ");
        windows.RemoveWindow(standin->MainWindow());
        windows.RemoveWindow(standin->TextWindow());
    }
}

TEST_F(StandinWindowsTest, WindowsOfOneStandinAreFoundInEnumerationOrder) {
    Start();
    // Newest first: the text window was made after the main window.
    const auto top = windows.TopWindows();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0], standin->TextWindow());
    EXPECT_EQ(top[1], standin->MainWindow());
}

}  // namespace
}  // namespace tovimo::testing
