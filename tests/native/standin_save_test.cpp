// saveas and quit: the format question, the extension, the two overwrite
// questions, what lands in the file, and the save question of quit.
#include <gtest/gtest.h>

#include "standin_fixture.h"

namespace tovimo::testing {
namespace {

class StandinSaveTest : public StandinTest {
protected:
    // A stand-in with the drawing D:\in\A.dwg open.
    void StartWithDrawing(const std::vector<std::string>& arguments = {}) {
        AddDrawing("D:\\in\\A.dwg");
        files.AddFolder("E:\\out");
        Start(arguments);
        Type("FILEDIA\n0\nopen\nD:\\in\\A.dwg\n");
        ASSERT_EQ(standin->Model().DrawingName(), "A.dwg");
    }
    std::string OverwriteQuestion() const { return standin->Model().Texts().overwriteQuestion; }
};

TEST_F(StandinSaveTest, EnterKeepsDwgAndTheExtensionIsAdded) {
    StartWithDrawing();
    Type("saveas\n");
    EXPECT_EQ(CommandLine(), "ﾌｧｲﾙ形式を入力 [R14(LT98&LT97)/2000(LT2000)/Dxf] <2000(LT2000)>: ");
    Type("\n");
    EXPECT_EQ(CommandLine(), "保存するﾌｧｲﾙ名を入力 <A.dwg>: ");
    Type("E:\\out\\A\n");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    const auto saved = DrawingAt("E:\\out\\A.dwg");
    EXPECT_EQ(saved.format, "DWG2000");
    EXPECT_EQ(saved.source, "D:\\in\\A.dwg");
    // The saved file is the current drawing now.
    EXPECT_EQ(MainTitle(), "AutoCAD LT 2000 - [A.dwg]");
    EXPECT_EQ(standin->Model().DrawingPath(), "E:\\out\\A.dwg");
}

TEST_F(StandinSaveTest, DxfAsksForThePrecisionAndWritesOnlyTheTarget) {
    StartWithDrawing();
    const auto before = files.AllFiles();
    Type("saveas\ndxf\n");
    EXPECT_EQ(CommandLine(), "精度の小数点以下の桁数を入力 (0 から 16) <16>: ");
    Type("\nE:\\out\\A\n");
    auto expected = before;
    expected.push_back("E:\\out\\A.dxf");
    EXPECT_EQ(files.AllFiles(), expected);
    EXPECT_EQ(DrawingAt("E:\\out\\A.dxf").format, "DXF");
    EXPECT_EQ(DrawingAt("E:\\out\\A.dxf").source, "D:\\in\\A.dwg");
    EXPECT_EQ(files.ReadFile("D:\\in\\A.dwg"), std::string(standin::DrawingHeader) + "\r\n");
}

TEST_F(StandinSaveTest, ExtensionIsNotAddedTwiceAndVersionWordsChooseTheFormat) {
    StartWithDrawing();
    Type("saveas\n2004\nE:\\out\\B.DWG\n");
    EXPECT_EQ(DrawingAt("E:\\out\\B.DWG").format, "DWG2004");
    EXPECT_FALSE(files.FileExists("E:\\out\\B.DWG.dwg"));
    // A leading "_" asks for a command's or a keyword's English form.
    Type("._saveas\n_DXF\n\nE:\\out\\U\n");
    EXPECT_EQ(DrawingAt("E:\\out\\U.dxf").format, "DXF");
    Type("_saveas\n_2000\nE:\\out\\U\n_saveas\n_2000\nE:\\out\\U\n_y\n");
    EXPECT_EQ(DrawingAt("E:\\out\\U.dwg").format, "DWG2000");
    EXPECT_EQ(standin->Log("write").size(), 4u);  // the overwrite taken
    EXPECT_TRUE(standin->Log("kept").empty());
    Type("saveas\nr13\n");  // not a format it knows: asked again
    EXPECT_EQ(CommandLine(), "ﾌｧｲﾙ形式を入力 [R14(LT98&LT97)/2000(LT2000)/Dxf] <2000(LT2000)>: ");
    Type("dxf\n8\nE:\\out\\C.dxf\n");
    EXPECT_TRUE(files.FileExists("E:\\out\\C.dxf"));
}

TEST_F(StandinSaveTest, ExistingTargetAsksTheProductsOverwriteQuestion) {
    struct Case {
        const char* product;
        const char* question;
        const char* answer;
        bool overwrites;
    };
    for (const Case c : {Case{"/lt", "上書きしますか? <N> ", "y\n", true},
                         Case{"/full", "置き換えますか? <N> ", "Y\n", true},
                         Case{"/lt", "上書きしますか? <N> ", "n\n", false},
                         Case{"/full", "置き換えますか? <N> ", "\n", false}}) {
        SCOPED_TRACE(std::string(c.product) + " " + c.answer);
        files.AddFile("E:\\out\\A.dxf", "old");
        StartWithDrawing({c.product});
        Type("saveas\ndxf\n\nE:\\out\\A\n");
        EXPECT_EQ(CommandLine(), c.question);  // exactly, the blank after <N> included
        Type(c.answer);
        EXPECT_EQ(CommandLine(), standin->Model().Texts().commandPrompt);
        if (c.overwrites) {
            EXPECT_EQ(DrawingAt("E:\\out\\A.dxf").source, "D:\\in\\A.dwg");
            EXPECT_EQ(standin->Model().DrawingName(), "A.dxf");
        } else {
            EXPECT_EQ(files.ReadFile("E:\\out\\A.dxf"), "old");
            EXPECT_EQ(standin->Model().DrawingName(), "A.dwg");
        }
        windows.RemoveWindow(standin->MainWindow());
        windows.RemoveWindow(standin->TextWindow());
    }
}

TEST_F(StandinSaveTest, SaveIntoAMissingFolderFailsVisiblyAndKeepsTheDrawing) {
    StartWithDrawing();
    Type("saveas\n\nF:\\nowhere\\A\n");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_EQ(History(), "F:\\nowhere\\A.dwg に書き込めません。");
    EXPECT_EQ(standin->Model().DrawingPath(), "D:\\in\\A.dwg");
    EXPECT_EQ(standin->Log("write-failed").size(), 1u);
}

TEST_F(StandinSaveTest, SaveDelayWritesTheFileWhenItEnds) {
    StartWithDrawing({"/savedelay:300"});
    Type("saveas\n\nE:\\out\\A\n");
    EXPECT_EQ(CommandLine(), "");
    EXPECT_FALSE(files.FileExists("E:\\out\\A.dwg"));
    clock.Sleep(300);
    EXPECT_TRUE(files.FileExists("E:\\out\\A.dwg"));
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
}

TEST_F(StandinSaveTest, QuitWithAnUnchangedDrawingEndsAtOnceAndLeavesStaleHandles) {
    StartWithDrawing();
    const WindowHandle main = standin->MainWindow();
    const WindowHandle commandLine = standin->CommandLineWindow();
    Type("quit\n");
    EXPECT_TRUE(standin->Ended());
    EXPECT_TRUE(windows.TopWindows().empty());
    EXPECT_FALSE(windows.IsWindow(main));
    EXPECT_EQ(windows.GetTextLength(commandLine), 0);
    Type("FILEDIA\n");  // reaches nothing
    EXPECT_FALSE(windows.Messages().back().delivered);
}

TEST_F(StandinSaveTest, QuitAsksToSaveAChangedDrawing) {
    for (const char* product : {"/lt", "/full"}) {
        SCOPED_TRACE(product);
        StartWithDrawing({product});
        Type("line\n0,0\n10,0\n\n");
        EXPECT_TRUE(standin->Model().DrawingChanged());
        Type("quit\n");
        ASSERT_NE(Dialog(), 0u);
        EXPECT_EQ(DialogTitle(), std::string(product) == "/lt" ? "AutoCAD LT" : "AutoCAD");
        EXPECT_EQ(windows.GetParent(Dialog()), standin->MainWindow());
        EXPECT_EQ(DialogButtons(), (std::vector<std::string>{"はい(&Y)", "いいえ(&N)", "キャンセル"}));
        EXPECT_EQ(CommandLine(), "");

        ASSERT_TRUE(standin->PressButton("キャンセル"));
        EXPECT_FALSE(standin->Ended());
        EXPECT_EQ(CommandLine(), standin->Model().Texts().commandPrompt);

        Type("quit\n");
        const auto before = files.AllFiles();
        ASSERT_TRUE(standin->PressButton("いいえ(&N)"));
        EXPECT_TRUE(standin->Ended());
        EXPECT_EQ(files.AllFiles(), before);
        EXPECT_EQ(files.ReadFile("D:\\in\\A.dwg"), std::string(standin::DrawingHeader) + "\r\n");
        files.RemoveFile("D:\\in\\A.dwg");
    }
}

TEST_F(StandinSaveTest, YesSavesTheNamedDrawingBeforeQuitting) {
    StartWithDrawing();
    Type("line\n0,0\n10,0\n\nquit\n");
    ASSERT_TRUE(standin->PressButton("はい(&Y)"));
    EXPECT_TRUE(standin->Ended());
    EXPECT_EQ(DrawingAt("D:\\in\\A.dwg").format, "DWG2000");
}

TEST_F(StandinSaveTest, YesOnTheUnnamedDrawingKeepsItOpenRatherThanLoseIt) {
    Start({"/dirty"});
    Type("quit\n");
    ASSERT_TRUE(standin->PressButton("はい(&Y)"));
    EXPECT_FALSE(standin->Ended());
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_TRUE(standin->Model().DrawingChanged());
}

TEST_F(StandinSaveTest, LineWithOnePointChangesNothing) {
    StartWithDrawing();
    Type("line\n0,0\n\nquit\n");
    EXPECT_TRUE(standin->Ended());
}

}  // namespace
}  // namespace tovimo::testing
