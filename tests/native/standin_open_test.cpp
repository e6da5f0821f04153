// open: the file-name prompt, the file dialog, and the ways an open fails or
// asks a question, as the drawing's markers choose.
#include <gtest/gtest.h>

#include "standin_fixture.h"

namespace tovimo::testing {
namespace {

class StandinOpenTest : public StandinTest {
protected:
    // FILEDIA 0, then open up to the file-name prompt.
    void OpenPrompt() {
        Type("FILEDIA\n0\nopen\n");
        ASSERT_EQ(CommandLine(), half ? "開く図面ﾌｧｲﾙ名を入力: " : "開く図面ファイル名を入力: ");
    }
    bool half = true;
};

TEST_F(StandinOpenTest, ExistingDrawingBecomesCurrent) {
    AddDrawing("D:\\図面\\ソ.dwg");
    Start();
    OpenPrompt();
    Type("D:\\図面\\ソ.dwg\n");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_EQ(MainTitle(), "AutoCAD LT 2000 - [ソ.dwg]");
    EXPECT_EQ(windows.TextOf(standin->TextWindow()), "AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - ソ.dwg");
    EXPECT_EQ(standin->Log("read").back().Field(0), "D:\\図面\\ソ.dwg");
}

// SDI 0 opens each drawing beside those open, SDI 1 in place of the current
// one; SDI 1 is refused while more than one is open, and 2 and 3 are
// AutoCAD's own.
TEST_F(StandinOpenTest, DocumentsAreCountedAndSdiDecidesWhetherAnOpenAddsOne) {
    AddDrawing("D:\\A.dwg");
    AddDrawing("D:\\B.dwg", "FAIL");
    Start();
    OpenPrompt();
    Type("D:\\A.dwg\nopen\nD:\\A.dwg\nopen\nD:\\B.dwg\n");  // a failed open adds none
    standin->PressButton("OK");
    EXPECT_EQ(standin->Model().OpenDocuments(), 3);
    Type("SDI\n1\n");
    EXPECT_EQ(History(), "複数の図面が開いているため、SDI を 1 にできません。");
    EXPECT_EQ(standin->Model().SysVar("SDI"), "0");
    ASSERT_EQ(standin->Log("documents").size(), 2u);
    EXPECT_EQ(standin->Log("documents")[1].Field(0), "3");

    Start({"/sdi:2"});
    OpenPrompt();
    Type("D:\\A.dwg\nopen\nD:\\A.dwg\nSDI\n0\n");
    EXPECT_EQ(standin->Model().OpenDocuments(), 1);
    EXPECT_EQ(standin->Model().SysVar("SDI"), "2");
}

TEST_F(StandinOpenTest, QuotedFileNameIsTakenWithoutItsQuotes) {
    AddDrawing("D:\\My Drawings\\A.dwg");
    Start();
    OpenPrompt();
    Type("\"D:\\My Drawings\\A.dwg\"\n");
    EXPECT_EQ(standin->Model().DrawingPath(), "D:\\My Drawings\\A.dwg");
}

TEST_F(StandinOpenTest, FailedOpenShowsAMessageBoxThatHoldsBackTheCommandPrompt) {
    struct Case {
        const char* product;
        const char* title;
        bool missing;
    };
    for (const Case c : {Case{"/lt", "AutoCAD LT ﾒｯｾｰｼﾞ", false}, Case{"/full", "AutoCAD メッセージ", false},
                         Case{"/lt", "AutoCAD LT ﾒｯｾｰｼﾞ", true}}) {
        SCOPED_TRACE(std::string(c.title) + (c.missing ? " missing" : " FAIL"));
        if (!c.missing) AddDrawing("D:\\bad.dwg", "FAIL\r\n");
        Start({c.product});
        OpenPrompt();
        Type(c.missing ? "D:\\none.dwg\n" : "D:\\bad.dwg\n");
        ASSERT_NE(Dialog(), 0u);
        EXPECT_EQ(DialogTitle(), c.title);
        EXPECT_EQ(windows.GetParent(Dialog()), standin->MainWindow());
        EXPECT_EQ(DialogButtons(), (std::vector<std::string>{"OK"}));
        EXPECT_EQ(CommandLine(), "");
        EXPECT_EQ(MainTitle(), standin->Model().Texts().MainTitle("Drawing1.dwg"));

        ASSERT_TRUE(standin->PressButton("OK"));
        EXPECT_EQ(Dialog(), 0u);
        EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
        EXPECT_EQ(standin->Model().DrawingName(), "Drawing1.dwg");
        windows.RemoveWindow(standin->MainWindow());
        windows.RemoveWindow(standin->TextWindow());
    }
}

TEST_F(StandinOpenTest, MissingShapeFileIsAskedForInEitherFormAndTheOpenGoesOn) {
    for (const bool fullWidth : {false, true}) {
        SCOPED_TRACE(fullWidth ? "full-width" : "half-width");
        half = !fullWidth;
        AddDrawing("D:\\shape.dwg", "SHAPE\r\n");
        Start({fullWidth ? "/fullwidth" : "/halfwidth"});
        OpenPrompt();
        Type("D:\\shape.dwg\n");
        EXPECT_TRUE(ContainsText(CommandLine(), fullWidth ? "シェイプ" : "ｼｪｲﾌﾟ"));
        EXPECT_TRUE(ContainsText(CommandLine(), ":"));
        EXPECT_EQ(standin->Model().DrawingName(), "Drawing1.dwg");
        Type("\n");
        EXPECT_EQ(CommandLine(), fullWidth ? "コマンド: " : "ｺﾏﾝﾄﾞ: ");
        EXPECT_EQ(standin->Model().DrawingName(), "shape.dwg");
        windows.RemoveWindow(standin->MainWindow());
        windows.RemoveWindow(standin->TextWindow());
    }
}

TEST_F(StandinOpenTest, ContinueQuestionEndsTheOpenWithoutTheDrawing) {
    AddDrawing("D:\\damaged.dwg", "SHAPE\r\nCONTINUE\r\n");
    Start();
    OpenPrompt();
    Type("D:\\damaged.dwg\n");
    EXPECT_TRUE(ContainsText(CommandLine(), "ｼｪｲﾌﾟ"));  // the shape question comes first
    Type("\n");
    EXPECT_TRUE(ContainsText(CommandLine(), "続行するには"));
    EXPECT_TRUE(ContainsText(CommandLine(), ":"));
    Type("\n");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_EQ(standin->Model().DrawingName(), "Drawing1.dwg");
    EXPECT_EQ(MainTitle(), "AutoCAD LT 2000 - [Drawing1.dwg]");
}

TEST_F(StandinOpenTest, WithFiledia1AFileDialogShowsAndTypedNamesGoNowhere) {
    AddDrawing("D:\\A.dwg");
    Start();
    Type("open\nD:\\A.dwg\n");
    ASSERT_NE(Dialog(), 0u);
    EXPECT_EQ(DialogTitle(), "図面ﾌｧｲﾙを選択");
    EXPECT_EQ(windows.GetParent(Dialog()), standin->MainWindow());
    EXPECT_EQ(CommandLine(), "");
    Type("D:\\A.dwg\n");
    EXPECT_EQ(standin->Model().DrawingName(), "Drawing1.dwg");
    ASSERT_TRUE(standin->PressButton("キャンセル"));
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_EQ(standin->Model().DrawingName(), "Drawing1.dwg");
}

TEST_F(StandinOpenTest, OpenDelayKeepsTheCommandLineEmptyUntilTheDrawingIsRead) {
    AddDrawing("D:\\A.dwg");
    Start({"/opendelay:700"});
    OpenPrompt();
    Type("D:\\A.dwg\n");
    EXPECT_EQ(CommandLine(), "");
    clock.Sleep(699);
    EXPECT_TRUE(standin->Log("read").empty());
    clock.Sleep(1);
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ");
    EXPECT_EQ(standin->Log("read").at(0).ms, 700);
}

TEST_F(StandinOpenTest, VerticalFontEndsStyleWithTheTategakiQuestion) {
    const std::vector<std::string> common = {
        "文字ｽﾀｲﾙ名を入力 または [?] <Standard>: ", "ﾌｫﾝﾄ名またはﾌｫﾝﾄ ﾌｧｲﾙ名を指定 <txt>: ",
        "文字の高さを指定 <0.0000>: ",               "幅係数を指定 <1.0000>: ",
        "傾斜角度を指定 <0>: ",                      "逆さ文字? <N>: ",
        "上下反転文字? <N>: "};
    for (const bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "TATEGAKI" : "plain");
        AddDrawing("D:\\T.dwg", vertical ? "TATEGAKI\r\n" : "");
        Start();
        OpenPrompt();
        Type("D:\\T.dwg\n");
        std::vector<std::string> shown;
        Type("-style\n");
        while (CommandLine() != "ｺﾏﾝﾄﾞ: " && shown.size() < 20) {
            shown.push_back(CommandLine());
            Type("\n");
        }
        std::vector<std::string> expected = common;
        if (vertical) expected.push_back("縦書き? <N> ");
        EXPECT_EQ(shown, expected);
        EXPECT_TRUE(standin->Model().DrawingChanged());
        windows.RemoveWindow(standin->MainWindow());
        windows.RemoveWindow(standin->TextWindow());
    }
}

}  // namespace
}  // namespace tovimo::testing
