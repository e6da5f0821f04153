// The drawing step against the stand-in AutoCAD: questions answered, failed
// opens, refused overwrites, the time limits and AutoCAD going away.
#include <gtest/gtest.h>

#include <algorithm>

#include "conversion_fixture.h"
#include "standin_drawing.h"

namespace tovimo::testing {
namespace {

class ConvertDrawings : public ConversionFixture {
protected:
    void SetUp() override {
        for (const char* name : {"A", "B", "C"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    }
    std::vector<std::string> Sources() const {
        return {"D:\\図面\\A.dwg", "D:\\図面\\B.dwg", "D:\\図面\\C.dwg"};
    }
    std::optional<standin::StandinDrawing> Result(const std::string& path) const {
        const auto content = files.ReadFile(path);
        if (!content) return std::nullopt;
        return standin::ParseDrawing(*content);
    }
    long Count(const std::string& text) const {
        const auto texts = TextsSinceRun();
        return std::count(texts.begin(), texts.end(), text);
    }
    // What the stand-in's log says of the drawings open, or the values set
    // to a system variable.
    static std::vector<std::string> Fields(const FakeStandin& standin, const char* kind,
                                           const char* name = nullptr) {
        std::vector<std::string> values;
        for (const auto& entry : standin.Log(kind)) {
            if (!name) values.push_back(entry.Field(0));
            else if (entry.Field(0) == name) values.push_back(entry.Field(1));
        }
        return values;
    }
};

TEST_F(ConvertDrawings, EveryDrawingIsSavedAsDxfBesideItsSource) {
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    for (const char* name : {"A", "B", "C"}) {
        SCOPED_TRACE(name);
        const auto result = Result(std::string("D:\\図面\\") + name + ".dxf");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->format, "DXF");
        EXPECT_EQ(result->source, std::string("D:\\図面\\") + name + ".dwg");
    }
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(LastMessage(), FinishedText);
    EXPECT_EQ(Standin().Model().SysVar("FILEDIA"), "1");  // the configured end value
}

// SDI 1 for the run: each drawing takes the place of the last one, and SDI
// is put back after the run; SDI 1 or 2 is left as it is; where AutoCAD
// refuses (several drawings open), the run goes on and says so.
TEST_F(ConvertDrawings, OneDrawingAtATimeDuringTheRunAndSdiPutBackAfterIt) {
    settings.SingleDocument = 1;
    settings.AcadClose = true;
    std::vector<std::string> sources;
    for (int i = 0; i < 50; ++i) {
        sources.push_back("D:\\図面\\" + std::to_string(i) + ".dwg");
        AddDrawing(sources.back());
    }
    ASSERT_EQ(Run(sources), ConvertCarriedOut);
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(Fields(Standin(), "documents"), std::vector<std::string>(50, "1"));
    EXPECT_EQ(Fields(Standin(), "sysvar", "SDI"), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(Standin().Model().SysVar("SDI"), "0");
    EXPECT_EQ(view.singleDocumentRefusals, 0);

    for (const char* start : {"/sdi:1", "/sdi:2"}) {
        SCOPED_TRACE(start);
        settings.AcadArg = start;
        ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
        EXPECT_EQ(Count("SDI\n"), 1);  // read, not set
        EXPECT_TRUE(Fields(Standin(), "sysvar", "SDI").empty());
        EXPECT_EQ(Fields(Standin(), "documents"), std::vector<std::string>(3, "1"));
    }

    // An AutoCAD left open by a run without it holds three drawings.
    settings.AcadArg.clear();
    settings.AcadClose = false;
    settings.SingleDocument = 0;
    Run({"D:\\図面\\A.dwg", "D:\\図面\\B.dwg"});
    EXPECT_EQ(Count("SDI\n"), 0);
    settings.SingleDocument = 1;
    ASSERT_EQ(Run({"D:\\図面\\C.dwg"}), ConvertCarriedOut);
    EXPECT_EQ(view.singleDocumentRefusals, 1);
    EXPECT_TRUE(Result("D:\\図面\\C.dxf"));
    EXPECT_EQ(Standin().Model().OpenDocuments(), 4);
    EXPECT_EQ(Standin().Model().SysVar("SDI"), "0");
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(ConvertDrawings, ARefusedOverwriteSkipsTheDrawingOnceAndSavesTmpDwg) {
    AddDrawing("D:\\図面\\B.dxf");
    const std::string before = *files.ReadFile("D:\\図面\\B.dxf");
    settings.Rewite = false;
    settings.SaveTmpdwg = false;
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_EQ(*files.ReadFile("D:\\図面\\B.dxf"), before);
    EXPECT_EQ(Count("n\n"), 1);
    EXPECT_EQ(Count("C:\\Tovimo\\tmp.dwg\n"), 1);  // only for the refusal
    EXPECT_TRUE(files.FileExists("C:\\Tovimo\\tmp.dwg"));
    ASSERT_EQ(SkippedNames(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::ResultExists);
    ASSERT_EQ(view.skippedShown.size(), 1u);
    EXPECT_EQ(view.skippedShown[0].size(), 1u);
    EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_TRUE(Result("D:\\図面\\C.dxf"));
}

TEST_F(ConvertDrawings, AnAllowedOverwriteIsAnsweredYesInBothForms) {
    for (const char* product : {"/lt", "/full /fullwidth"}) {
        SCOPED_TRACE(product);
        files.AddFile("D:\\図面\\A.dxf", "old");
        converter->CloseAcad();
        converter->AcadArgs.clear();
        settings.AcadArg = product;
        settings.Rewite = true;
        Run({"D:\\図面\\A.dwg"});
        EXPECT_EQ(Count("y\n"), 1);
        EXPECT_EQ(Result("D:\\図面\\A.dxf")->format, "DXF");
        EXPECT_TRUE(converter->LastSkipped().empty());
    }
}

TEST_F(ConvertDrawings, AFailedOpenIsConfirmedEscapedAndSkipped) {
    AddDrawing("D:\\図面\\B.dwg", "FAIL");
    settings.Rewite = true;  // the second round meets the first round's results
    for (const char* product : {"/lt", "/full"}) {
        SCOPED_TRACE(product);
        converter->CloseAcad();
        settings.AcadArg = product;
        Run(Sources());
        const auto typed = TypedSinceRun();
        const auto open = std::find_if(typed.begin(), typed.end(),
                                       [](const auto& t) { return t.text == "D:\\図面\\B.dwg\n"; });
        ASSERT_NE(open, typed.end());
        // Escape, then at once the next drawing: no prompt wait, no command wait.
        ASSERT_GE(typed.end() - open, 3);
        EXPECT_EQ((open + 1)->text, "\x1b");
        EXPECT_EQ((open + 2)->text, "open\n");
        EXPECT_EQ((open + 2)->timeMs - (open + 1)->timeMs, 60);
        ASSERT_EQ(SkippedNames(), std::vector<std::string>{"B.dwg"});
        EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::OpenFailed);
        EXPECT_FALSE(Result("D:\\図面\\B.dxf"));
        EXPECT_TRUE(Result("D:\\図面\\C.dxf"));
    }
}

TEST_F(ConvertDrawings, AContinuePromptCountsAsAFailedOpen) {
    AddDrawing("D:\\図面\\A.dwg", "CONTINUE");
    Run(Sources());
    EXPECT_EQ(SkippedNames(), std::vector<std::string>{"A.dwg"});
    EXPECT_TRUE(Result("D:\\図面\\B.dxf"));
}

TEST_F(ConvertDrawings, AShapePromptIsAnsweredAndTheDrawingConverted) {
    AddDrawing("D:\\図面\\A.dwg", "SHAPE");
    for (const char* form : {"/halfwidth", "/fullwidth"}) {
        SCOPED_TRACE(form);
        converter->CloseAcad();
        settings.AcadArg = form;
        files.RemoveFile("D:\\図面\\A.dxf");
        Run({"D:\\図面\\A.dwg"});
        EXPECT_TRUE(converter->LastSkipped().empty());
        EXPECT_TRUE(Result("D:\\図面\\A.dxf"));
        const auto prompts = Standin().Prompts();
        EXPECT_TRUE(std::any_of(prompts.begin(), prompts.end(), [](const std::string& p) {
            return p.find("ｼｪｲﾌﾟ") != std::string::npos || p.find("シェイプ") != std::string::npos;
        }));
    }
}

TEST_F(ConvertDrawings, TheVerticalTextQuestionIsTypedIntoWithoutAPromptWait) {
    AddDrawing("D:\\図面\\A.dwg", "TATEGAKI");
    converter->MacroLines = {"open", "#FILE", "-style", "", "romans.shx", "0", "1", "0", "N", "N", "N"};
    settings.CommandWait = 100;
    Run({"D:\\図面\\A.dwg"});
    const auto typed = TypedSinceRun();
    const auto prompts = Standin().Prompts();
    ASSERT_TRUE(std::find(prompts.begin(), prompts.end(), "縦書き? <N> ") != prompts.end());
    // The answer to the question follows the line before it after 60 + W only.
    ASSERT_GE(typed.size(), 7u);
    const auto last = std::find_if(typed.rbegin(), typed.rend(), [](const auto& t) { return t.text == "N\n"; });
    EXPECT_EQ(last->timeMs - std::prev(last.base(), 2)->timeMs, 60 + 100);
    EXPECT_TRUE(Standin().Model().Running());
    EXPECT_TRUE(converter->LastSkipped().empty());
}

TEST_F(ConvertDrawings, TheOverwriteQuestionIsAnsweredOnlyWhenItMatchesExactly) {
    LinkTestWindows("ｺﾏﾝﾄﾞ: ");
    converter->MacroLines = {"#SAVEFILE"};
    settings.Rewite = true;
    for (const char* question : {"上書きしますか? <N>", "上書きしますか? <N>  ", " 置き換えますか? <N> ",
                                 "上書きしますか? <Y> ", "上書きしますか? <N> ", "置き換えますか? <N> "}) {
        SCOPED_TRACE(question);
        // After the target is typed, the question shows; once answered, the command prompt.
        pump.onRun = [&, question](int) {
            const auto typed = windows.CopyDataTexts();
            const bool target = !typed.empty() && typed.back().text == "D:\\図面\\A\n";
            windows.SetText(converter->CommandLineWindow, target ? question : "ｺﾏﾝﾄﾞ: ");
        };
        windows.ClearMessages();
        Run({"D:\\図面\\A.dwg"});
        const bool exact = std::string(question) == "上書きしますか? <N> " ||
                           std::string(question) == "置き換えますか? <N> ";
        EXPECT_EQ(Count("y\n"), exact ? 1 : 0);
    }
}

TEST_F(ConvertDrawings, AnOpenThatNeverEndsIsCutAtTheLimit) {
    settings.WaitLimit = 30;
    converter->AcadArgs.clear();
    settings.AcadArg = "/opendelay:3600000";
    Run({"D:\\図面\\A.dwg"});
    ASSERT_EQ(converter->LastSkipped().size(), 1u);
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::TimeLimit);
    EXPECT_EQ(Count("\x1b"), 1);
    EXPECT_GE(clock.NowMs() - runStart, 30000);
    EXPECT_LT(clock.NowMs() - runStart, 120000);  // the restore still has its own waits
}

class ConvertLimits : public ConversionFixture {
protected:
    ConvertLimits() {
        LinkTestWindows("ｺﾏﾝﾄﾞ: ");
        settings.WaitLimit = 10;
        settings.CommandWait = 0;
    }
    // The command line shows what answer() gives for the last text typed.
    void Answer(std::function<std::string(const std::string&)> answer) {
        pump.onRun = [this, answer](int) {
            const auto typed = windows.CopyDataTexts();
            windows.SetText(converter->CommandLineWindow, answer(typed.empty() ? "" : typed.back().text));
        };
    }
    long Count(const std::string& text) const {
        const auto texts = TextsSinceRun();
        return std::count(texts.begin(), texts.end(), text);
    }
};

TEST_F(ConvertLimits, NoFirstCommandPromptEndsTheRunWithEveryDrawingListed) {
    windows.SetText(converter->CommandLineWindow, "ようこそ");
    ASSERT_EQ(Run({"D:\\a.dwg", "D:\\b.dwg"}), ConvertCarriedOut);
    EXPECT_EQ(TextsSinceRun(), std::vector<std::string>{"\x1b"});
    EXPECT_EQ(converter->LastSkipped().size(), 2u);
    EXPECT_EQ(converter->LastSkipped()[1].reason, SkipReason::TimeLimit);
    EXPECT_EQ(LastMessage(), CanceledText);
    EXPECT_GE(clock.NowMs() - runStart, 10000);
}

TEST_F(ConvertLimits, APromptThatNeverComesSkipsTheDrawingAndTheRunGoesOn) {
    converter->MacroLines = {"audit", "#FILE"};
    Answer([](const std::string& last) { return last == "audit\n" ? "監査中..." : "ｺﾏﾝﾄﾞ: "; });
    ASSERT_EQ(Run({"D:\\a.dwg", "D:\\b.dwg"}), ConvertCarriedOut);
    EXPECT_EQ(Count("audit\n"), 2);
    EXPECT_EQ(Count("D:\\a.dwg\n"), 0);  // nothing more for a drawing once its wait ran out
    EXPECT_EQ(Count("\x1b"), 2);
    ASSERT_EQ(converter->LastSkipped().size(), 2u);
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::TimeLimit);
    EXPECT_EQ(TextsSinceRun().back(), "1\n");  // the restore ran
}

TEST_F(ConvertLimits, ATmpDwgSaveThatNeverEndsSkipsTheDrawing) {
    converter->MacroLines = {"qsave"};
    settings.SaveTmpdwg = true;
    Answer([](const std::string& last) { return last == "C:\\Tovimo\\tmp.dwg\n" ? "保存中" : "ｺﾏﾝﾄﾞ: "; });
    Run({"D:\\a.dwg"});
    EXPECT_EQ(Count("qsave\n"), 0);
    ASSERT_EQ(converter->LastSkipped().size(), 1u);
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::TimeLimit);
    EXPECT_EQ(Count("\x1b"), 2);  // the drawing's save and the closing save
}

TEST_F(ConvertLimits, AutoCadGoneEndsTheRunAtOnceAndListsTheRest) {
    settings.RestartLimit = 0;  // the run ends at the first loss
    converter->MacroLines = {"open", "#FILE"};
    Answer([this](const std::string& last) {
        if (last == "D:\\b.dwg\n") windows.RemoveWindow(converter->MainWindow);  // the user closed it
        return "ｺﾏﾝﾄﾞ: ";
    });
    ASSERT_EQ(Run({"D:\\a.dwg", "D:\\b.dwg", "D:\\c.dwg"}), ConvertCarriedOut);
    const auto texts = TextsSinceRun();
    EXPECT_EQ(texts.back(), "D:\\b.dwg\n");  // no restore, no close
    ASSERT_EQ(converter->LastSkipped().size(), 2u);
    EXPECT_EQ(converter->LastSkipped()[0].path, "D:\\b.dwg");
    EXPECT_EQ(converter->LastSkipped()[1].path, "D:\\c.dwg");
    EXPECT_EQ(converter->LastSkipped()[1].reason, SkipReason::AcadGone);
    EXPECT_TRUE(converter->LastRunLostAcad());
    EXPECT_EQ(converter->MainWindow, 0u);
    EXPECT_EQ(LastMessage(), CanceledText);
    EXPECT_EQ(view.skippedShown.size(), 1u);
}

TEST_F(ConvertDrawings, ADrawingRefusedForOverwriteBeforeAutoCadGoesIsListedOnceWithThatReason) {
    settings.RestartLimit = 0;  // the run ends at the first loss
    AddDrawing("D:\\図面\\B.dxf");
    settings.Rewite = false;
    pump.onRun = [this](int) {
        const auto typed = windows.CopyDataTexts();
        if (!typed.empty() && typed.back().text == "n\n") windows.RemoveWindow(converter->MainWindow);
    };
    Run(Sources());
    ASSERT_EQ(SkippedNames(), (std::vector<std::string>{"B.dwg", "C.dwg"}));
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::ResultExists);
    EXPECT_EQ(converter->LastSkipped()[1].reason, SkipReason::AcadGone);
    EXPECT_TRUE(converter->LastRunLostAcad());
    ASSERT_EQ(view.skippedShown.size(), 1u);
    EXPECT_EQ(view.skippedShown[0].size(), 2u);
    EXPECT_TRUE(Result("D:\\図面\\A.dxf"));
}

TEST_F(ConvertDrawings, AStandInThatQuitsMidRunEndsTheRun) {
    settings.RestartLimit = 0;  // the run ends at the first loss
    converter->MacroLines = {"open", "#FILE", "saveas", "DXF", "#ENTER", "#SAVEFILE"};
    pump.onRun = [this](int) {
        const auto typed = windows.CopyDataTexts();
        if (!typed.empty() && typed.back().text == "D:\\図面\\B.dwg\n") Standin().Model().OnCloseRequested();
    };
    Run(Sources());
    EXPECT_TRUE(Standin().Ended());
    EXPECT_EQ(SkippedNames(), (std::vector<std::string>{"B.dwg", "C.dwg"}));
    EXPECT_TRUE(Result("D:\\図面\\A.dxf"));
}

}  // namespace
}  // namespace tovimo::testing
